// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a scratch folder for the code that reads only by path, and the
// input cut into texts.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

// A folder of this process under $TMPDIR, removed when the run ends normally. After a crash it
// stays behind, with the input that caused it, for a look.
class ScratchFolder {
public:
    ScratchFolder() {
        const char* base = std::getenv("TMPDIR");
        path_ = std::string(base && *base ? base : "/tmp") + "/rv-fuzz-XXXXXX";
        if (!mkdtemp(path_.data())) std::abort();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string ScratchPath(const std::string& name) {
    static const ScratchFolder folder;
    return folder.Path(name);
}

// Replaces the file with exactly these bytes. A scratch file that cannot be written is a broken
// machine, not a finding, but it must not pass for one either.
inline void WriteScratchFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    const bool whole = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !whole) std::abort();
}

// The input cut at every NUL: no text from a command line or a line edit can hold one.
inline std::vector<std::string> SplitAtNul(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> texts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) texts.emplace_back();
        else texts.back() += static_cast<char>(data[i]);
    }
    return texts;
}
