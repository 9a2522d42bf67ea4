// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/FrameJob.h"

#include <memory>

#include "support/clsLog.h"
#include "support/modUtilities.h"

namespace {

constexpr int kPollMs = 100;

FramePassResult Run(const std::string& path, int busyTimeoutMs, const std::string& cacheRoot, const FramePassHost& host) {
    clsSQLite store;
    store.SetBusyTimeout(busyTimeoutMs);
    FramePassResult result;
    if ((result.Error = store.OpenDB(path)); !result.Error.empty()) return result;
    const std::unique_ptr<ThumbnailCache> cache = cacheRoot.empty() ? nullptr : std::make_unique<ThumbnailCache>(cacheRoot);
    // Why a file has no frame goes to the frames' log; a log that cannot be written loses nothing
    // the user asked for, so its own failure is not reported.
    clsLog log;
    log.SetFileName(AppPath() + "frames.log");
    log.SetAddDate(true);
    FramePassHost logged = host;
    logged.Log = [&log](const std::string& line) { log.WriteLog(line); };
    result = MakeMissingFrames(store, cache.get(), logged);
    store.CloseDB();
    return result;
}

}  // namespace

FrameJob::FrameJob(const std::string& path, int busyTimeoutMs, const std::string& cacheRoot, QObject* parent)
    : QObject(parent) {
    connect(&poll_, &QTimer::timeout, this, &FrameJob::Poll);
    poll_.start(kPollMs);
    worker_ = std::jthread([this, path, busyTimeoutMs, cacheRoot] {
        const FramePassHost host{[this](int, int, const std::string&) { return !stop_; },
                                 [this](const std::vector<int>& ids) {
                                     const std::lock_guard lock(mutex_);
                                     arrived_.insert(arrived_.end(), ids.begin(), ids.end());
                                 },
                                 nullptr};
        result_ = Run(path, busyTimeoutMs, cacheRoot, host);
        finished_.store(true, std::memory_order_release);
    });
}

FrameJob::~FrameJob() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

QList<int> FrameJob::TakeArrived() {
    const std::lock_guard lock(mutex_);
    QList<int> ids(arrived_.begin(), arrived_.end());
    arrived_.clear();
    return ids;
}

void FrameJob::Poll() {
    const bool finished = finished_.load(std::memory_order_acquire);  // before the last arrivals are taken
    if (const QList<int> ids = TakeArrived(); !ids.isEmpty()) Q_EMIT Arrived(ids);
    if (!finished) return;
    poll_.stop();
    Q_EMIT Finished(result_);
}
