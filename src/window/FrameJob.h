// SPDX-License-Identifier: GPL-3.0-or-later
// The pass that makes the catalogue's missing frames, on a thread of its own over a catalogue
// connection of its own, after the window has loaded the sets: the load does not wait for it, and
// frames show as they are committed.
#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "frames/FramePass.h"

// Lives on the thread that makes it, and its signals arrive there. The worker shares with that
// thread only atomics and the list of arrived records behind a mutex, and publishes its result
// through an atomic flag that the job polls: no Qt object is touched from two threads.
class FrameJob : public QObject {
    Q_OBJECT

public:
    // Starts the pass over the catalogue file at path, waiting busyTimeoutMs for another writer.
    // cacheRoot is the thumbnail cache to share frames with; "" for none.
    FrameJob(const std::string& path, int busyTimeoutMs, const std::string& cacheRoot, QObject* parent);
    ~FrameJob() override;  // asks the pass to stop and waits for the frame at hand

    // Asks the pass to stop after the frame at hand; what was committed stays. Finished follows.
    void Cancel() { stop_ = true; }

Q_SIGNALS:
    // Records whose frame (or note that there is none) was just stored, at most ten times a second.
    void Arrived(const QList<int>& fileIDs);
    // Once, when the pass has ended for whatever reason.
    void Finished(const FramePassResult& result);

private:
    void Poll();
    QList<int> TakeArrived();

    std::mutex mutex_;
    std::vector<int> arrived_;  // written by the worker, under mutex_
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    FramePassResult result_;  // written by the worker before it sets finished_
    QTimer poll_;
    std::jthread worker_;  // last: everything it touches exists before it starts
};
