// SPDX-License-Identifier: GPL-3.0-or-later
// The media module's only export: the table the core checks and calls.
#include <string>

#include "analysis/media/FFmpegFrame.h"
#include "analysis/media/FFmpegProbe.h"

namespace {

const char* SetUp() {
    static std::string problem;  // the core calls this once, before any probe, and keeps the text
    problem = SetUpFFmpeg();
    return problem.c_str();
}

void Probe(const RvMediaRequest* request, RvMediaVerdict* verdict) { ProbeWithFFmpeg(*request, *verdict); }

const char* Versions() {
    static const std::string versions = FFmpegVersions();
    return versions.c_str();
}

int NameClaimed(const char* path) { return NameClaimedByMedia(path) ? 1 : 0; }

void MakeFrame(const RvFrameRequest* request, RvFrameResult* result) { MakeFrameWithFFmpeg(*request, *result); }

void FreeFrame(RvFrameResult* result) { FreeFrameOfFFmpeg(*result); }

constexpr RvMediaProbe kTable{RV_MEDIA_PROBE_VERSION, SetUp, Probe, Versions, NameClaimed, MakeFrame, FreeFrame};

}  // namespace

extern "C" __attribute__((visibility("default"))) const RvMediaProbe* rv_media_probe_entry() { return &kTable; }
