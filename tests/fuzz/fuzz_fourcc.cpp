// SPDX-License-Identifier: GPL-3.0-or-later
// The RIFF header reader on any bytes, checked against a plain reading of the rule it documents.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "analysis/modMediaInfo.h"
#include "fuzz/FuzzInput.h"

namespace {

bool Holds(const std::uint8_t* data, std::size_t size, std::size_t offset, const char* word) {
    return offset + 4 <= size && std::memcmp(data + offset, word, 4) == 0;
}

std::string ExpectedFourCC(const std::uint8_t* data, std::size_t size) {
    if (!Holds(data, size, 0, "RIFF")) return {};
    for (std::size_t offset = 4; offset <= 512; offset += 4) {
        if (!Holds(data, size, offset, "vids")) continue;
        if (offset + 8 > size) return {};
        return std::string(reinterpret_cast<const char*>(data) + offset + 4, 4);
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("input.avi");
    WriteScratchFile(path, data, size);
    if (GetFourCC(path) != ExpectedFourCC(data, size)) std::abort();
    return 0;
}
