// SPDX-License-Identifier: GPL-3.0-or-later
// Timing and reporting shared by the benchmark programs.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

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

// The middle value of a few runs' figures: one disturbed run does not move it.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

[[noreturn]] inline void Fail(const std::string& message) {
    std::cerr << message << "\n";
    std::exit(1);
}

// The wall time of a command run to its end with its output thrown away; fails unless it exits 0.
inline double CommandSeconds(const std::vector<std::string>& command) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) Fail("cannot start " + command[0]);
    int status = 0;
    waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail(command[0] + " " + command[1] + " failed");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A line of /proc/self/status in MiB: "VmRSS" is resident now, "VmHWM" its peak.
inline double ResidentMiB(const std::string& key = "VmRSS") {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(key + ":")) return std::stod(line.substr(key.size() + 1)) / 1024;
    }
    return 0;
}

// The medians of ours and of the reference, run in turns so that a noisy moment hits both alike.
template <class Ours, class Reference>
std::pair<double, double> MediansInTurns(int runs, Ours ours, Reference reference) {
    std::vector<double> oursTimes, referenceTimes;
    for (int run = 0; run < runs; ++run) {
        oursTimes.push_back(ours());
        referenceTimes.push_back(reference());
    }
    return {Median(oursTimes), Median(referenceTimes)};
}
