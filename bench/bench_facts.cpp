// SPDX-License-Identifier: GPL-3.0-or-later
// Load Directory keeping each media file's facts, beside the same load without them:
// bench_facts SCRATCH FOLDER (the 300 clips in ten containers).
#include <cstdio>

#include "LoadTiming.h"

namespace {

// Without CRCs the probe is the load's main work, so the facts weigh most.
double Load(const std::string& scratch, const std::string& folder, bool facts) {
    LoadDirectoryRequest request{folder, "*", false, false};
    request.KeepFacts = facts;
    return LoadSeconds(scratch + "/facts-load.rvd", request);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("bench_facts SCRATCH FOLDER");
    Load(argv[1], argv[2], true);  // the clips into the page cache and the media module loaded
    const auto [ours, reference] = MediansInTurns(7, [&] { return Load(argv[1], argv[2], true); },
                                                  [&] { return Load(argv[1], argv[2], false); });
    const bool ok = ours / reference <= 1.10;
    std::printf("Load of 300 clips in ten containers keeping their media facts: %.3f s; without them %.3f s; "
                "ratio %.2f (bound <= 1.10) %s\n",
                ours, reference, ours / reference, ok ? "ok" : "MISSED");
    return ok ? 0 : 1;
}
