// SPDX-License-Identifier: GPL-3.0-or-later
// Load Directory with the contents hashed in the same read as the CRC, beside the same load with
// the CRC alone: bench_identity SCRATCH FOLDER.
#include <cstdio>

#include "LoadTiming.h"

namespace {

double Load(const std::string& scratch, const std::string& folder, bool hashed) {
    LoadDirectoryRequest request{folder, "*", false, true};
    request.HashContents = hashed;
    return LoadSeconds(scratch + "/identity-load.rvd", request);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("bench_identity SCRATCH FOLDER");
    const auto [ours, reference] = MediansInTurns(5, [&] { return Load(argv[1], argv[2], true); },
                                                  [&] { return Load(argv[1], argv[2], false); });
    std::printf("Load of 1,000 files of 1 MiB with CRC and hash: %.3f s; with the CRC alone %.3f s; ratio %.2f (bound <= 1.10)%s\n",
                ours, reference, ours / reference, ours / reference <= 1.10 ? "" : "  MISSED");
    return ours / reference <= 1.10 ? 0 : 1;
}
