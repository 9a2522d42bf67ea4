// SPDX-License-Identifier: GPL-3.0-or-later
// What a mounted filesystem is, wherever it is mounted: the identity that finds it again, read with
// libblkid from the mount's source device.
//
// The identity, in order of preference:
// - "uuid:" and the filesystem's UUID in lower case, for a device whose UUID can be read;
// - "net:" and the mount's source ("server:/export", "//server/share", "me@host:/films") for
//   network filesystems, which have no UUID of their own;
// - "fs:TYPE:LABEL:SIZE" for a device with no UUID (squashfs, some old filesystems) or one this
//   program may not read: stable while the filesystem keeps its label and size;
// - "mnt:TYPE:MOUNTPOINT" for a filesystem with no device at all (tmpfs, overlay): known only by
//   where it is.
#pragma once

#include <cstdint>
#include <string>

#include "drives/MountTable.h"

struct Volume {
    std::string Identity;
    std::string UUID;  // "" when it has none or it cannot be read
    std::string Label;
    std::string FSType;
    std::int64_t Size = 0;  // bytes the filesystem holds; 0 when unknown
};

// Identifies the filesystem mounted at mount. Reads the device's superblock; when this program may
// not open the device, it looks for the device's UUID and label among the names the system keeps
// in /dev/disk/by-uuid and /dev/disk/by-label.
Volume IdentifyVolume(const Mount& mount);
