// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modAtomicFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "support/UniqueFile.h"

namespace {

// Reads errno before the clean-up can change it.
std::string FailAndRemove(const std::string& path, const std::string& temporary) {
    std::string error = "Could not write " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return error;
}

}  // namespace

std::string WriteFileAtomically(const std::string& path, const std::string& contents) {
    const std::string temporary = path + ".new";
    {
        const UniqueFile file = OpenUniqueFile(temporary, "wb");
        if (!file) return "Could not write " + path + ": " + std::strerror(errno);
        const bool written = std::fwrite(contents.data(), 1, contents.size(), file.get()) == contents.size() &&
                             std::fflush(file.get()) == 0 && fsync(fileno(file.get())) == 0;
        if (!written) return FailAndRemove(path, temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) return FailAndRemove(path, temporary);
    return {};
}
