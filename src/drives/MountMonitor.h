// SPDX-License-Identifier: GPL-3.0-or-later
// Tells when the kernel's table of mounted filesystems changes: libmount's monitor of
// /proc/self/mountinfo, whose file descriptor a program waits on in its own event loop.
#pragma once

#include <string>

struct libmnt_monitor;

class MountMonitor {
public:
    // Starts watching. On failure (no /proc, out of descriptors) Fd() is -1 and Error() says why.
    MountMonitor();
    ~MountMonitor();
    MountMonitor(const MountMonitor&) = delete;
    MountMonitor& operator=(const MountMonitor&) = delete;

    // Readable when the table has changed; owned by the monitor. -1 when it could not start.
    int Fd() const { return fd_; }
    const std::string& Error() const { return error_; }

    // Takes every change waiting, without blocking: true when there was one. Until it is called,
    // Fd() stays readable, so a change is never lost between two reads of the table; read the
    // table after calling it.
    bool TakeChanges();

private:
    libmnt_monitor* monitor_ = nullptr;
    int fd_ = -1;
    std::string error_;
};
