// SPDX-License-Identifier: GPL-3.0-or-later
// What a script pays per rvcli call: its start-up beside sqlite3 answering from the same catalogue,
// and a CRC of a cached file beside cat reading it. Each figure is the median of several runs taken
// in turns with its reference, printed with their ratio against its bound:
//   bench_startup RVCLI SQLITE3 CAT CATALOGUE BIG_FILE
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

constexpr int kRuns = 11;

using Command = std::vector<std::string>;

// The median times of ours and of the reference, run in turns so that a busy moment hits both.
std::pair<double, double> MedianSeconds(const Command& ours, const Command& reference) {
    std::vector<double> oursTimes, referenceTimes;
    CommandSeconds(ours);  // the first run of each pays for filling the page cache
    CommandSeconds(reference);
    for (int run = 0; run < kRuns; ++run) {
        oursTimes.push_back(CommandSeconds(ours));
        referenceTimes.push_back(CommandSeconds(reference));
    }
    return {Median(oursTimes), Median(referenceTimes)};
}

// Time against time: ours may take at most bound times as long.
void CompareTime(const std::string& what, const Command& ours, const std::string& referenceName,
                 const Command& reference, double bound) {
    const auto [mine, theirs] = MedianSeconds(ours, reference);
    std::printf("%-36s %7.1f ms; %s %.1f ms; ratio %.2f (bound <= %.1f) %s\n", what.c_str(), mine * 1e3,
                referenceName.c_str(), theirs * 1e3, mine / theirs, bound, mine / theirs <= bound ? "ok" : "MISSED");
}

// Speed against speed: ours must reach at least bound of the reference's speed.
void CompareSpeed(const std::string& what, const Command& ours, const std::string& referenceName,
                  const Command& reference, double bound) {
    const auto [mine, theirs] = MedianSeconds(ours, reference);
    std::printf("%-36s %7.1f ms; %s %.1f ms; speed ratio %.2f (bound >= %.1f) %s\n", what.c_str(), mine * 1e3,
                referenceName.c_str(), theirs * 1e3, theirs / mine, bound, theirs / mine >= bound ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) Fail("usage: bench_startup RVCLI SQLITE3 CAT CATALOGUE BIG_FILE");
    const std::string rvcli = argv[1], sqlite3 = argv[2], cat = argv[3], catalogue = argv[4], big = argv[5];
    const Command count{sqlite3, catalogue, "SELECT COUNT(*) FROM tblFile"};
    CompareTime("rvcli --version", {rvcli, "--version"}, "sqlite3 COUNT(*)", count, 3);
    CompareTime("rvcli search, 10 files", {rvcli, "search", catalogue}, "sqlite3 COUNT(*)", count, 3);
    CompareSpeed("rvcli crc, 1 GiB cached", {rvcli, "crc", big}, "cat", {cat, big}, 0.9);
}
