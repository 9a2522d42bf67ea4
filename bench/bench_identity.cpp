// SPDX-License-Identifier: GPL-3.0-or-later
// Load Directory with the contents hashed in the same read as the CRC, beside the same load with
// the CRC alone: bench_identity SCRATCH FOLDER.
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

// Seconds of one load of the folder into a new catalogue, hashing the files or not.
double LoadSeconds(const std::string& scratch, const std::string& folder, bool hashed) {
    const std::string path = scratch + "/identity-load.rvd";
    std::filesystem::remove(path);
    Catalogue catalogue;
    if (std::string error = CreateNewDatabase(catalogue.Store, path); !error.empty()) Fail(error);
    if (std::string error = catalogue.Reload(); !error.empty()) Fail(error);
    QuietHost host;
    LoadDirectoryRequest request{folder, "*", false, true};
    request.HashContents = hashed;
    const auto start = std::chrono::steady_clock::now();
    const ToolResult result = LoadDirectory(catalogue, request, host);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.Error.empty()) Fail(result.Error);
    if (result.Changed == 0) Fail("nothing was loaded");
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("bench_identity SCRATCH FOLDER");
    std::vector<double> hashed, alone;
    for (int run = 0; run < 5; ++run) {  // in turns, so that a noisy moment hits both alike
        hashed.push_back(LoadSeconds(argv[1], argv[2], true));
        alone.push_back(LoadSeconds(argv[1], argv[2], false));
    }
    const double ours = Median(hashed), reference = Median(alone);
    std::printf("Load of 1,000 files of 1 MiB with CRC and hash: %.3f s; with the CRC alone %.3f s; ratio %.2f (bound <= 1.10)%s\n",
                ours, reference, ours / reference, ours / reference <= 1.10 ? "" : "  MISSED");
    return ours / reference <= 1.10 ? 0 : 1;
}
