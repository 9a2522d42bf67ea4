// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modReadFileEx.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <vector>

#include "analysis/modCrc2.h"
#include "common/TempFolder.h"

namespace {

std::uint32_t ReferenceCRC(const std::string& contents) {
    const std::span bytes(reinterpret_cast<const unsigned char*>(contents.data()), contents.size());
    return ~UpdateCRC(0xFFFFFFFF, 0, bytes.size(), bytes);
}

}  // namespace

TEST(CalculateFileCRC, KnownVectors) {
    TempFolder folder;
    const struct {
        std::string contents, text;
    } vectors[] = {{"123456789", "CBF43926"}, {"abc", "352441C2"}, {"ob", "65E3"}, {"", "0"}};
    for (const auto& [contents, text] : vectors) {
        const CRCResult result = CalculateFileCRC(folder.Write("f", contents));
        EXPECT_TRUE(result) << result.Error;
        EXPECT_EQ(result.Text, text) << contents;
        EXPECT_EQ(CRCText(result.Value), text);
    }
}

TEST(CalculateFileCRC, EveryChunkBoundaryGivesTheSequentialCRC) {
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    TempFolder folder;
    for (const std::size_t size : {std::size_t{65'536}, std::size_t{65'537}, kCRCChunkSize - 1, kCRCChunkSize,
                                   kCRCChunkSize + 1, 2 * kCRCChunkSize + 7}) {
        std::string contents(size, '\0');
        for (char& byte : contents) byte = static_cast<char>(random());
        const CRCResult result = CalculateFileCRC(folder.Write("f", contents));
        EXPECT_EQ(result.Text, CRCText(ReferenceCRC(contents))) << "size " << size << ", seed " << seed;
    }
}

// An unreadable file must not get a CRC text, or every unreadable file would look like a duplicate
// of the first one.
TEST(CalculateFileCRC, UnreadableFilesGiveTheReasonAndNoCRCText) {
    TempFolder folder;
    const auto expectUnreadable = [](const std::string& path, const std::string& reason) {
        const CRCResult result = CalculateFileCRC(path);
        EXPECT_FALSE(result) << path;
        EXPECT_EQ(result.Text, "") << path;
        EXPECT_FALSE(result.Cancelled);
        EXPECT_EQ(result.Error, "Could not read " + path + ": " + reason);
    };
    expectUnreadable(folder.Path("missing"), "No such file or directory");
    expectUnreadable(folder.Root(), "Not a regular file");
    ASSERT_EQ(mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    expectUnreadable(folder.Path("pipe"), "Not a regular file");  // and does not wait for a writer
    // Opens as a plain file, then fails to read: nothing is mapped at address 0.
    expectUnreadable("/proc/self/mem", "Input/output error");
    if (geteuid() != 0) {
        const std::string secret = folder.Write("secret", "x");
        chmod(secret.c_str(), 0);
        expectUnreadable(secret, "Permission denied");
    }
}

TEST(CalculateFileCRC, ReportsProgressAndStopsWhenAsked) {
    TempFolder folder;
    const std::string contents(2 * kCRCChunkSize + 100, 'r');
    const std::string path = folder.Write("f", contents);
    std::vector<std::int64_t> done;
    const CRCResult whole = CalculateFileCRC(path, [&](std::int64_t bytes, std::int64_t total) {
        EXPECT_EQ(total, static_cast<std::int64_t>(contents.size()));
        done.push_back(bytes);
        return true;
    });
    EXPECT_EQ(whole.Value, ReferenceCRC(contents));
    EXPECT_EQ(done, (std::vector<std::int64_t>{1 << 20, 2 << 20, 2 * (1 << 20) + 100}));

    int calls = 0;
    const CRCResult stopped = CalculateFileCRC(path, [&](std::int64_t, std::int64_t) { return ++calls < 2; });
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_EQ(stopped.Text, "");
    EXPECT_EQ(stopped.Error, "Cancelled: " + path);
    EXPECT_EQ(calls, 2);
}

TEST(CalculateFileCRC, ReadsFilesPast4GiBWhole) {
    TempFolder folder;
    const std::string path = folder.Path("sparse");
    const off_t size = (off_t{1} << 32) + 65'537;
    {
        const int handle = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(handle, 0);
        const bool made = ftruncate(handle, size) == 0 && pwrite(handle, "abc", 3, (off_t{1} << 31) - 1) == 3 &&
                          pwrite(handle, "xyz", 3, size - 3) == 3;
        close(handle);
        if (!made) GTEST_SKIP() << "this file system cannot hold a sparse file of " << size << " bytes";
    }
    std::int64_t lastDone = 0, lastTotal = 0;
    const CRCResult result = CalculateFileCRC(path, [&](std::int64_t done, std::int64_t total) {
        lastDone = done, lastTotal = total;
        return true;
    });
    EXPECT_EQ(result.Text, "7324829F");  // the CRC of these bytes by an independent implementation
    EXPECT_EQ(lastDone, size);
    EXPECT_EQ(lastTotal, size);
}
