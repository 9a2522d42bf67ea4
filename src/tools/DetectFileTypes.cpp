// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DetectFileTypes.h"

#include "support/modUtilities.h"
#include "tools/RecordWalk.h"

ToolResult DetectFileTypes(Catalogue& catalogue, ToolHost& host) {
    host.SetStatus("Please wait.  Detecting file types....");
    clsFileType& types = catalogue.FileTypes;
    ToolResult result = WalkRecords(catalogue, host, [&](const FileRecord& record) -> RecordWrites {
        std::string extension = GetExtension(record.FileName);
        if (extension.starts_with('.')) extension.erase(0, 1);
        if (!types.GotoExtension(extension) || types.FileTypeID() == record.TypeID) return {};
        return [&store = catalogue.Store, type = types.FileTypeID(), id = record.FileID] {
            return store.Execute("UPDATE tblFile SET Type=?1 WHERE FileID=?2", {type, id});
        };
    });
    host.SetStatus("");
    return result;
}
