// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modReadFileEx.h"

#include <fcntl.h>
#include <isa-l/crc.h>
#if defined(__aarch64__)
#include <sys/auxv.h>
#endif
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "analysis/cFile.h"
#include "analysis/modCrc2.h"

// How the reading overlaps the folding: with the kernel told that the file is read sequentially,
// its read-ahead fetches the next part of the file from the disk while this thread folds the part
// it has. A reader thread would buy nothing more: folding runs at several times the speed of the
// copy out of the page cache, and handing buffers between cores costs more than it saves.
//
// That copy is what limits one core (5-9 GB/s here, where the fold alone runs at 27). A large
// file is therefore cut into as many parts as there are cores, up to four; each part is read and
// folded on its own core, and the parts' CRCs are joined with zlib's crc32_combine, which shifts
// a CRC past the length of what follows it. Two cores copy nearly twice as fast as one.
//
// The contents' hash, when asked for, is taken from the same buffers as the CRC: each part hashes
// its own segments (see ContentHash.h), which is why the parts begin at segment boundaries.
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

CRCResult ChangedWhileRead(const std::string& path) {
    CRCResult result = Unreadable(path, "the file changed while it was read");
    result.ChangedWhileRead = true;
    return result;
}

CRCResult Cancelled(const std::string& path) {
    CRCResult result;
    result.Error = "Cancelled: " + path;
    result.Cancelled = true;
    return result;
}

CRCResult Computed(std::uint32_t crc, std::int64_t bytes, const std::optional<std::vector<ContentHash>>& segments) {
    CRCResult result;
    result.Text = CRCText(crc);
    result.Value = crc;
    result.Bytes = bytes;
    if (segments) {
        result.Hash = CombineSegments(*segments);
        result.Hashed = true;
    }
    return result;
}

// Files above this are read in parts on several cores.
constexpr std::int64_t kSplitAbove = std::int64_t{64} << 20;

// A chunk is folded into the CRC and the hash a slice at a time, so that the hash reads each slice
// while the CRC has just left it in the processor's nearest caches, rather than the whole chunk
// from memory a second time.
constexpr std::size_t kFoldSlice = std::size_t{64} << 10;

std::uint32_t Fold(std::uint32_t crc, std::span<const unsigned char> bytes, std::optional<SegmentHasher>& hasher) {
    if (!hasher) return crc32_gzip_refl(crc, bytes.data(), bytes.size());
    for (std::size_t at = 0; at < bytes.size(); at += kFoldSlice) {
        const std::span<const unsigned char> slice = bytes.subspan(at, std::min(kFoldSlice, bytes.size() - at));
        crc = crc32_gzip_refl(crc, slice.data(), slice.size());
        hasher->Update(slice);
    }
    return crc;
}

struct Part {
    std::int64_t From = 0;  // a segment's start
    std::int64_t To = 0;    // -1: on to the end of the file, however long it has grown
    std::uint32_t CRC = 0;
    std::int64_t Read = 0;
    int Error = 0;  // errno of a failed read
    std::vector<ContentHash> Segments;
};

// Reads and folds one part, and hashes it when asked; done counts the bytes of all parts together.
void FoldPart(int handle, Part& part, bool hash, std::atomic<std::int64_t>& done, const std::atomic<bool>& stop,
              const std::function<void()>& afterChunk = {}) {
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kCRCChunkSize);
    std::optional<SegmentHasher> hasher;
    if (hash) hasher.emplace();
    for (std::int64_t at = part.From; (part.To < 0 || at < part.To) && !stop;) {
        const std::int64_t wanted = part.To < 0 ? kCRCChunkSize : std::min<std::int64_t>(kCRCChunkSize, part.To - at);
        ssize_t count;
        do count = pread(handle, buffer.get(), static_cast<std::size_t>(wanted), at);
        while (count < 0 && errno == EINTR);
        if (count < 0) {
            part.Error = errno;
            return;
        }
        if (count == 0) break;
        part.CRC = Fold(part.CRC, {buffer.get(), static_cast<std::size_t>(count)}, hasher);
        part.Read += count;
        at += count;
        done += count;
        if (afterChunk) afterChunk();
    }
    if (hasher) part.Segments = hasher->Segments();
}

