// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/MountTable.h"

#include <libmount/libmount.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};
using Table = std::unique_ptr<libmnt_table, TableDeleter>;
using Iter = std::unique_ptr<libmnt_iter, IterDeleter>;

std::string Text(const char* text) { return text ? text : ""; }

// Calls visit with each entry of the table, first to last.
template <class Visit>
void EachEntry(libmnt_table* table, Visit visit) {
    const Iter iter(mnt_new_iter(MNT_ITER_FORWARD));
    libmnt_fs* fs = nullptr;
    while (iter && mnt_table_next_fs(table, iter.get(), &fs) == 0) visit(fs);
}

Mount Describe(libmnt_fs* fs) {
    Mount mount;
    mount.Source = Text(mnt_fs_get_source(fs));
    mount.Target = Text(mnt_fs_get_target(fs));
    mount.Root = fs && mnt_fs_get_root(fs) ? Text(mnt_fs_get_root(fs)) : "/";
    mount.FSType = Text(mnt_fs_get_fstype(fs));
    mount.Device = mnt_fs_get_devno(fs);
    mount.Network = mnt_fs_is_netfs(fs) == 1 || mount.FSType == "fuse.sshfs" || mount.FSType == "sshfs";
    mount.Pseudo = mnt_fs_is_pseudofs(fs) == 1;
    return mount;
}

std::string Why(int rc, const char* what) {
    return std::string("Could not read the ") + what + ": " + std::strerror(rc < 0 ? -rc : errno);
}

}  // namespace

bool LiesIn(std::string_view path, std::string_view place) {
    if (place == "/") return path.starts_with('/');
    return path.starts_with(place) && (path.size() == place.size() || path[place.size()] == '/');
}

MountTable MountTable::Read(const char* mountinfo, const char* fstab) {
    MountTable read;
    const Table mounted(mnt_new_table());
    const int rc = mounted ? mnt_table_parse_mtab(mounted.get(), mountinfo) : -ENOMEM;
    if (rc != 0) {
        read.error_ = Why(rc, "table of mounted filesystems");
        return read;
    }
    EachEntry(mounted.get(), [&](libmnt_fs* fs) { read.mounts_.push_back(Describe(fs)); });
    // A system without an fstab is normal (containers); its places are simply none.
    if (const Table system(mnt_new_table()); system && mnt_table_parse_fstab(system.get(), fstab) == 0) {
        EachEntry(system.get(), [&](libmnt_fs* fs) {
            if (mnt_fs_is_swaparea(fs) != 1 && mnt_fs_is_pseudofs(fs) != 1 && mnt_fs_get_target(fs))
                read.fstabTargets_.emplace_back(mnt_fs_get_target(fs));
        });
    }
    return read;
}

const Mount* MountTable::Containing(std::string_view path) const {
    const Mount* best = nullptr;
    for (const Mount& mount : mounts_) {
        if (LiesIn(path, mount.Target) && (!best || mount.Target.size() >= best->Target.size())) best = &mount;
    }
    return best;
}

bool MountTable::IsMountPoint(std::string_view place) const {
    for (const Mount& mount : mounts_) {
        if (mount.Target == place) return true;
    }
    return false;
}
