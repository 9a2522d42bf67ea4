// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FileFacts.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "analysis/ContentCheck.h"

namespace {

// How far ahead of the run the workers may go; bounds the facts held in memory.
constexpr std::size_t kLookAhead = 256;
// Workers that are far enough ahead are woken again only each this many files taken, and then go
// on for as many, rather than trading the cores with the taker file by file.
constexpr std::size_t kWakeEvery = kLookAhead / 4;

}  // namespace

FactGatherer::FactGatherer(std::vector<std::string> paths, bool calculateCRC, bool hashContents, std::vector<bool> contentsOnly)
    : paths_(std::move(paths)), calculateCRC_(calculateCRC), hashContents_(hashContents), contentsOnly_(std::move(contentsOnly)),
      ready_(paths_.size()) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t count = std::min<std::size_t>(cores, paths_.size());
    for (std::size_t i = 0; i < count; ++i) workers_.emplace_back([this] { Work(); });
}

FactGatherer::~FactGatherer() {
    {
        std::lock_guard lock(mutex_);  // a worker between its test and its wait would miss the news
        stopped_ = true;
    }
    room_.notify_all();
    workers_.clear();  // joins
}

void FactGatherer::Work() {
    for (std::size_t index; (index = next_++) < paths_.size();) {
        {
            std::unique_lock lock(mutex_);
            room_.wait(lock, [&] { return stopped_ || index < taken_ + kLookAhead; });
        }
        if (stopped_) return;
        FileFacts facts = Gather(index);
        std::lock_guard lock(mutex_);
        ready_[index] = std::move(facts);
        if (index == taken_) wanted_.notify_one();
    }
}

FileFacts FactGatherer::Gather(std::size_t index) const {
    const std::string& path = paths_[index];
    FileFacts facts;
    const bool probe = index >= contentsOnly_.size() || !contentsOnly_[index];
    if (calculateCRC_) {
        const auto stop = [this](std::int64_t, std::int64_t) { return !stopped_; };
        const std::size_t keep = probe ? kContentCheckBytes : 0;  // the probe looks at them again otherwise
        facts.CRC = hashContents_ ? ReadFileContents(path, stop, keep) : CalculateFileCRC(path, stop, keep);
        if (!facts.CRC) {
            facts.Error = facts.CRC.Error;
            return facts;
        }
        facts.Size = facts.CRC.Bytes;  // the size the CRC stands for, without a second look-up of the path
    } else if (struct stat info {}; stat(path.c_str(), &info) == 0) {
        facts.Size = info.st_size;
    } else {
        const int reason = errno;
        facts.Error = "Could not read " + path + ": " + std::strerror(reason);
        return facts;
    }
    if (!probe) return facts;
    facts.Media = calculateCRC_ ? GetMediaInfo(path, facts.CRC.First, facts.CRC.Bytes) : GetMediaInfo(path);
    facts.CRC.First = {};  // held no longer than the look needs it
    if (facts.Media.ProbeFailed) facts.Error = facts.Media.Reason;
    return facts;
}

std::optional<FileFacts> FactGatherer::Take(std::size_t index, const std::function<bool()>& stillWanted) {
    std::unique_lock lock(mutex_);
    while (!stopped_ && !ready_[index]) {
        if (wanted_.wait_for(lock, std::chrono::milliseconds(100)) == std::cv_status::timeout && !stillWanted())
            stopped_ = true;
    }
    if (stopped_) {
        room_.notify_all();
        return std::nullopt;
    }
    std::optional<FileFacts> facts = std::move(ready_[index]);
    ready_[index].reset();
    taken_ = index + 1;
    if (taken_ % kWakeEvery == 0) room_.notify_all();
    return facts;
}
