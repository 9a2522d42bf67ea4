// SPDX-License-Identifier: GPL-3.0-or-later
#include "frames/FramePass.h"

#include <sys/stat.h>

#include <chrono>

#include "frames/FrameMaker.h"

namespace {

using Clock = std::chrono::steady_clock;

// A batch ends at this many frames or this long after it began, whichever comes first: frames
// show soon after they are made, and the catalogue is not synced to disk for each one.
constexpr std::size_t kBatchFrames = 32;
constexpr auto kBatchTime = std::chrono::milliseconds(300);

struct Batch {
    std::vector<std::pair<FrameWanted, Frame>> Frames;
    Clock::time_point Began = Clock::now();
    bool Due() const { return Frames.size() >= kBatchFrames || Clock::now() - Began >= kBatchTime; }
};

std::string Commit(clsSQLite& store, Batch& batch, const FramePassHost& host) {
    if (batch.Frames.empty()) return {};
    clsSQLite::Transaction unit(store);
    if (!unit.BeginError().empty()) return unit.BeginError();
    std::vector<int> ids;
    for (const auto& [wanted, frame] : batch.Frames) {
        if (std::string error = StoreFrame(store, wanted.FileID, wanted.Path, frame); !error.empty()) return error;
        ids.push_back(wanted.FileID);
    }
    if (std::string error = unit.Commit(); !error.empty()) return error;
    batch = Batch{};
    if (host.Arrived) host.Arrived(ids);
    return {};
}

void Count(FramePassResult& result, const MadeFrame& made, const FramePassHost& host) {
    if (made.Made.Made()) ++result.Made;
    else if (made.Made.Failed) ++result.Failed;
    else ++result.NoPicture;
    if (host.Log && !made.Made.Reason.empty()) host.Log(made.Made.Reason);
    if (host.Log && !made.CacheError.empty()) host.Log(made.CacheError);
}

}  // namespace

FramePassResult MakeMissingFrames(clsSQLite& store, const ThumbnailCache* cache, const FramePassHost& host) {
    FramePassResult result;
    if (!store.DBOpen() || store.ReadOnly()) return result;
    std::vector<FrameWanted> wanted;
    if ((result.Error = MissingFrames(store, wanted)); !result.Error.empty()) return result;
    const int total = static_cast<int>(wanted.size());
    Batch batch;
    for (int done = 0; done < total; ++done) {
        FrameWanted& one = wanted[done];
        if ((result.Error = PathOf(store, one.FileID, one.Path)); !result.Error.empty()) return result;
        if (host.Progress && !host.Progress(done, total, one.Path)) {
            result.Cancelled = true;
            break;
        }
        // A drive away or a file gone: looked for again next time, without a line in the log for
        // each of what may be a million records.
        if (struct stat info {}; one.Path.empty() || stat(one.Path.c_str(), &info) != 0) {
            ++result.Failed;
            continue;
        }
        MadeFrame made = MakeFrameOf(one.Path, cache);
        Count(result, made, host);
        if (!made.Made.Failed) batch.Frames.emplace_back(wanted[done], std::move(made.Made));
        if (batch.Due() && !(result.Error = Commit(store, batch, host)).empty()) return result;
    }
    if (result.Error = Commit(store, batch, host); result.Error.empty() && host.Progress && !result.Cancelled)
        host.Progress(total, total, {});
    return result;
}

EnsuredFrame EnsureFrame(clsSQLite& store, const ThumbnailCache* cache, int fileID, const std::string& path) {
    EnsuredFrame result;
    if ((result.Error = ReadFrame(store, fileID, path, result.Found)); !result.Error.empty()) return result;
    if (result.Found) {
        if (result.Found->Jpeg.empty()) {
            result.Reason = result.Found->Note;
            result.Found.reset();
        }
        return result;
    }
    const MadeFrame made = MakeFrameOf(path, cache);
    result.Warning = made.CacheError;
    if ((result.Error = StoreFrame(store, fileID, path, made.Made)); !result.Error.empty()) return result;
    if (!made.Made.Made()) {
        result.Reason = made.Made.Reason;
        return result;
    }
    result.Found = StoredFrame{std::string(made.Made.Jpeg.begin(), made.Made.Jpeg.end()), made.Made.Width, made.Made.Height, {}};
    return result;
}
