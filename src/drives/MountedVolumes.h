// SPDX-License-Identifier: GPL-3.0-or-later
// The filesystems mounted now, each with its identity: where a path lies, and which places are
// empty folders waiting for a drive.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drives/MountTable.h"
#include "drives/Volume.h"

struct MountedVolume {
    Mount At;
    Volume Is;
};

class MountedVolumes {
public:
    // Reads the mount table and identifies each filesystem on it (each device once). Pseudo
    // filesystems (proc, sysfs) are left out. Error says why nothing could be read.
    static MountedVolumes Read();
    // For tests: volumes as given, with the places fstab names.
    static MountedVolumes Of(std::vector<MountedVolume> volumes, std::vector<std::string> fstabTargets = {});

    const std::vector<MountedVolume>& All() const { return volumes_; }
    const std::string& Error() const { return error_; }

    // Where a path lies now: the volume and the path inside its filesystem, from the filesystem's
    // root ("/films/a.avi" for "/media/me/FILMS/films/a.avi"; a bind mount's folder comes first).
    struct Location {
        const MountedVolume* On = nullptr;  // null for a path that lies on no mounted filesystem
        std::string PathInside;
    };
    Location Locate(std::string_view path) const;

    // Whether the path lies in a place meant for a drive that is not mounted now: an fstab mount
    // point, or a folder of /media/USER or /run/media/USER, that is an empty folder (or missing)
    // because its drive is away. Such a path is never taken for a missing file.
    bool InDrivePlaceLeftEmpty(std::string_view path) const;

private:
    std::vector<MountedVolume> volumes_;
    std::vector<std::string> fstabTargets_;
    std::string error_;
};
