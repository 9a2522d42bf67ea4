// SPDX-License-Identifier: GPL-3.0-or-later
// The records' frames in the catalogue's own table rvFrame, one row per record by FileID. A row is
// trusted only while the record's path is the one it was made for (its PathKey), and read one
// record at a time: the pictures never come with the list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/modFrame.h"
#include "store/clsSQLite.h"

struct StoredFrame {
    std::string Jpeg;  // empty: the file was found to hold no picture
    int Width = 0, Height = 0;
    std::string Note;  // why there is no picture; "" with one
};

// The record's stored frame into found (nullopt when none is stored for the path, or the
// catalogue's own tables are not usable). "" or the engine's message.
std::string ReadFrame(clsSQLite& store, int fileID, const std::string& path, std::optional<StoredFrame>& found);

// Stores the frame made of the record's file, or that it holds none (frame.Reason). A frame that
// could not be examined (frame.Failed) is not stored, so that it is tried again. "" or the
// engine's message; nothing is written to a catalogue opened read-only or whose own tables are not
// usable (then ""), nor for a record that is gone or has another path now.
std::string StoreFrame(clsSQLite& store, int fileID, const std::string& path, const Frame& frame);

struct FrameWanted {
    int FileID = 0;
    std::string Path;
};

// The records with no frame stored for their path, in FileID order, without their paths: a
// million of them would hold a hundred megabytes. "" or the engine's message.
std::string MissingFrames(clsSQLite& store, std::vector<FrameWanted>& wanted);
// The record's path; "" when it is gone. "" or the engine's message.
std::string PathOf(clsSQLite& store, int fileID, std::string& path);
