// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/MountMonitor.h"

#include <libmount/libmount.h>

#include <cstring>

MountMonitor::MountMonitor() {
    monitor_ = mnt_new_monitor();
    if (!monitor_) {
        error_ = "Could not watch the mounted filesystems: out of memory";
        return;
    }
    // The kernel's table alone: every mount and unmount shows there, whoever made it.
    int rc = mnt_monitor_enable_kernel(monitor_, 1);
    if (rc == 0) rc = fd_ = mnt_monitor_get_fd(monitor_);
    if (rc < 0) {
        fd_ = -1;
        error_ = std::string("Could not watch the mounted filesystems: ") + std::strerror(-rc);
    }
}

MountMonitor::~MountMonitor() {
    if (monitor_) mnt_unref_monitor(monitor_);  // closes the descriptor too
}

bool MountMonitor::TakeChanges() {
    if (fd_ < 0) return false;
    bool changed = false;
    // 0: a change, 1: none left, < 0: an error, after which the descriptor is not readable either.
    while (mnt_monitor_next_change(monitor_, nullptr, nullptr) == 0) changed = true;
    return changed;
}
