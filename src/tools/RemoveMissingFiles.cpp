// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RemoveMissingFiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "analysis/cFile.h"
#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "tools/RecordWalk.h"
#include "tools/ToolLog.h"

namespace {

enum class Presence { Present, Missing, Unreachable, DriveAway };

// Asks each file's folder whether the file is in it. Records come in path order, so one open folder
// serves all its files in a row, and each name is looked up without walking the whole path again.
class FolderCheck {
public:
    explicit FolderCheck(const DriveSet& drives) : drives_(drives) {}

    Presence Of(const FileRecord& record) {
        const Drive* drive = drives_.ByID(record.DriveID);
        // Of two devices that claim one drive, which holds the record's file is not known.
        if (drive ? drive->Cloned || !drive->Holds(record.FileName) : drives_.Mounted().InDrivePlaceLeftEmpty(record.FileName))
            return Presence::DriveAway;
        const std::string& path = record.FileName;
        const std::string folder = GetDirectory(path);
        if (folder == path) return Presence::Unreachable;  // no folder at all
        if (folder != folder_) {
            folder_ = folder;
            folderFile_.OpenFile(folder, O_RDONLY | O_DIRECTORY);  // fails unless the folder can be read
        }
        if (folderFile_.FileHandle() < 0) return Presence::Unreachable;
        if (drive && !StillOn(*drive)) return Presence::DriveAway;
        struct stat info {};
        if (fstatat(folderFile_.FileHandle(), GetFileName(path).c_str(), &info, 0) == 0)
            return S_ISREG(info.st_mode) ? Presence::Present : Presence::Missing;
        return errno == ENOENT ? Presence::Missing : Presence::Unreachable;
    }

private:
    // A drive unplugged while the run goes on leaves its mount point an empty folder of the disk
    // beneath, which the folder just opened would then be.
    bool StillOn(const Drive& drive) const {
        struct stat info {};
        return drive.Device == 0 || (fstat(folderFile_.FileHandle(), &info) == 0 && info.st_dev == drive.Device);
    }

    const DriveSet& drives_;
    std::string folder_;
    cFile folderFile_;
};

}  // namespace

ToolResult CountMissingFiles(Catalogue& catalogue, ToolHost& host) {
    FolderCheck check(catalogue.Drives);
    int missing = 0;
    int unreachable = 0;
    int away = 0;
    ToolResult result = WalkRecords(catalogue, host, [&](const FileRecord& record) -> RecordWrites {
        const Presence presence = check.Of(record);
        missing += presence == Presence::Missing;
        unreachable += presence == Presence::Unreachable;
        away += presence == Presence::DriveAway;
        return {};
    });
    result.Changed = missing;
    result.Skipped = unreachable;
    result.DriveAway = away;
    return result;
}

ToolResult RemoveMissingFiles(Catalogue& catalogue, ToolHost& host) {
    ToolLog log("delete.log", false);
    FolderCheck check(catalogue.Drives);
    int unreachable = 0;
    int away = 0;
    ToolResult result = WalkRecords(catalogue, host, [&](const FileRecord& record) -> RecordWrites {
        const Presence presence = check.Of(record);
        if (presence == Presence::Present) return {};
        if (presence == Presence::Unreachable) {
            ++unreachable;
            log.Write("Skipped unreachable file " + record.FileName);
            return {};
        }
        if (presence == Presence::DriveAway) {
            ++away;
            log.Write("Kept file on a drive that is not plugged in " + record.FileName);
            return {};
        }
        return [&, path = record.FileName, id = record.FileID] {
            std::string error = DeleteFile(catalogue, id);
            if (error.empty()) log.Write("Deleted missing file " + path);
            return error;
        };
    });
    result.Skipped = unreachable;
    result.DriveAway = away;
    if (away > 0) log.Write(std::to_string(away) + " records kept: their drive is not plugged in.");
    if (result.Error.empty()) result.Error = log.Error();
    result.LogPath = log.Path();
    host.ShowLog(log.Path());
    return result;
}
