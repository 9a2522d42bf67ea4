// SPDX-License-Identifier: GPL-3.0-or-later
// The media module: the FFmpeg half of the media probe, a shared module of ours that links FFmpeg,
// so that only a program that probes a file pays for loading FFmpeg's hundred-odd libraries. It is
// loaded by the first probe and stays for the life of the process. A program that links the probe
// in itself (the fuzz target) uses that. Otherwise the module is looked for, in order:
//   1. at RV_MEDIA_MODULE, when that environment variable is set and not empty, and nowhere else
//      (tests point it at a missing or stale module);
//   2. at ../lib/reelvault/media-probe.so from the folder of the running program, as
//      cmake --install lays them out (the path follows CMAKE_INSTALL_LIBDIR);
//   3. for a program inside the build tree (tests, benchmarks, build/.../rv), the module built there.
#pragma once

#include <memory>
#include <string>

#include "analysis/media/MediaProbeAbi.h"

class MediaModule {
public:
    MediaModule(const MediaModule&) = delete;
    MediaModule& operator=(const MediaModule&) = delete;

    // The process's module, loaded (or found unloadable) by the first call. Safe to call from
    // several threads at once.
    static const MediaModule& Get();
    // Whether Get has been called, so that asking never loads the module.
    static bool Tried();

    // "" when the module works; otherwise "Media facts unavailable: REASON", REASON from the
    // dynamic loader, the module's version or FFmpeg's version check.
    const std::string& Unavailable() const { return unavailable_; }
    // The module's verdict on the request; only when Unavailable() is "".
    RvMediaVerdict Probe(const RvMediaRequest& request) const;
    // Whether a demuxer of sound or moving pictures claims the path's extension; only when
    // Unavailable() is "".
    bool NameClaimed(const std::string& path) const;
    // The module's picture of the file; only when Unavailable() is "". The result's buffers are
    // the module's until FreeFrame is given it.
    RvFrameResult MakeFrame(const RvFrameRequest& request) const;
    void FreeFrame(RvFrameResult& result) const;
    // FFmpeg's release and its libraries' versions; "" when Unavailable() is not "".
    std::string FFmpegVersions() const;

private:
    MediaModule();
    // The module's entry, or null with unavailable_ saying why.
    void* Open(const std::string& path);
    struct Close {
        void operator()(void* handle) const;
    };
    std::unique_ptr<void, Close> handle_;
    const RvMediaProbe* table_ = nullptr;
    std::string unavailable_;
};
