// SPDX-License-Identifier: GPL-3.0-or-later
// Media facts of every file in a folder, asked the way the Add/Edit tab asks them (IsMediaFile,
// GetMediaLength, GetFourCC) and the way a directory scan does (one GetMediaInfo), timed apart.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/modMediaInfo.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_media FOLDER\n");
        return 2;
    }
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (entry.is_regular_file()) paths.push_back(std::filesystem::absolute(entry.path()).string());

    int media = 0, withFourCC = 0;
    const Clock::time_point threeCalls = Clock::now();
    for (const std::string& path : paths) {
        if (IsMediaFile(path) && GetMediaLength(path) > 0) ++media;
        if (!GetFourCC(path).empty()) ++withFourCC;
    }
    const double threeCallsSeconds = Seconds(threeCalls);

    int mediaOnce = 0;
    const Clock::time_point oneProbe = Clock::now();
    for (const std::string& path : paths) {
        const MediaInfo info = GetMediaInfo(path);
        if (info.IsMedia && info.Length > 0) ++mediaOnce;
    }
    const double oneProbeSeconds = Seconds(oneProbe);

    std::printf("files=%zu media=%d fourcc=%d three_calls_per_s=%.0f one_probe_per_s=%.0f media_once=%d\n",
                paths.size(), media, withFourCC, paths.size() / threeCallsSeconds, paths.size() / oneProbeSeconds,
                mediaOnce);
    return media == static_cast<int>(paths.size()) && mediaOnce == media ? 0 : 1;
}
