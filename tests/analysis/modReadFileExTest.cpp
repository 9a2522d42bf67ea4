// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modReadFileEx.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <fstream>
#include <functional>
#include <random>
#include <utility>

#include "analysis/modCrc2.h"
#include "common/TempFolder.h"

// CalculateFileCRC's CRC, and ReadFileContents' CRC, hash and stamp, at the edges of the reads and
// of the hash's segments.
TEST(CalculateFileCRC, KnownVectorsAndEveryChunkBoundaryWithTheHash) {
    TempFolder folder;
    for (const auto& [contents, text] : {std::pair{"123456789", "CBF43926"}, {"abc", "352441C2"}, {"ob", "65E3"},
                                         {"", "0"}})
        EXPECT_EQ(CalculateFileCRC(folder.Write("f", contents)).Text, text) << contents;

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65'536}, std::size_t{65'537}, kCRCChunkSize - 1,
                                   kCRCChunkSize, kCRCChunkSize + 1, 3 * kHashSegment + 12'345}) {
        std::string contents(size, '\0');
        for (char& byte : contents) byte = static_cast<char>(random());
        const std::span bytes(reinterpret_cast<const unsigned char*>(contents.data()), size);
        const std::string path = folder.Write("f", contents);
        const CRCResult crc = CalculateFileCRC(path);
        EXPECT_EQ(crc.Value, ~UpdateCRC(~0u, 0, size, bytes)) << "size " << size << ", seed " << seed;
        EXPECT_EQ(crc.Bytes, static_cast<std::int64_t>(size));
        EXPECT_FALSE(crc.Hashed);  // the CRC alone costs no hashing
        const CRCResult read = ReadFileContents(path);
        ASSERT_TRUE(read.Hashed) << read.Error;
        EXPECT_EQ(read.Hash, HashOfBytes(bytes)) << "size " << size << ", seed " << seed;
        EXPECT_EQ(read.Value, crc.Value);
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(read.Stamp.Size, static_cast<std::int64_t>(size));
        EXPECT_EQ(read.Stamp.Inode, info.st_ino);
        EXPECT_EQ(read.Stamp.MTimeNs, info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec);
    }
}

// With the value 0 as its CRC, every unreadable file would pass for a duplicate of the first.
TEST(CalculateFileCRC, UnreadableFilesGiveTheReasonAndNoCRCText) {
    TempFolder folder;
    ASSERT_EQ(mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    for (const auto& [path, reason] : {std::pair{folder.Path("missing"), "No such file or directory"},
                                       {folder.Root(), "Not a regular file"},
                                       {folder.Path("pipe"), "Not a regular file"},  // without waiting for a writer
                                       {std::string("/proc/self/mem"), "Input/output error"}}) {  // read fails
        const CRCResult result = CalculateFileCRC(path);
        EXPECT_EQ(result.Text, "") << path;
        EXPECT_EQ(result.Error, "Could not read " + path + ": " + reason);
    }
}

TEST(CalculateFileCRC, ReportsProgressAndStopsWhenAsked) {
    TempFolder folder;
    const std::string path = folder.Write("f", std::string(2 * kCRCChunkSize + 1, 'r'));
    std::string seen;
    int calls = 0;
    const auto stopAtSecond = [&](std::int64_t done, std::int64_t total) {
        seen += std::to_string(done) + "/" + std::to_string(total) + " ";
        return ++calls < 2;
    };
    const CRCResult stopped = CalculateFileCRC(path, stopAtSecond);
    EXPECT_EQ(seen, "1048576/2097153 2097152/2097153 ");
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_EQ(stopped.Text, "");
}

TEST(CalculateFileCRC, ReadsFilesPast4GiBWhole) {
    // tmpfs reads a hole without filling the page cache: a fraction of a second instead of several.
    std::optional<ScopedEnv> memory;
    if (access("/dev/shm", W_OK) == 0) memory.emplace("TMPDIR", "/dev/shm");
    TempFolder folder;
    const std::string path = folder.Path("sparse");
    const off_t size = (off_t{1} << 32) + 65'537;
    const int handle = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const bool made = ftruncate(handle, size) == 0 && pwrite(handle, "abc", 3, (off_t{1} << 31) - 1) == 3 &&
                      pwrite(handle, "xyz", 3, size - 3) == 3;
    close(handle);
    if (!made) GTEST_SKIP() << "the file system cannot hold a sparse file of " << size << " bytes";
    std::int64_t lastDone = 0;
    const auto progress = [&](std::int64_t done, std::int64_t total) { return lastDone = done, total == size; };
    const CRCResult whole = ReadFileContents(path, progress);
    EXPECT_EQ(whole.Text, "7324829F");  // by an independent implementation
    EXPECT_EQ(whole.Bytes, size);
    EXPECT_EQ(lastDone, size);
    // The parts read on several cores must hash the segments they would have hashed one after the other.
    const auto segmentWith = [](std::size_t length, std::size_t at, std::string_view bytes) {
        std::vector<unsigned char> segment(length, 0);
        std::copy(bytes.begin(), bytes.end(), segment.begin() + static_cast<std::ptrdiff_t>(at));
        return HashOfBytes(segment);
    };
    std::vector<ContentHash> segments(static_cast<std::size_t>(size / kHashSegment) + 1, segmentWith(kHashSegment, 0, ""));
    segments[2047] = segmentWith(kHashSegment, kHashSegment - 1, "a");
    segments[2048] = segmentWith(kHashSegment, 0, "bc");
    segments.back() = segmentWith(65'537, 65'534, "xyz");
    EXPECT_TRUE(whole.Hashed);
    EXPECT_EQ(whole.Hash, CombineSegments(segments));
    const CRCResult stopped = CalculateFileCRC(path, [](std::int64_t, std::int64_t) { return false; });
    EXPECT_TRUE(stopped.Cancelled && stopped.Text.empty());
}

// Half of one version and half of another is no version's hash: stored, it would make the file
// look damaged at the next verify.
TEST(ReadFileContents, AFileWrittenDuringTheReadIsRefused) {
    std::optional<ScopedEnv> memory;
    if (access("/dev/shm", W_OK) == 0) memory.emplace("TMPDIR", "/dev/shm");
    TempFolder folder;
    const auto writeDuringRead = [&](std::size_t size, const std::function<void(const std::string&)>& change) {
        const std::string path = folder.Write("f", std::string(size, 'w'));
        bool changed = false;
        return ReadFileContents(path, [&](std::int64_t, std::int64_t) {
            if (!std::exchange(changed, true)) change(path);
            return true;
        });
    };
    const auto append = [](const std::string& path) { std::ofstream(path, std::ios::app) << "more"; };
    const auto retime = [](const std::string& path) {
        const timespec times[2] = {{0, UTIME_OMIT}, {1'000'000'000, 5}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    const auto truncate = [](const std::string& path) { ASSERT_EQ(::truncate(path.c_str(), 4096), 0); };
    for (const std::size_t size : {3 * kCRCChunkSize, std::size_t{70} << 20}) {  // one core, then parts on several
        using Change = std::function<void(const std::string&)>;
        for (const Change& change : {Change(append), Change(retime), Change(truncate)}) {
            const CRCResult result = writeDuringRead(size, change);
            EXPECT_TRUE(result.ChangedWhileRead) << size;
            EXPECT_EQ(result.Error, "Could not read " + folder.Path("f") + ": the file changed while it was read");
            EXPECT_EQ(result.Text, "");
            EXPECT_FALSE(result.Hashed);
        }
    }
}
