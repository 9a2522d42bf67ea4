// SPDX-License-Identifier: GPL-3.0-or-later
// Load Directory keeping each media file's facts, beside the same load without them:
// bench_facts SCRATCH FOLDER (the 300 clips in ten containers).
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "BenchSupport.h"
#include "store/modSchema.h"
#include "tools/LoadDirectory.h"

namespace {

struct QuietHost : ToolHost {
    void SetStatus(const std::string&) override {}
    bool Progress(std::int64_t, std::int64_t, const std::string&) override { return true; }
    void ShowLog(const std::string&) override {}
};

// Seconds of one load of the folder into a new catalogue, without CRCs (the probe is then the
// load's main work, so the facts weigh most), keeping the facts or not.
double LoadSeconds(const std::string& scratch, const std::string& folder, bool facts) {
    const std::string path = scratch + "/facts-load.rvd";
    std::filesystem::remove(path);
    Catalogue catalogue;
    if (std::string error = CreateNewDatabase(catalogue.Store, path); !error.empty()) Fail(error);
    if (std::string error = catalogue.Reload(); !error.empty()) Fail(error);
    QuietHost host;
    LoadDirectoryRequest request{folder, "*", false, false};
    request.KeepFacts = facts;
    const auto start = std::chrono::steady_clock::now();
    const ToolResult result = LoadDirectory(catalogue, request, host);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.Error.empty()) Fail(result.Error);
    if (result.Changed == 0) Fail("nothing was loaded");
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("bench_facts SCRATCH FOLDER");
    LoadSeconds(argv[1], argv[2], true);  // the clips into the page cache and the media module loaded
    std::vector<double> kept, without;
    for (int run = 0; run < 7; ++run) {  // in turns, so that a noisy moment hits both alike
        kept.push_back(LoadSeconds(argv[1], argv[2], true));
        without.push_back(LoadSeconds(argv[1], argv[2], false));
    }
    const double ours = Median(kept), reference = Median(without);
    const bool ok = ours / reference <= 1.10;
    std::printf("Load of 300 clips in ten containers keeping their media facts: %.3f s; without them %.3f s; "
                "ratio %.2f (bound <= 1.10) %s\n",
                ours, reference, ours / reference, ok ? "ok" : "MISSED");
    return ok ? 0 : 1;
}
