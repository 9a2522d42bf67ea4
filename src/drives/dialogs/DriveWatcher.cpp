// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/dialogs/DriveWatcher.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

// What a reading hands over: the table it read, and an eventfd it writes to once it is there. The
// reading holds it too, so a reading that ends after the watcher is gone writes to its own
// descriptor, never to one that number was given to since.
struct DriveWatcher::Channel {
    int Fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::mutex Lock;
    bool Done = false;                   // under Lock, as the rest
    std::optional<MountedVolumes> Read;  // none when the reading failed

    ~Channel() {
        if (Fd >= 0) close(Fd);
    }
};

DriveWatcher::DriveWatcher(QObject* parent) : QObject(parent), channel_(std::make_shared<Channel>()) {
    if (channel_->Fd >= 0) {
        read_ = new QSocketNotifier(channel_->Fd, QSocketNotifier::Read, this);
        connect(read_, &QSocketNotifier::activated, this, &DriveWatcher::Arrived);
    }
    if (monitor_.Fd() >= 0 && read_) {
        changes_ = new QSocketNotifier(monitor_.Fd(), QSocketNotifier::Read, this);
        connect(changes_, &QSocketNotifier::activated, this, &DriveWatcher::Changed);
    }
}

DriveWatcher::~DriveWatcher() = default;

QString DriveWatcher::Error() const {
    if (!read_) return tr("Could not watch the mounted filesystems: no event descriptor");
    return QString::fromStdString(monitor_.Error());
}

void DriveWatcher::ReadAgain() {
    if (!read_) return;
    if (reading_) {
        again_ = true;
        return;
    }
    Start();
}

void DriveWatcher::Changed() {
    if (monitor_.TakeChanges()) ReadAgain();
}

void DriveWatcher::Start() {
    reading_ = true;
    again_ = false;
    // Not joined: a reading stuck on a device must not hold the window when it closes.
    std::thread([channel = channel_] {
        std::optional<MountedVolumes> read;
        try {
            read = MountedVolumes::Read();
        } catch (const std::exception&) {  // out of memory: the next change tries again
        }
        {
            const std::lock_guard lock(channel->Lock);
            channel->Done = true;
            channel->Read = std::move(read);
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(channel->Fd, &one, sizeof one);  // cannot fill: it is read each time
    }).detach();
}

void DriveWatcher::Arrived() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t taken = read(channel_->Fd, &count, sizeof count);
    std::optional<MountedVolumes> read;
    {
        const std::lock_guard lock(channel_->Lock);
        if (!channel_->Done) return;
        channel_->Done = false;
        read.swap(channel_->Read);
    }
    reading_ = false;
    // What changed meanwhile may be missing from what was read: it is read again.
    if (again_) Start();
    // A table that could not be read says nothing of the drives; it is not taken for "none".
    if (read && read->Error().empty()) Q_EMIT MountsRead(*read);
}
