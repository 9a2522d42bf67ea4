// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RemoveMissingFiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "analysis/cFile.h"
#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "tools/Batch.h"
#include "tools/ToolLog.h"

namespace {

enum class Presence { Present, Missing, Unreachable };

// Asks each file's folder whether the file is in it. Records come in path order, so one open folder
// serves all its files in a row, and each name is looked up without walking the whole path again.
class FolderCheck {
public:
    Presence Of(const std::string& path) {
        const std::string folder = GetDirectory(path);
        if (folder == path) return Presence::Unreachable;  // no folder at all
        if (folder != folder_) {
            folder_ = folder;
            folderFile_.OpenFile(folder, O_RDONLY | O_DIRECTORY);  // fails unless the folder can be read
        }
        if (folderFile_.FileHandle() < 0) return Presence::Unreachable;
        struct stat info {};
        if (fstatat(folderFile_.FileHandle(), GetFileName(path).c_str(), &info, 0) == 0)
            return S_ISREG(info.st_mode) ? Presence::Present : Presence::Missing;
        return errno == ENOENT ? Presence::Missing : Presence::Unreachable;
    }

private:
    std::string folder_;
    cFile folderFile_;
};

}  // namespace

ToolResult RemoveMissingFiles(Catalogue& catalogue, ToolHost& host) {
    ToolLog log("delete.log", false);
    ToolResult result;
    clsFile& files = catalogue.Files;
    Batch batch(catalogue.Store, kScatteredUnits);
    FolderCheck check;
    std::int64_t done = 0;
    for (bool more = files.MoveFirst(); more && result.Error.empty(); more = files.MoveNext()) {
        if (!host.Progress(done++, files.Count(), files.FileName())) {
            result.Cancelled = true;
            break;
        }
        const std::string& path = files.FileName();
        const Presence presence = check.Of(path);
        if (presence == Presence::Present) continue;
        if (presence == Presence::Unreachable) {
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
