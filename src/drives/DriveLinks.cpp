// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/DriveLinks.h"

#include <sys/stat.h>

#include <ctime>
#include <string>

#include "store/OwnTables.h"

namespace {

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

struct Found {
    int DriveID = -1;
    std::string PathInside;
    const MountedVolume* NewVolume = nullptr;  // a filesystem no drive of the set is
};

// A known drive that is away, at whose last place the path lies while nothing is mounted there.
Found OnAwayDrive(const DriveSet& drives, const std::string& path, const MountedVolumes::Location& now) {
    const Drive* drive = drives.AwayAt(path);
    if (!drive || (now.On && LiesIn(now.On->At.Target, drive->MountPoint))) return {};  // something else is there now
    return {drive->DriveID, drive->MountPoint == "/" ? path : path.substr(drive->MountPoint.size()), nullptr};
}

Found Locate(const DriveSet& drives, const std::string& path, bool seen) {
    const MountedVolumes::Location now = drives.Mounted().Locate(path);
    if (Found away = OnAwayDrive(drives, path, now); away.DriveID >= 0) return away;
    if (!seen || !now.On || drives.Mounted().InDrivePlaceLeftEmpty(path)) return {};
    if (const Drive* known = drives.ByIdentity(now.On->Is.Identity)) return {known->DriveID, now.PathInside, nullptr};
    return {-1, now.PathInside, now.On};
}

std::string AddDrive(clsSQLite& store, DriveSet& drives, const MountedVolume& volume, int& id) {
    Drive drive;
    drive.Identity = volume.Is.Identity;
    drive.Name = drives.NewName(volume.Is, volume.At.Target);
    drive.Label = volume.Is.Label;
    drive.FSType = volume.Is.FSType;
    drive.Size = volume.Is.Size;
    drive.MountPoint = volume.At.Root == "/" ? volume.At.Target : "";
    drive.SeenAt = Now();
    if (std::string error = store.Execute(
            "INSERT INTO rvDrive(DriveID, Identity, Name, Label, FSType, Size, MountPoint, SeenAt) "
            "VALUES(NULL, ?1, ?2, ?3, ?4, ?5, ?6, ?7);",
            {drive.Identity, drive.Name, drive.Label, drive.FSType, drive.Size, drive.MountPoint, drive.SeenAt});
        !error.empty())
        return error;
    id = drive.DriveID = static_cast<int>(store.LastRowID());
    drives.Add(std::move(drive));
    return {};
}

// The mount table read at the last load may be old news: a file on another device than the
// filesystem it is taken to lie on was mounted since.
bool MountsChangedUnder(const DriveSet& drives, const std::string& path, const struct stat& file) {
    const MountedVolume* on = drives.Mounted().Locate(path).On;
    return on && file.st_dev != on->At.Device;
}

// A record given a new path (moved, re-pointed, found by another program) whose file is still the
// one its contents' hash was taken from, by size, time and inode, keeps that hash, and with it the
// media facts and the frame made of the same file at its old path.
std::string KeepHash(clsSQLite& store, int fileID, std::int64_t key, const struct stat& file) {
    const std::int64_t mtime = static_cast<std::int64_t>(file.st_mtim.tv_sec) * 1'000'000'000 + file.st_mtim.tv_nsec;
    std::string error = store.Execute("SELECT PathKey FROM rvFileHash WHERE FileID = ?1 AND PathKey <> ?2 AND Size = ?3 AND "
                                      "MTimeNs = ?4 AND Inode = ?5;",
                                      {fileID, key, static_cast<std::int64_t>(file.st_size), mtime,
                                       static_cast<std::int64_t>(file.st_ino)});
    if (!error.empty() || store.RecordCount() == 0) return error;
    const std::int64_t oldKey = store.Field(0).AsInt();
    for (const char* table : {"rvFileHash", "rvFileMedia", "rvFrame"}) {
        error = store.Execute("UPDATE " + std::string(table) + " SET PathKey = ?1 WHERE FileID = ?2 AND PathKey = ?3;",
                              {key, fileID, oldKey});
        if (!error.empty()) return error;
    }
    return {};
}

}  // namespace

LinkOutcome LinkRecords(clsSQLite& store, DriveSet& drives, const std::vector<RecordPath>& records) {
    LinkOutcome outcome;
    outcome.DriveIDs.reserve(records.size());
    for (const RecordPath& record : records) {
        struct stat file {};
        const bool there = record.Seen && stat(record.FileName.c_str(), &file) == 0;
        if (there && MountsChangedUnder(drives, record.FileName, file)) drives.SeeMounts(MountedVolumes::Read());
        Found found = Locate(drives, record.FileName, record.Seen);
        const std::int64_t key = PathKey(record.FileName);
        if (found.NewVolume) outcome.Error = AddDrive(store, drives, *found.NewVolume, found.DriveID);
        if (outcome.Error.empty() && found.DriveID >= 0)
            outcome.Error = store.Execute("INSERT OR REPLACE INTO rvFileDrive(FileID, DriveID, Path, PathKey) VALUES(?1, ?2, ?3, ?4);",
                                          {record.FileID, found.DriveID, found.PathInside, key});
        if (outcome.Error.empty() && there) outcome.Error = KeepHash(store, record.FileID, key, file);
        if (!outcome.Error.empty()) break;
        outcome.DriveIDs.push_back(found.DriveID);
    }
    return outcome;
}

std::string NoteDrivesSeen(clsSQLite& store, DriveSet& drives) {
    for (const Drive& drive : std::vector<Drive>(drives.All())) {
        if (drive.Place().empty() || drive.Place() == drive.MountPoint) continue;
        const std::int64_t now = Now();
        if (std::string error = store.Execute("UPDATE rvDrive SET MountPoint = ?1, SeenAt = ?2 WHERE DriveID = ?3;",
                                              {drive.Place(), now, drive.DriveID});
            !error.empty())
            return error;
        drives.SeenAt(drive.DriveID, drive.Place(), now);
    }
    return {};
}

std::string RenameDrive(clsSQLite& store, DriveSet& drives, const std::string& name, const std::string& newName) {
    const Drive* drive = drives.ByName(name);
    if (!drive) return "No drive named " + name;
    if (newName.empty()) return "A drive's name cannot be empty";
    if (newName == name) return {};
    if (drives.ByName(newName)) return "Another drive is named " + newName;
    if (std::string error = store.Execute("UPDATE rvDrive SET Name=?1 WHERE DriveID=?2;", {newName, drive->DriveID}); !error.empty())
        return error;
    drives.Rename(drive->DriveID, newName);
    return {};
}
