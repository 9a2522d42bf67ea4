// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/CRCJob.h"

namespace {

// How often the job looks whether the worker is done: short enough that a small file's CRC seems
// immediate, long enough to cost nothing.
constexpr int kPollMs = 15;
constexpr int kProgressEveryMs = 100;

}  // namespace

CRCJob::CRCJob(std::string path, QObject* parent) : QObject(parent), path_(std::move(path)) {
    connect(&poll_, &QTimer::timeout, this, &CRCJob::Poll);
    poll_.start(kPollMs);
    sinceProgress_.start();
    worker_ = std::jthread([this] {
        result_ = CalculateFileCRC(path_, [this](std::int64_t done, std::int64_t total) {
            done_ = done;
            total_ = total;
            return !stop_;
        });
        finished_.store(true, std::memory_order_release);
    });
}

CRCJob::~CRCJob() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

void CRCJob::Poll() {
    if (finished_.load(std::memory_order_acquire)) {
        poll_.stop();
        Q_EMIT Finished(result_);
        return;
    }
    if (sinceProgress_.elapsed() < kProgressEveryMs) return;
    sinceProgress_.restart();
    Q_EMIT Progress(done_, total_);
}
