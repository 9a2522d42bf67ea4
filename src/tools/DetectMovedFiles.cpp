// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DetectMovedFiles.h"

#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "tools/DirectoryScan.h"
#include "tools/RecordWalk.h"
#include "tools/ToolLog.h"

ToolResult DetectMovedFiles(Catalogue& catalogue, const std::string& folder, ToolHost& host) {
    ToolLog log("move.log", true);
    log.Write("Reelvault");
    log.Write("The following files have been detected as being moved");
    ToolResult result;
    if (!folder.empty()) {
        const std::string target = folder.ends_with('/') ? folder : folder + "/";
        result = WalkRecords(catalogue, host, [&](const FileRecord& record) -> RecordWrites {
            const std::string newPath = target + GetFileName(record.FileName);
            if (newPath == record.FileName || !IsExistingFile(newPath)) return {};
            return [&, newPath, moved = record] () mutable {
                const std::string oldPath = moved.FileName;
                moved.FileName = newPath;
                std::string error = UpdateFile(catalogue, moved);
                if (error.empty()) log.Write(oldPath + " MOVED TO " + newPath);
                return error;
            };
        });
    }
    if (result.Error.empty()) result.Error = log.Error();
    result.LogPath = log.Path();
    host.ShowLog(log.Path());
    return result;
}
