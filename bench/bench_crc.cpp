// SPDX-License-Identifier: GPL-3.0-or-later
// CRC-32 of every file named, and of every file in every folder named (not descending further).
// Prints "files=N bytes=B failed=F" so that a script can time it beside other tools.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "analysis/modReadFileEx.h"

namespace {

struct Totals {
    std::int64_t files = 0, bytes = 0, failed = 0;
};

void Add(const std::string& path, Totals& totals) {
    std::int64_t size = 0;
    const CRCResult result = CalculateFileCRC(path, [&size](std::int64_t done, std::int64_t) {
        size = done;
        return true;
    });
    ++totals.files;
    totals.bytes += size;
    if (!result) {
        ++totals.failed;
        std::fprintf(stderr, "%s\n", result.Error.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    Totals totals;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (!std::filesystem::is_directory(argv[i], error)) {
            Add(argv[i], totals);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
            if (entry.is_regular_file()) Add(entry.path().string(), totals);
    }
    std::printf("files=%lld bytes=%lld failed=%lld\n", static_cast<long long>(totals.files),
                static_cast<long long>(totals.bytes), static_cast<long long>(totals.failed));
    return totals.failed == 0 ? 0 : 1;
}
