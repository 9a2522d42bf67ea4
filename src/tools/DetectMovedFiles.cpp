// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DetectMovedFiles.h"

#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "tools/Batch.h"
#include "tools/DirectoryScan.h"
#include "tools/ToolLog.h"

ToolResult DetectMovedFiles(Catalogue& catalogue, const std::string& folder, ToolHost& host) {
    ToolLog log("move.log", true);
    log.Write("Reelvault");
    log.Write("The following files have been detected as being moved");
    ToolResult result;
    clsFile& files = catalogue.Files;
    if (!folder.empty() && files.MoveFirst()) {
        const std::string target = folder.ends_with('/') ? folder : folder + "/";
        Batch batch(catalogue.Store, kScatteredUnits);
        std::int64_t done = 0;
        do {
            if (!host.Progress(done++, files.Count(), files.FileName())) result.Cancelled = true;
            if (result.Cancelled) break;
            const std::string newPath = target + GetFileName(files.FileName());
            if (newPath == files.FileName() || !IsExistingFile(newPath)) continue;
            FileRecord moved = *files.Current();
            moved.FileName = newPath;
            result.Error = batch.Begin();
            if (result.Error.empty()) result.Error = UpdateFile(catalogue, moved);
            if (!result.Error.empty()) break;
            log.Write(files.FileName() + " MOVED TO " + newPath);
            result.Error = batch.UnitDone();
        } while (result.Error.empty() && files.MoveNext());
        if (std::string error = batch.Finish(); result.Error.empty()) result.Error = error;
        result.Changed = batch.Committed();
    }
    if (result.Error.empty()) result.Error = log.Error();
    result.LogPath = log.Path();
    host.ShowLog(log.Path());
    return result;
}
