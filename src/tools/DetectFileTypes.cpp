// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DetectFileTypes.h"

#include "support/modUtilities.h"
#include "tools/Batch.h"

ToolResult DetectFileTypes(Catalogue& catalogue, ToolHost& host) {
    host.SetStatus("Please wait.  Detecting file types....");
    ToolResult result;
    clsFile& files = catalogue.Files;
    clsFileType& types = catalogue.FileTypes;
    Batch batch(catalogue.Store, kScatteredUnits);
    std::int64_t done = 0;
    for (bool more = files.MoveFirst(); more && result.Error.empty(); more = files.MoveNext()) {
        if (!host.Progress(done++, files.Count(), files.FileName())) {
            result.Cancelled = true;
            break;
        }
        std::string extension = GetExtension(files.FileName());
        if (extension.starts_with('.')) extension.erase(0, 1);
        if (!types.GotoExtension(extension) || types.FileTypeID() == files.TypeID()) continue;
        result.Error = batch.Begin();
        if (result.Error.empty())
            result.Error = catalogue.Store.Execute("UPDATE tblFile SET Type=?1 WHERE FileID=?2", {types.FileTypeID(), files.FileID()});
        if (result.Error.empty()) result.Error = batch.UnitDone();
    }
    if (std::string error = batch.Finish(); result.Error.empty()) result.Error = error;
    result.Changed = batch.Committed();
    host.SetStatus("");
    return result;
}
