// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/cFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

FileStamp StampOf(const struct stat& info) {
    return {info.st_size, std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileStamp> StampOfPath(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return StampOf(info);
}

std::int64_t cFile::FileSize() const {
    if (handle_ < 0) return 0;
    struct stat info {};
    if (fstat(handle_, &info) != 0) {
        Raise(errno);
        return -1;
    }
    return info.st_size;
}

bool cFile::IsRegularFile() const {
    if (handle_ < 0) return false;
    struct stat info {};
    if (fstat(handle_, &info) != 0) {
        Raise(errno);
        return false;
    }
    return S_ISREG(info.st_mode);
}

std::optional<FileStamp> cFile::Stamp() const {
    if (handle_ < 0) return std::nullopt;
    struct stat info {};
    if (fstat(handle_, &info) != 0) {
        Raise(errno);
        return std::nullopt;
    }
    return StampOf(info);
}

int cFile::OpenFile(const std::string& sFileName, int flags) {
    CloseFile();
    if (sFileName.empty()) return -1;
    handle_ = open(sFileName.c_str(), flags | O_CLOEXEC);
    if (handle_ < 0) Raise(errno);
    return handle_;
}

std::int64_t cFile::ReadFromFile(std::span<unsigned char> buffer) {
    if (handle_ < 0) return -1;
    for (;;) {
        const ssize_t count = read(handle_, buffer.data(), buffer.size());
        if (count >= 0) return count;
        if (errno != EINTR) {
            Raise(errno);
            return -1;
        }
    }
}

void cFile::CloseFile() {
    // Linux releases the descriptor even when close reports an error, so retrying would close
    // someone else's.
    if (handle_ >= 0) close(handle_);
    handle_ = -1;
}

void cFile::Raise(int errNumber) const {
    if (Error) Error(errNumber, ErrorText(errNumber));
}

std::string cFile::ErrorText(int errNumber) {
    const char* text = strerrordesc_np(errNumber);
    return text ? text : "Unknown Error";
}