// The CRC of a large file from parts folded on several cores. Progress is reported and a stop
// asked for on the calling thread, while the other parts run.
CRCResult FoldInParts(const std::string& path, int handle, std::int64_t total, bool hash, const CRCProgress& progress) {
    const std::size_t count = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
    const auto boundary = [&](std::size_t i) {
        const auto segment = static_cast<std::int64_t>(kHashSegment);
        return total / static_cast<std::int64_t>(count) * static_cast<std::int64_t>(i) / segment * segment;
    };
    std::vector<Part> parts(count);
    for (std::size_t i = 0; i < count; ++i) {
        parts[i].From = boundary(i);
        parts[i].To = i + 1 == count ? -1 : boundary(i + 1);
    }
    std::atomic<std::int64_t> done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable partDone;
    std::size_t finished = 0;  // guarded by mutex
    const auto report = [&] {
        if (progress && !progress(done, total)) stop = true;
    };
    {
        std::vector<std::jthread> others;
        for (std::size_t i = 1; i < count; ++i) {
            others.emplace_back([&, i] {
                FoldPart(handle, parts[i], hash, done, stop);
                std::lock_guard lock(mutex);
                ++finished;
                partDone.notify_one();
            });
        }
        FoldPart(handle, parts[0], hash, done, stop, report);
        // Keeps the caller informed, and able to stop, to the end; but a fixed sleep would add up to
        // its length to every large file's CRC after the last part is done.
        std::unique_lock lock(mutex);
        while (!partDone.wait_for(lock, std::chrono::milliseconds(20), [&] { return finished == count - 1; })) {
            lock.unlock();
            report();
            lock.lock();
        }
    }
    if (stop) return Cancelled(path);
    std::uint32_t crc = parts[0].CRC;
    std::optional<std::vector<ContentHash>> segments;
    if (hash) segments.emplace();
    for (const Part& part : parts) {
        if (part.Error != 0) return Unreadable(path, std::strerror(part.Error));
        if (part.To >= 0 && part.From + part.Read != part.To) return ChangedWhileRead(path);
        if (&part != &parts[0]) crc = static_cast<std::uint32_t>(crc32_combine(crc, part.CRC, part.Read));
        if (segments) segments->insert(segments->end(), part.Segments.begin(), part.Segments.end());
    }
    if (progress) progress(done, total);  // the whole count, even when the last chunk was another core's
    return Computed(crc, done, segments);
}

using CPUFeature = std::pair<const char*, bool>;

std::string FoldAndFeatures(const char* fold, std::initializer_list<CPUFeature> features) {
    if (features.size() == 0) return fold;
    std::string text = std::string(fold) + " (";
    for (const auto& [name, offered] : features) {
        if (text.back() != '(') text += ", ";
        text += std::string(name) + (offered ? " yes" : " no");
    }
    return text + ")";
}

// Small files get a small buffer: a catalogue of many small files should pay for little more
// than the open, read and close.
std::size_t BufferSize(std::int64_t fileSize) {
    constexpr std::int64_t smallest = 4096;
    return static_cast<std::size_t>(std::clamp<std::int64_t>(fileSize, smallest, kCRCChunkSize));
}

CRCResult FoldWhole(const std::string& path, cFile& file, const std::string& reason, std::int64_t total, bool hash,
                    const CRCProgress& progress, std::vector<unsigned char>& first, std::size_t keepFirst) {
    const std::size_t size = BufferSize(total);
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(size);
    std::optional<SegmentHasher> hasher;
    if (hash) hasher.emplace();
    std::uint32_t crc = 0;
    std::int64_t done = 0;
    for (;;) {
        const std::int64_t count = file.ReadFromFile({buffer.get(), size});
        if (count < 0) return Unreadable(path, reason);
        if (count == 0) break;
        const std::span<const unsigned char> chunk(buffer.get(), static_cast<std::size_t>(count));
        if (first.size() < keepFirst) first.insert(first.end(), chunk.begin(), chunk.begin() + std::min(chunk.size(), keepFirst - first.size()));
        crc = Fold(crc, chunk, hasher);
        done += count;
        if (progress && !progress(done, total)) return Cancelled(path);
    }
    return Computed(crc, done, hasher ? std::optional(hasher->Segments()) : std::nullopt);
}

