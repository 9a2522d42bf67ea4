// SPDX-License-Identifier: GPL-3.0-or-later
// One open file descriptor, with every failing system call reported as its errno and text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

// What a file was at one moment: enough to tell later whether it may have changed since.
struct FileStamp {
    std::int64_t Size = 0;
    std::int64_t MTimeNs = 0;  // last modified, in ns since 1970, as finely as the filesystem keeps it
    std::uint64_t Device = 0;  // st_dev: a drive plugged in again may come back under another number
    std::uint64_t Inode = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at path, following links; nullopt with errno set when it cannot be asked.
std::optional<FileStamp> StampOfPath(const std::string& path);

// Holds at most one descriptor and closes it when released. Only the calls that reading a file
// whole needs are here: open, size, read, close.
class cFile {
public:
    // Told of each failed system call, with errno and the system's text for it. The result of the
    // call says that it failed whether or not a handler is set.
    using ErrorHandler = std::function<void(int errNumber, const std::string& errString)>;
    ErrorHandler Error;

    cFile() = default;
    cFile(const cFile&) = delete;
    cFile& operator=(const cFile&) = delete;
    ~cFile() { CloseFile(); }

    // The descriptor, -1 when none is open (0 is a valid descriptor on this platform).
    int FileHandle() const { return handle_; }

    // The size in bytes, 64-bit; 0 when no file is open, -1 (and Error) when it cannot be asked.
    std::int64_t FileSize() const;
    // Whether the open descriptor is a plain file, not a directory, pipe or device. False when no
    // file is open or it cannot be asked (then Error).
    bool IsRegularFile() const;
    // The open file's stamp; nullopt when no file is open or it cannot be asked (then Error).
    std::optional<FileStamp> Stamp() const;

    // Opens path with open(2) flags (close-on-exec is always added), first closing a file this
    // object still holds. Returns the descriptor, or -1: silently for an empty path, otherwise
    // after raising Error.
    int OpenFile(const std::string& sFileName, int flags);

    // Reads at most buffer.size() bytes at the current position, going on after interrupted calls.
    // Returns the count read, 0 at the end of the file, or -1 (and Error) when the read fails or
    // no file is open.
    std::int64_t ReadFromFile(std::span<unsigned char> buffer);

    // Closes the held descriptor, if any. A close that fails is still a close: the descriptor is
    // gone and is not reported.
    void CloseFile();

private:
    void Raise(int errNumber) const;
    static std::string ErrorText(int errNumber);

    int handle_ = -1;
};
