// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dialogs/ToolRunner.h"

#include <exception>


namespace {

// Short enough that a run of a few files seems to end at once, long enough to cost nothing.
constexpr int kPollMs = 15;
constexpr int kReportEveryMs = 100;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// The worker's side: it only writes the snapshot and reads the stop flag.
class ToolRunner::Host : public ToolHost {
public:
    explicit Host(ToolRunner& runner) : runner_(runner) {}

    void SetStatus(const std::string& text) override {
        std::lock_guard lock(runner_.mutex_);
        runner_.snapshot_.Status = text;
    }
    bool Progress(std::int64_t done, std::int64_t total, const std::string& current) override {
        {
            std::lock_guard lock(runner_.mutex_);
            runner_.snapshot_.Done = done;
            runner_.snapshot_.Total = total;
            runner_.snapshot_.Current = current;
        }
        return !runner_.stop_;
    }
    void ShowLog(const std::string& path) override {
        std::lock_guard lock(runner_.mutex_);
        runner_.snapshot_.LogPath = path;
    }

private:
    ToolRunner& runner_;
};

ToolRunner::ToolRunner(QObject* parent) : QObject(parent) {
    connect(&poll_, &QTimer::timeout, this, &ToolRunner::Poll);
}

ToolRunner::~ToolRunner() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

void ToolRunner::Start(const std::string& cataloguePath, ToolJob job, bool withSets) {
    if (running_) return;
    if (worker_.joinable()) worker_.join();  // the last run has published its result already
    running_ = true;
    stop_ = false;
    finished_ = false;
    snapshot_ = {};
    shownStatus_.clear();
    sinceReport_.start();
    poll_.start(kPollMs);
    worker_ = std::jthread([this, cataloguePath, job = std::move(job), withSets] {
        result_ = Work(cataloguePath, job, withSets);
        finished_.store(true, std::memory_order_release);
    });
}

// Exceptions stop here: a run that threw ends like one that failed, with the reason in its result.
ToolResult ToolRunner::Work(const std::string& cataloguePath, const ToolJob& job, bool withSets) {
    ToolResult failed;
    try {
        Catalogue catalogue;
        Host host(*this);
        host.SetStatus("Reading the catalogue");
        // The window checked the file when it opened it; reading every page again is not needed.
        failed.Error = catalogue.Store.OpenDB(cataloguePath);
        if (failed.Error.empty() && withSets) failed.Error = catalogue.Reload();
        if (failed.Error.empty()) return job(catalogue, host);
    } catch (const std::exception& error) {
        failed.Error = std::string("Unexpected error: ") + error.what();
    } catch (...) {
        failed.Error = "Unexpected error";
    }
    return failed;
}

ToolRunner::Snapshot ToolRunner::Taken() {
    std::lock_guard lock(mutex_);
    return snapshot_;
}

void ToolRunner::Poll() {
    if (finished_.load(std::memory_order_acquire)) {
        poll_.stop();
        worker_.join();
        running_ = false;
        Report();
        Q_EMIT Finished(result_, Q(Taken().LogPath));
        return;
    }
    if (sinceReport_.elapsed() < kReportEveryMs) return;
    sinceReport_.restart();
    Report();
}

void ToolRunner::Report() {
    const Snapshot now = Taken();
    if (now.Status != shownStatus_) {
        shownStatus_ = now.Status;
        Q_EMIT StatusChanged(Q(now.Status));
    }
    Q_EMIT Progressed(now.Done, now.Total, Q(now.Current));
}
