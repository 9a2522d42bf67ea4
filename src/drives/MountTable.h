// SPDX-License-Identifier: GPL-3.0-or-later
// The filesystems mounted now, as the kernel's mount table lists them (read through libmount, which
// un-escapes blanks, newlines and other bytes in mount points), and the places the system's fstab
// mounts filesystems at, mounted or not.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Mount {
    std::string Source;  // "/dev/sdb1", "server:/export", "tmpfs"
    std::string Target;  // the mount point
    std::string Root;    // the folder of the filesystem seen at Target: "/" except for bind mounts
    std::string FSType;
    unsigned long Device = 0;  // the filesystem's device number (st_dev of what lies on it)
    bool Network = false;      // nfs, cifs, sshfs and the like: known by Source
    bool Pseudo = false;       // proc, sysfs, cgroups: no files anyone catalogues
};

class MountTable {
public:
    // The table of this process's mount namespace and the fstab; Error says why not, with the
    // table then empty. Paths may name other files, for tests.
    static MountTable Read(const char* mountinfo = nullptr, const char* fstab = nullptr);

    const std::vector<Mount>& Mounts() const { return mounts_; }
    // The fstab's mount points of real filesystems (not swap, not pseudo filesystems).
    const std::vector<std::string>& FstabTargets() const { return fstabTargets_; }
    const std::string& Error() const { return error_; }

    // The mount a path lies on: the one whose mount point is the longest leading part of the path,
    // and of several at one place the last mounted (the one on top). Null when none (a relative path).
    const Mount* Containing(std::string_view path) const;
    // Whether something is mounted at exactly this place.
    bool IsMountPoint(std::string_view place) const;

private:
    std::vector<Mount> mounts_;  // in the order they were mounted
    std::vector<std::string> fstabTargets_;
    std::string error_;
};

// Whether path is place or lies inside it ("/" holds everything).
bool LiesIn(std::string_view path, std::string_view place);
