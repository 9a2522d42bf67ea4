// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modReadFileEx.h"

#include <fcntl.h>
#include <isa-l/crc.h>

#include <algorithm>
#include <memory>
#include <span>

#include "analysis/cFile.h"
#include "analysis/modCrc2.h"

// How the reading overlaps the folding: with the kernel told that the file is read sequentially,
// its read-ahead fetches the next part of the file from the disk while this thread folds the part
// it has. A reader thread would buy nothing more: folding runs at several times the speed of the
// copy out of the page cache, and handing buffers between cores costs more than it saves.
//
// ISA-L's crc32_gzip_refl is the same CRC-32 as the table's, folded with carry-less
// multiplication; it inverts on entry and on exit itself, so its running value is a finished CRC
// and 0 is the CRC of nothing.

namespace {

CRCResult Unreadable(const std::string& path, const std::string& reason) {
    CRCResult result;
    result.Error = "Could not read " + path + ": " + reason;
    return result;
}

CRCResult Cancelled(const std::string& path) {
    CRCResult result;
    result.Error = "Cancelled: " + path;
    result.Cancelled = true;
    return result;
}

CRCResult Computed(std::uint32_t crc) {
    CRCResult result;
    result.Text = CRCText(crc);
    result.Value = crc;
    return result;
}

// Small files get a small buffer: a catalogue of many small files should pay for little more
// than the open, read and close.
std::size_t BufferSize(std::int64_t fileSize) {
    constexpr std::int64_t smallest = 4096;
    return static_cast<std::size_t>(std::clamp<std::int64_t>(fileSize, smallest, kCRCChunkSize));
}

}  // namespace

CRCResult CalculateFileCRC(const std::string& path, const CRCProgress& progress) {
    if (path.empty()) return Unreadable(path, "No file name");
    cFile file;
    std::string reason;
    file.Error = [&reason](int, const std::string& text) { reason = text; };

    // Non-blocking, so that a named pipe cannot hold the open forever; a plain file ignores it.
    if (file.OpenFile(path, O_RDONLY | O_NONBLOCK) < 0) return Unreadable(path, reason);
    if (!file.IsRegularFile()) return Unreadable(path, reason.empty() ? "Not a regular file" : reason);
    const std::int64_t total = file.FileSize();
    if (total < 0) return Unreadable(path, reason);
    if (total > static_cast<std::int64_t>(kCRCChunkSize))
        posix_fadvise(file.FileHandle(), 0, 0, POSIX_FADV_SEQUENTIAL);  // only advice; failure is harmless

    const std::size_t size = BufferSize(total);
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(size);
    std::uint32_t crc = 0;
    std::int64_t done = 0;
    for (;;) {
        const std::int64_t count = file.ReadFromFile({buffer.get(), size});
        if (count < 0) return Unreadable(path, reason);
        if (count == 0) break;
        crc = crc32_gzip_refl(crc, buffer.get(), static_cast<std::uint64_t>(count));
        done += count;
        if (progress && !progress(done, total)) return Cancelled(path);
    }
    return Computed(crc);
}
