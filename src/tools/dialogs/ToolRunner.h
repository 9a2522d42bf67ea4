// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one bulk tool on a worker thread over a catalogue connection of its own, so the window keeps
// painting and answering while thousands of files are read, and the record sets and the list the
// window paints from are never touched by two threads.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// A tool's run over the worker's own catalogue, whose sets are loaded before it starts. Whatever it
// captures is copied on the window's thread and read only by the worker.
using ToolJob = std::function<ToolResult(Catalogue&, ToolHost&)>;

// Lives on the thread that makes it, and its signals arrive there. The worker shares with that
// thread only atomics and a snapshot behind a mutex, and publishes its result through an atomic
// flag that the runner polls: no Qt object is touched from two threads.
class ToolRunner : public QObject {
    Q_OBJECT

public:
    explicit ToolRunner(QObject* parent = nullptr);
    ~ToolRunner() override;  // asks a run to stop and waits for it

    // Starts job over a new connection to the catalogue file; one run at a time. Without sets, the
    // job gets the catalogue open and its sets empty: for jobs that only query the file, which on a
    // large catalogue is far quicker than loading it.
    void Start(const std::string& cataloguePath, ToolJob job, bool withSets = true);
    // Asks the run to stop at its next item; Finished still follows, with what was done until then.
    void Cancel() { stop_ = true; }
    bool IsRunning() const { return running_; }

Q_SIGNALS:
    // At most about ten times a second: items done of total, and the item at hand.
    void Progressed(qint64 done, qint64 total, const QString& current);
    // The tool's one-line status changed ("Loading /media/a.avi").
    void StatusChanged(const QString& status);
    // Once per run, when it has ended for whatever reason; logPath is "" when it showed no log.
    void Finished(const ToolResult& result, const QString& logPath);

private:
    class Host;
    struct Snapshot {
        std::int64_t Done = 0;
        std::int64_t Total = 0;
        std::string Current;
        std::string Status;
        std::string LogPath;
    };

    ToolResult Work(const std::string& cataloguePath, const ToolJob& job, bool withSets);
    void Poll();
    void Report();
    Snapshot Taken();

    std::mutex mutex_;
    Snapshot snapshot_;  // written by the worker, under mutex_
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    ToolResult result_;  // written by the worker before it sets finished_
    bool running_ = false;
    std::string shownStatus_;
    QTimer poll_;
    QElapsedTimer sinceReport_;
    std::jthread worker_;  // last: everything it touches exists before it starts
};
