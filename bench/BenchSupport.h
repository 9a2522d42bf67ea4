// SPDX-License-Identifier: GPL-3.0-or-later
// Timing and reporting shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

// The shortest wall time of work over runs tries: the least disturbed by a busy machine.
template <class Work>
double BestSeconds(int runs, Work work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

[[noreturn]] inline void Fail(const std::string& message) {
    std::cerr << message << "\n";
    std::exit(1);
}

// A line of /proc/self/status in MiB: "VmRSS" is resident now, "VmHWM" its peak.
inline double ResidentMiB(const std::string& key = "VmRSS") {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(key + ":")) return std::stod(line.substr(key.size() + 1)) / 1024;
    }
    return 0;
}
