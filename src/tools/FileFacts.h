// SPDX-License-Identifier: GPL-3.0-or-later
// What Load Directory needs to know of each file before it can catalogue it, gathered ahead of
// the run on worker threads: the CRC and the media probe are the slow part of a load, and they can
// run on every core while the catalogue is written on one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/modMediaInfo.h"
#include "analysis/modReadFileEx.h"

struct FileFacts {
    CRCResult CRC;            // empty when no CRC was asked for
    std::int64_t Size = 0;
    MediaInfo Media;
    std::string Error;        // "" or why the file could not be read or inspected
};

class FactGatherer {
public:
    // Starts gathering the facts of the paths, in order, a bounded distance ahead of what has been
    // taken. With hashContents, each file's CRC comes with its contents' hash, from the same read.
    // The paths marked in contentsOnly (catalogued files read again for their hash) are not probed
    // as media.
    FactGatherer(std::vector<std::string> paths, bool calculateCRC, bool hashContents = false,
                 std::vector<bool> contentsOnly = {});
    FactGatherer(const FactGatherer&) = delete;
    FactGatherer& operator=(const FactGatherer&) = delete;
    ~FactGatherer();  // stops the workers and waits for them

    // The facts of path index, taken one after the other from 0, waiting for them when they are not ready.
    // While it waits it asks stillWanted about ten times a second; when that says no, or it said no
    // earlier, everything stops and the result is empty.
    std::optional<FileFacts> Take(std::size_t index, const std::function<bool()>& stillWanted);

private:
    void Work();
    FileFacts Gather(std::size_t index) const;

    const std::vector<std::string> paths_;
    const bool calculateCRC_;
    const bool hashContents_;
    const std::vector<bool> contentsOnly_;
    std::vector<std::optional<FileFacts>> ready_;
    std::mutex mutex_;
    // Two signals, so that a worker that finishes a file wakes the taker only when that file is the
    // one it waits for, and the taker wakes only the workers waiting for room.
    std::condition_variable wanted_;  // the facts of index taken_ are ready, or all stops
    std::condition_variable room_;    // taken_ moved on, or all stops
    std::size_t taken_ = 0;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stopped_{false};
    std::vector<std::jthread> workers_;
};
