// SPDX-License-Identifier: GPL-3.0-or-later
// One timed Load Directory into a new catalogue, for the benchmarks that weigh what a load keeps.
#pragma once

#include <chrono>
#include <filesystem>

#include "BenchSupport.h"
#include "store/modSchema.h"
#include "tools/LoadDirectory.h"

struct QuietHost : ToolHost {
    void SetStatus(const std::string&) override {}
    bool Progress(std::int64_t, std::int64_t, const std::string&) override { return true; }
    void ShowLog(const std::string&) override {}
};

// Seconds of the load of request into the new catalogue at path (made afresh each time).
inline double LoadSeconds(const std::string& path, const LoadDirectoryRequest& request) {
    std::filesystem::remove(path);
    Catalogue catalogue;
    if (std::string error = CreateNewDatabase(catalogue.Store, path); !error.empty()) Fail(error);
    if (std::string error = catalogue.Reload(); !error.empty()) Fail(error);
    QuietHost host;
    const auto start = std::chrono::steady_clock::now();
    const ToolResult result = LoadDirectory(catalogue, request, host);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.Error.empty()) Fail(result.Error);
    if (result.Changed == 0) Fail("nothing was loaded");
    return seconds;
}
