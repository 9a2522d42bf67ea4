// SPDX-License-Identifier: GPL-3.0-or-later
// Damage done to a catalogue file as a failing disk or a broken copy does it.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

// Cuts the file to half its length, as a copy broken off part of the way.
inline void Truncate(const std::string& path) {
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
}

// Overwrites one page (numbered from 1, of the default 4096 bytes) with zeros, as a bad sector.
// Page 2 holds the first table, tblFile.
inline void ZeroPage(const std::string& path, int page = 2) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(page - 1) * 4096);
    const std::string zeros(4096, '\0');
    file.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
}

// The whole file, for comparing before and after.
inline std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
