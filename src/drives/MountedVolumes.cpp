// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/MountedVolumes.h"

#include <map>

namespace {

// The shallowest folder a desktop mounts a removable drive at, for a path below it: /media/NAME
// (some systems mount there directly, others one level deeper, per user) or /run/media/USER/NAME.
std::string DesktopDrivePlace(std::string_view path) {
    const auto upTo = [&](std::size_t from, int parts) -> std::string {
        std::size_t at = from;
        for (int part = 0; part < parts; ++part) {
            at = path.find('/', at + 1);
            if (at == std::string_view::npos) return part + 1 == parts ? std::string(path) : "";
        }
        return std::string(path.substr(0, at));
    };
    if (path.starts_with("/media/")) return upTo(6, 1);
    if (path.starts_with("/run/media/")) return upTo(10, 2);
    return {};
}

// Whether the filesystem mounted at target lies above place, so that place is a folder of it.
bool Above(std::string_view target, std::string_view place) { return target != place && LiesIn(place, target); }

}  // namespace

MountedVolumes MountedVolumes::Read() {
    MountedVolumes read;
    const MountTable table = MountTable::Read();
    read.error_ = table.Error();
    read.fstabTargets_ = table.FstabTargets();
    std::map<std::string, Volume> bySource;  // a device mounted twice is read once
    for (const Mount& mount : table.Mounts()) {
        if (mount.Pseudo) continue;
        auto known = bySource.find(mount.Source);
        const bool readAgain = known == bySource.end() || !mount.Source.starts_with("/dev/");
        const Volume volume = readAgain ? IdentifyVolume(mount) : known->second;
        if (readAgain) bySource[mount.Source] = volume;
        read.volumes_.push_back({mount, volume});
    }
    return read;
}

MountedVolumes MountedVolumes::Of(std::vector<MountedVolume> volumes, std::vector<std::string> fstabTargets) {
    MountedVolumes made;
    made.volumes_ = std::move(volumes);
    made.fstabTargets_ = std::move(fstabTargets);
    return made;
}

MountedVolumes::Location MountedVolumes::Locate(std::string_view path) const {
    const MountedVolume* best = nullptr;
    for (const MountedVolume& volume : volumes_) {
        if (LiesIn(path, volume.At.Target) && (!best || volume.At.Target.size() >= best->At.Target.size())) best = &volume;
    }
    if (!best) return {};
    const std::string_view rest = best->At.Target == "/" ? path : path.substr(best->At.Target.size());
    const std::string root = best->At.Root == "/" ? "" : best->At.Root;
    return {best, root + std::string(rest)};
}

bool MountedVolumes::InDrivePlaceLeftEmpty(std::string_view path) const {
    const Location location = Locate(path);
    const std::string_view target = location.On ? std::string_view(location.On->At.Target) : "/";
    for (const std::string& place : fstabTargets_) {
        if (place != "/" && LiesIn(path, place) && Above(target, place)) return true;
    }
    const std::string place = DesktopDrivePlace(path);
    return !place.empty() && Above(target, place);
}
