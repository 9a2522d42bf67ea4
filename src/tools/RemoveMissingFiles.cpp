// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RemoveMissingFiles.h"

#include <unordered_map>

#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "tools/Batch.h"
#include "tools/DirectoryScan.h"
#include "tools/ToolLog.h"

namespace {

// Records share folders by the thousand; each folder is asked once.
class FolderReach {
public:
    bool Readable(const std::string& folder) {
        const auto known = readable_.find(folder);
        if (known != readable_.end()) return known->second;
        return readable_[folder] = IsReadableFolder(folder);
    }

private:
    std::unordered_map<std::string, bool> readable_;
};

}  // namespace

ToolResult RemoveMissingFiles(Catalogue& catalogue, ToolHost& host) {
    ToolLog log("delete.log", false);
    ToolResult result;
    clsFile& files = catalogue.Files;
    Batch batch(catalogue.Store);
    FolderReach reach;
    std::int64_t done = 0;
    for (bool more = files.MoveFirst(); more && result.Error.empty(); more = files.MoveNext()) {
        if (!host.Progress(done++, files.Count(), files.FileName())) {
            result.Cancelled = true;
            break;
        }
        const std::string& path = files.FileName();
        if (IsExistingFile(path)) continue;
        const std::string folder = GetDirectory(path);
        if (folder == path || !reach.Readable(folder)) {
            ++result.Skipped;
            log.Write("Skipped unreachable file " + path);
            continue;
        }
        result.Error = batch.Begin();
        if (result.Error.empty()) result.Error = DeleteFile(catalogue, files.FileID());
        if (!result.Error.empty()) break;
        log.Write("Deleted missing file " + path);
        result.Error = batch.UnitDone();
    }
    if (std::string error = batch.Finish(); result.Error.empty()) result.Error = error;
    result.Changed = batch.Committed();
    if (result.Error.empty()) result.Error = log.Error();
    result.LogPath = log.Path();
    host.ShowLog(log.Path());
    return result;
}
