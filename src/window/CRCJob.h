// SPDX-License-Identifier: GPL-3.0-or-later
// The CRC of one file, computed on a thread of its own so that the window stays responsive while a
// film of several gigabytes is read.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "analysis/modReadFileEx.h"

// Lives on the thread that makes it, and its signals arrive there. The worker shares nothing with
// that thread but atomics and the finished result, which it publishes through an atomic flag that
// the job polls: no Qt object is touched from two threads.
class CRCJob : public QObject {
    Q_OBJECT

public:
    CRCJob(std::string path, QObject* parent);
    ~CRCJob() override;  // asks the computation to stop and waits for it

    const std::string& Path() const { return path_; }
    // Asks the computation to stop after the chunk it is reading; Finished still follows, with
    // the result's Cancelled set unless the file was already done.
    void Cancel() { stop_ = true; }

Q_SIGNALS:
    // How far the computation has come, at most about ten times a second.
    void Progress(std::int64_t done, std::int64_t total);
    // Once, when the computation has ended for whatever reason.
    void Finished(const CRCResult& result);

private:
    void Poll();

    const std::string path_;
    std::atomic<bool> stop_{false};
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    CRCResult result_;  // written by the worker before it sets finished_
    std::atomic<bool> finished_{false};
    QTimer poll_;
    QElapsedTimer sinceProgress_;
    std::jthread worker_;  // last: everything it touches exists before it starts
};