// A file read in parts has its first bytes read apart: a few KiB beside tens of MiB.
std::vector<unsigned char> FirstBytes(int handle, std::size_t count) {
    std::vector<unsigned char> first(count);
    ssize_t read;
    do read = pread(handle, first.data(), count, 0);
    while (read < 0 && errno == EINTR);
    first.resize(static_cast<std::size_t>(std::max<ssize_t>(read, 0)));
    return first;
}

CRCResult ReadWhole(const std::string& path, const CRCProgress& progress, bool hash, std::size_t keepFirst) {
    if (path.empty()) return Unreadable(path, "No file name");
    cFile file;
    std::string reason;
    file.Error = [&reason](int, const std::string& text) { reason = text; };

    // Non-blocking, so that a named pipe cannot hold the open forever; a plain file ignores it.
    if (file.OpenFile(path, O_RDONLY | O_NONBLOCK) < 0) return Unreadable(path, reason);
    if (!file.IsRegularFile()) return Unreadable(path, reason.empty() ? "Not a regular file" : reason);
    const std::optional<FileStamp> before = file.Stamp();
    if (!before) return Unreadable(path, reason);
    const std::int64_t total = before->Size;
    if (total > static_cast<std::int64_t>(kCRCChunkSize))
        posix_fadvise(file.FileHandle(), 0, 0, POSIX_FADV_SEQUENTIAL);  // only advice; failure is harmless
    std::vector<unsigned char> first;
    const bool inParts = total > kSplitAbove && std::thread::hardware_concurrency() > 1;
    if (inParts && keepFirst > 0) first = FirstBytes(file.FileHandle(), keepFirst);
    CRCResult result = inParts ? FoldInParts(path, file.FileHandle(), total, hash, progress)
                               : FoldWhole(path, file, reason, total, hash, progress, first, keepFirst);
    if (result) result.First = std::move(first);
    if (!result || !hash) return result;
    // What was read must be one version of the file: the same size and time after the read as before.
    const std::optional<FileStamp> after = file.Stamp();
    if (!after || after->Size != before->Size || after->MTimeNs != before->MTimeNs || result.Bytes != before->Size)
        return ChangedWhileRead(path);
    result.Stamp = *before;
    return result;
}

}  // namespace

CRCResult CalculateFileCRC(const std::string& path, const CRCProgress& progress, std::size_t keepFirst) {
    return ReadWhole(path, progress, false, keepFirst);
}

CRCResult ReadFileContents(const std::string& path, const CRCProgress& progress, std::size_t keepFirst) {
    return ReadWhole(path, progress, true, keepFirst);
}

#if defined(__x86_64__)
std::string CRCInstructionSupport() {
    __builtin_cpu_init();
    const bool sse41 = __builtin_cpu_supports("sse4.1");
    const bool sse42 = __builtin_cpu_supports("sse4.2");
    const bool pclmul = __builtin_cpu_supports("pclmul");
    const bool avx2 = __builtin_cpu_supports("avx2");
    // The 512-bit kernel uses all four of these AVX-512 subsets, so one missing rules it out.
    const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
                        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    const bool vpclmul = __builtin_cpu_supports("vpclmulqdq");
    const char* fold = !(sse41 && pclmul)          ? "table look-up"
                       : avx2 && avx512 && vpclmul ? "512-bit carry-less multiply"
                                                   : "128-bit carry-less multiply";
    return FoldAndFeatures(fold, {{"SSE4.2", sse42}, {"PCLMULQDQ", pclmul}, {"AVX2", avx2}, {"AVX-512", avx512},
                                  {"VPCLMULQDQ", vpclmul}});
}
#elif defined(__aarch64__)
std::string CRCInstructionSupport() {
    const unsigned long capabilities = getauxval(AT_HWCAP);
    const bool pmull = (capabilities & HWCAP_PMULL) != 0;
    return FoldAndFeatures(pmull ? "carry-less multiply" : "table look-up",
                           {{"PMULL", pmull}, {"CRC32", (capabilities & HWCAP_CRC32) != 0}});
}
#else
std::string CRCInstructionSupport() { return FoldAndFeatures("table look-up", {}); }
#endif
