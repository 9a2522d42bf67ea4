// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/DriveSet.h"

#include <algorithm>

#include "store/OwnTables.h"

namespace {

// The last part of a mount point: "FILMS" for "/media/me/FILMS".
std::string LastPart(std::string_view place) {
    const std::size_t slash = place.find_last_of('/');
    return std::string(slash == std::string_view::npos ? place : place.substr(slash + 1));
}

// The drive with this ID in drives, which are in ID order; null when none has it.
template <class Drives>
auto* FindByID(Drives& drives, int id) {
    const auto found = std::lower_bound(drives.begin(), drives.end(), id,
                                        [](const Drive& drive, int key) { return drive.DriveID < key; });
    return found != drives.end() && found->DriveID == id ? &*found : nullptr;
}

}  // namespace

std::string DriveSet::LoadFromDatabase(clsSQLite& store) {
    drives_.clear();
    if (!store.DBOpen() || !ReadOwnTables(store).Usable()) return {};
    const std::string error = store.Query(
        "SELECT DriveID, Identity, Name, Label, FSType, Size, MountPoint, SeenAt FROM rvDrive ORDER BY DriveID;",
        [&](const clsSQLite::Row& row) {
            Drive& drive = drives_.emplace_back();
            drive.DriveID = static_cast<int>(row.Int(0));
            drive.Identity = row.Text(1);
            drive.Name = row.Text(2);
            drive.Label = row.Text(3);
            drive.FSType = row.Text(4);
            drive.Size = row.Int(5);
            drive.MountPoint = row.Text(6);
            drive.SeenAt = row.Int(7);
        });
    if (!error.empty()) drives_.clear();
    for (Drive& drive : drives_) Mark(drive);
    return error;
}

void DriveSet::SeeMounts(MountedVolumes mounted) {
    mounted_ = std::move(mounted);
    for (Drive& drive : drives_) Mark(drive);
}

void DriveSet::Deleteall() { drives_.clear(); }

void DriveSet::Mark(Drive& drive) const {
    drive.Places.clear();
    drive.Reachable = false;
    drive.Cloned = false;
    drive.Device = 0;
    unsigned long device = 0;
    for (const MountedVolume& volume : mounted_.All()) {
        if (volume.Is.Identity != drive.Identity) continue;
        drive.Reachable = true;
        if (volume.At.Root == "/") drive.Places.push_back(volume.At.Target);
        if (device != 0 && volume.At.Device != device) drive.Cloned = true;
        device = volume.At.Device;
    }
    drive.Device = device;
}

bool Drive::Holds(std::string_view path) const {
    return Reachable && (Places.empty() || std::any_of(Places.begin(), Places.end(), [&](const std::string& place) {
                             return LiesIn(path, place);
                         }));
}

Drive* DriveSet::Find(int id) { return FindByID(drives_, id); }

const Drive* DriveSet::ByID(int id) const { return FindByID(drives_, id); }

const Drive* DriveSet::ByName(std::string_view name) const {
    const auto found = std::find_if(drives_.begin(), drives_.end(), [&](const Drive& drive) { return drive.Name == name; });
    return found != drives_.end() ? &*found : nullptr;
}

const Drive* DriveSet::ByIdentity(std::string_view identity) const {
    const auto found =
        std::find_if(drives_.begin(), drives_.end(), [&](const Drive& drive) { return drive.Identity == identity; });
    return found != drives_.end() ? &*found : nullptr;
}

bool DriveSet::Unplugged(int id) const {
    const Drive* drive = ByID(id);
    return drive && !drive->Plugged();
}

const Drive* DriveSet::AwayAt(std::string_view path) const {
    const auto found = std::find_if(drives_.begin(), drives_.end(), [&](const Drive& drive) {
        return !drive.Plugged() && !drive.MountPoint.empty() && LiesIn(path, drive.MountPoint);
    });
    return found != drives_.end() ? &*found : nullptr;
}

std::string DriveSet::NewName(const Volume& volume, std::string_view place) const {
    std::string base = volume.Label;
    if (base.empty()) base = LastPart(place);
    if (base.empty()) base = volume.FSType.empty() ? "Drive" : volume.FSType;
    std::string name = base;
    for (int suffix = 2; ByName(name); ++suffix) name = base + "-" + std::to_string(suffix);
    return name;
}

void DriveSet::Add(Drive drive) {
    Mark(drive);
    const auto at = std::lower_bound(drives_.begin(), drives_.end(), drive.DriveID,
                                     [](const Drive& held, int key) { return held.DriveID < key; });
    drives_.insert(at, std::move(drive));
}

void DriveSet::Rename(int id, const std::string& name) {
    if (Drive* drive = Find(id)) drive->Name = name;
}

void DriveSet::Remove(int id) {
    std::erase_if(drives_, [&](const Drive& drive) { return drive.DriveID == id; });
}

void DriveSet::SeenAt(int id, const std::string& place, std::int64_t when) {
    if (Drive* drive = Find(id)) {
        drive->MountPoint = place;
        drive->SeenAt = when;
    }
}

std::string PathOnDrive(std::string_view place, std::string_view inside) {
    return place == "/" ? std::string(inside) : std::string(place) + std::string(inside);
}
