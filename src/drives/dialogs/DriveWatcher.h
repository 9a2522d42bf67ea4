// SPDX-License-Identifier: GPL-3.0-or-later
// Watches the mount table while the program runs and reads it again, with each filesystem's
// identity, after every change. The reading runs on a thread of its own: libblkid reads devices,
// and a device that does not answer (a failing disk, a network share gone away) may hold it for
// minutes. The window's thread only takes what was read.
#pragma once

#include <QObject>

#include <memory>

#include "drives/MountMonitor.h"
#include "drives/MountedVolumes.h"

class QSocketNotifier;

class DriveWatcher : public QObject {
    Q_OBJECT

public:
    explicit DriveWatcher(QObject* parent = nullptr);
    // Does not wait for a reading under way: that one ends on its own and its result is dropped.
    ~DriveWatcher() override;

    // "" while it watches; otherwise why it cannot, and the table is then read only with the sets.
    QString Error() const;
    // Reads the table again, as after a change.
    void ReadAgain();

Q_SIGNALS:
    // What is mounted now, read after the last change that was noticed.
    void MountsRead(const MountedVolumes& mounted);

private:
    struct Channel;
    void Changed();
    void Start();
    void Arrived();

    MountMonitor monitor_;
    std::shared_ptr<Channel> channel_;  // shared with the reading under way
    QSocketNotifier* changes_ = nullptr;
    QSocketNotifier* read_ = nullptr;
    bool reading_ = false;
    bool again_ = false;  // the table changed while it was being read
};
