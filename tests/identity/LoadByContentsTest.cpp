// SPDX-License-Identifier: GPL-3.0-or-later
// Load Directory's duplicate test by size and hash, and its reading of catalogued files again.
#include <fstream>

#include "identity/ContentsFixture.h"
#include "identity/Duplicates.h"
#include "model/modCatalogue.h"

namespace {

using LoadByContents = ContentsTest;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

// A CRC-32 match skipped such a file as a possible duplicate: it was never catalogued.
TEST_F(LoadByContents, TwoFilesWithOneCRCAreBothLoadedAndAreNoDuplicates) {
    const std::string one = WithCRC("the first film", 0xC0FFEE11), other = WithCRC("another film entirely", 0xC0FFEE11);
    ASSERT_NE(one, other);
    Make("a/one.avi", one);
    Make("a/other.avi", other);
    Make("a/copy of one.avi", one);
    const ToolResult first = Load(media + "a");
    EXPECT_EQ(first.Changed, 2);
    EXPECT_EQ(Log("load.log"), "Reelvault\nLoaded " + media + "a/*\n\nNot adding possible duplicate " + media +
                                   "a/one.avi.  Matches CRC of " + media + "a/copy of one.avi\n\n"
                                   "1 possible duplicates not added.\n2 files added.\n");
    Reload();
    ASSERT_TRUE(catalogue.Files.GotoFileName(media + "a/other.avi"));
    EXPECT_EQ(catalogue.Files.CRC(), "C0FFEE11");
    EXPECT_EQ(Rows(), 2);
    EXPECT_TRUE(FindDuplicates(catalogue.Store).Groups.empty());

    // Against records of the catalogue too, hashed by the first load.
    Make("b/third.avi", WithCRC("a third film", 0xC0FFEE11));
    Make("b/one again.avi", one);
    EXPECT_EQ(Load(media + "b").Changed, 1);
    EXPECT_TRUE(Contains(Log("load.log"), "Not adding possible duplicate " + media + "b/one again.avi.  Matches CRC of " +
                                              media + "a/copy of one.avi\n"));

    // A record an older program made has a CRC and no hash: the CRC alone still decides for it.
    ASSERT_EQ(InsertFile(catalogue, {-1, "/elsewhere/old.avi", "", -1, -1, "ABCD1234", 5, 0, "", 0, {}, -1}).Error, "");
    Make("c/new.avi", WithCRC("new contents", 0xABCD1234));
    EXPECT_EQ(Load(media + "c").Changed, 0);
    EXPECT_TRUE(Contains(Log("load.log"), "Not adding possible duplicate " + media + "c/new.avi.  Matches CRC of /elsewhere/old.avi\n"));
}

// The hashes of catalogued files are a cache: a file is read again only when its size, time or
// inode moved, it has no hash yet, or the user asks.
TEST_F(LoadByContents, ALoadReadsCatalogedFilesAgainOnlyWhenTheyMayHaveChanged) {
    for (const char* name : {"a", "b", "c", "d"}) Make(name, std::string("contents of ") + name);
    ASSERT_EQ(Load(media).Changed, 4);
    ASSERT_EQ(Rows(), 4);
    const HashRow before = *Hash(media + "b");
    EXPECT_EQ(before.VerifiedAt, 0);

    Reload();
    ASSERT_TRUE(catalogue.Files.GotoFileName(media + "a"));
    Ask("DELETE FROM rvFileHash WHERE FileID = " + std::to_string(catalogue.Files.FileID()) + ";");  // not yet hashed
    const timespec later[2] = {{0, UTIME_OMIT}, {2'000'000'000, 123}};
    ASSERT_EQ(utimensat(AT_FDCWD, (media + "b").c_str(), later, 0), 0);  // touched
    std::ofstream(media + "c", std::ios::app) << ", edited";                 // changed
    EXPECT_EQ(Load(media).Skipped, 4);
    ASSERT_NE(Hash(media + "a"), nullptr);
    EXPECT_EQ(Hash(media + "b")->Stamp.MTimeNs, 2'000'000'000'000'000'123);
    EXPECT_GT(Hash(media + "b")->VerifiedAt, 0);
    EXPECT_EQ(Hash(media + "b")->Hash, before.Hash);
    EXPECT_EQ(Hash(media + "c")->Stamp.Size, 13);  // kept: it is Verify's to offer the update
    EXPECT_TRUE(Contains(Log("load.log"), "Not adding duplicate filename " + media + "c\nChanged since it was hashed: " + media + "c\n"));
    EXPECT_EQ(Hash(media + "d")->VerifiedAt, 0);  // not read

    // Damage the cache cannot see: other contents, with the size and time kept.
    const std::string d = folder.Read("media/d");
    folder.Write("media/copy", d);
    SameTimeAs(media + "copy", media + "d");
    folder.Write("media/d", "contents of D");
    SameTimeAs(media + "d", media + "copy");
    std::filesystem::remove(media + "copy");
    EXPECT_EQ(Load(media).Skipped, 4);
    EXPECT_FALSE(Contains(Log("load.log"), media + "d\nContents differ"));
    EXPECT_EQ(Load(media, true).Skipped, 4);
    EXPECT_TRUE(Contains(Log("load.log"), "Contents differ from its hash, with the same size and time: " + media + "d\n"));
    EXPECT_EQ(Hash(media + "d")->Hash, HashOfBytes(std::span(reinterpret_cast<const unsigned char*>(d.data()), d.size())));
}

// Hashes that cannot be stored are not taken: the files are judged by CRC as before hashes, the
// files of the run among them.
TEST_F(LoadByContents, ACatalogueWhoseTablesANewerVersionKeepsIsLoadedByCRCAlone) {
    const std::string one = WithCRC("the first film", 0xC0FFEE11);
    Make("one.avi", one);
    Make("other.avi", WithCRC("another film entirely", 0xC0FFEE11));
    Make("copy of one.avi", one);
    Reload();
    Ask("UPDATE rvSchema SET Version = 99;");
    const ToolResult result = Load(media);
    EXPECT_EQ(result.Changed, 1);
    EXPECT_EQ(result.Skipped, 2);
    EXPECT_TRUE(Contains(Log("load.log"), "Not adding possible duplicate " + media + "other.avi.  Matches CRC of " + media +
                                              "copy of one.avi\n"));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Ask("SELECT Version FROM rvSchema;"), "99");
}
