// SPDX-License-Identifier: GPL-3.0-or-later
// A film's frame: one small picture of a media file, taken by the media module (see MediaModule.h
// and RvMediaProbe::MakeFrame for which picture).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// The stored picture's width at most; narrower pictures keep their own.
inline constexpr int kFrameWidth = 320;
// How long one frame may take before it gives up.
inline constexpr std::chrono::milliseconds kFrameTimeout{10000};

struct Frame {
    std::vector<unsigned char> Jpeg;  // empty when no frame was made
    int Width = 0, Height = 0;
    // The picture fitted in a square of the thumbEdge asked for, 3 bytes a pixel (RGB), rows packed;
    // empty when none was asked for or no frame was made.
    std::vector<unsigned char> Rgb;
    int RgbWidth = 0, RgbHeight = 0;
    // "" for a frame; otherwise a sentence naming the file and why there is none.
    std::string Reason;
    // The file could not be examined (no access, read error, time-out, memory, module missing), as
    // opposed to examined and found to hold no picture: worth trying again later.
    bool Failed = false;
    bool Made() const { return !Jpeg.empty(); }
};

// Makes the frame of the file at path, and its picture for a thumbnail cache when thumbEdge > 0.
// Loads the media module on first use. Safe to call from several threads at once.
Frame MakeFrame(const std::string& path, int thumbEdge = 0, std::chrono::milliseconds timeout = kFrameTimeout);
