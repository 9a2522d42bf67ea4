// SPDX-License-Identifier: GPL-3.0-or-later
// The pass that makes the frames a catalogue lacks, after a load or from the command line. Frames
// are written a few at a time, each batch in one transaction: a cancel or a crash keeps every batch
// committed before it and loses at most the one in flight.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frames/FrameStore.h"
#include "frames/ThumbnailCache.h"

struct FramePassHost {
    // Records done of total, and the file at hand; returns false to stop. May be left empty.
    std::function<bool(int done, int total, const std::string& current)> Progress;
    // The records whose rows were just committed (a frame or a note that there is none).
    std::function<void(const std::vector<int>& fileIDs)> Arrived;
    // A line for the log: why a file gave no frame, or the cache could not be written.
    std::function<void(const std::string& line)> Log;
};

struct FramePassResult {
    int Made = 0;      // frames stored
    int NoPicture = 0; // files that hold none, noted so
    int Failed = 0;    // files that could not be read (drive away, no access): tried again next time
    bool Cancelled = false;
    std::string Error;  // "" or the write that stopped the pass
};

// Makes the frame of every record of the open catalogue that lacks one. cache may be null. Does
// nothing on a catalogue opened read-only or whose own tables are not usable.
FramePassResult MakeMissingFrames(clsSQLite& store, const ThumbnailCache* cache, const FramePassHost& host);

struct EnsuredFrame {
    std::optional<StoredFrame> Found;  // the record's frame; nullopt when there is none
    std::string Reason;                // why there is none
    std::string Warning;               // "" or why the thumbnail cache could not be written
    std::string Error;                 // "" or the engine's message
};

// The record's frame, made and stored when none is stored yet and its file is there.
EnsuredFrame EnsureFrame(clsSQLite& store, const ThumbnailCache* cache, int fileID, const std::string& path);
