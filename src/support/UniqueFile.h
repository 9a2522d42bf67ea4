// SPDX-License-Identifier: GPL-3.0-or-later
// A C stream that closes itself.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// fopen with close-on-exec, so a program we start never inherits the stream. Null with errno set
// when it fails.
inline UniqueFile OpenUniqueFile(const std::string& path, const char* mode) {
    return UniqueFile(std::fopen(path.c_str(), (std::string(mode) + "e").c_str()));
}
