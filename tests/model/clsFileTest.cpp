// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clsFile.h"

#include <random>

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"

namespace {

FileRecord Record(const std::string& fileName, const std::string& crc, std::vector<std::string> keywords = {}) {
    FileRecord record;
    record.FileName = fileName;
    record.CRC = crc;
    record.Keywords = std::move(keywords);
    return record;
}

class Files : public CatalogueTest {
protected:
    void Load() { ASSERT_EQ(files.LoadFromDatabase(catalogue.Store), ""); }
    int Insert(const FileRecord& record) {
        const NewKey inserted = InsertFile(catalogue, record);
        EXPECT_EQ(inserted.Error, "");
        return inserted.ID;
    }

    clsFile& files = catalogue.Files;
};

// The position a look-up left current, or -1 when it found nothing.
template <class Key>
int Found(clsFile& files, bool (clsFile::*lookUp)(const Key&), const Key& key) {
    return (files.*lookUp)(key) ? static_cast<int>(files.Current() - files.Records().data()) : -1;
}

// The last position whose field equals key, the rule the look-ups keep.
int LastWith(const clsFile& files, std::string FileRecord::*field, const std::string& key) {
    const auto& records = files.Records();
    for (int i = static_cast<int>(records.size()) - 1; i >= 0; --i) {
        if (records[i].*field == key) return i;
    }
    return -1;
}

}  // namespace

TEST_F(Files, LoadInNameOrderWithKeywordsInTextOrder) {
    std::vector<std::string> many;
    for (int i = 60; i > 0; --i) many.push_back("k" + std::to_string(i));
    Insert(Record("/b.avi", "2", many));
    FileRecord full = Record("/a'b.mkv", "CBF43926", {"zed", "O'Neil", "alpha"});
    full.Title = "A title";
    full.TypeID = 0;
    full.Size = 5'000'000'000;
    full.Length = 2500;
    full.FourCC = "XVID";
    full.Rating = 4;
    full.FileID = Insert(full);
    Load();

    EXPECT_EQ(files.FileID(), -1);
    ASSERT_TRUE(files.MoveFirst());
    ASSERT_EQ(files.Count(), 2);
    EXPECT_EQ(*files.Current(), (FileRecord{full.FileID, "/a'b.mkv", "A title", 0, 0, "CBF43926", 5'000'000'000, 2500,
                                             "XVID", 4, {"O'Neil", "alpha", "zed"}}));
    EXPECT_EQ(files.LengthS(), 2);  // halves to even
    EXPECT_DOUBLE_EQ(files.LengthM(), 2.5 / 60);
    EXPECT_EQ(files.Keyword(3), "");
    ASSERT_TRUE(files.MoveNext());
    EXPECT_EQ(files.NumKeyword(), 60);  // all of them, not only the first fifty
    EXPECT_EQ(files.Keyword(0), "k1");
    EXPECT_EQ(files.Keyword(1), "k10");
    EXPECT_EQ(files.TypeID(), 0);  // NULL reads as 0
    EXPECT_FALSE(files.MoveNext());
    EXPECT_EQ(files.FileName(), "/b.avi");
}

TEST_F(Files, LookUpsLeaveTheLastMatchCurrent) {
    const int first = Insert(Record("/same.avi", "AAAA"));
    const int second = Insert(Record("/same.avi", "AAAA"));
    const int other = Insert(Record("/x.avi", "BBBB"));
    Load();
    ASSERT_TRUE(files.GotoFileName("/same.avi"));
    EXPECT_EQ(files.FileID(), second);
    EXPECT_TRUE(files.GotoCRC("AAAA"));
    EXPECT_EQ(files.FileID(), second);
    EXPECT_FALSE(files.GotoFileName("/SAME.avi"));
    EXPECT_FALSE(files.Modify(Record("/y.avi", "", {})));  // FileID -1 is nobody's
    EXPECT_EQ(files.FileID(), second);

    FileRecord moved = Record("/moved.avi", "BBBB", {"new"});
    moved.FileID = second;
    ASSERT_TRUE(files.Modify(moved));
    EXPECT_TRUE(files.GotoFileName("/same.avi"));
    EXPECT_EQ(files.FileID(), first);  // the earlier twin is found again
    EXPECT_TRUE(files.GotoCRC("BBBB"));
    EXPECT_EQ(files.FileID(), other);
    EXPECT_TRUE(files.GotoFileName("/moved.avi"));
    EXPECT_EQ(files.KeywordList(), std::vector<std::string>{"new"});

    files.AddTemporarily("/new.avi", "CCCC");
    EXPECT_EQ(files.Count(), 4);
    EXPECT_EQ(files.FileID(), second);  // the cursor stayed
    EXPECT_TRUE(files.GotoCRC("CCCC"));
    EXPECT_TRUE(files.GotoFileName("/new.avi"));
    EXPECT_EQ(files.FileID(), -1);
    EXPECT_EQ(files.Size(), 0);
}

TEST_F(Files, AFailedLoadLeavesAnEmptySet) {
    Insert(Record("/a.avi", "1", {"k"}));
    Load();
    ASSERT_EQ(catalogue.Store.Execute("DROP TABLE tblKeyword"), "");
    EXPECT_NE(files.LoadFromDatabase(catalogue.Store), "");
    EXPECT_EQ(files.Count(), 0);
}

// Names made of pieces that share prefixes of every length, bytes above 0x7F, a zero byte, a
// name and its own prefix, NULL and twins: the load must order them as the engine's ORDER BY
// FileName does, twins by FileID.
TEST_F(Files, LoadOrdersNamesAsTheEngineDoes) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::vector<std::string> pieces = {"", "a", "ab", "/media/films/", "/media/films/long name of a film ",
                                             "\xC3\xA9", "Z", std::string("a\0b", 3), "0123456789abcdef"};
    clsSQLite::Transaction unit(catalogue.Store);
    ASSERT_EQ(catalogue.Store.Execute("INSERT INTO tblFile(FileID, FileName) VALUES(1, NULL), (2, NULL);"), "");
    for (int id = 3; id < 400; ++id) {
        std::string name;
        for (int piece = random() % 4; piece >= 0; --piece) name += pieces[random() % pieces.size()];
        ASSERT_EQ(catalogue.Store.Execute("INSERT INTO tblFile(FileID, FileName) VALUES(?1, ?2);", {id, name}), "");
    }
    ASSERT_EQ(unit.Commit(), "");
    std::vector<int> expected;
    ASSERT_EQ(catalogue.Store.Query("SELECT FileID FROM tblFile ORDER BY FileName, FileID;",
                                    [&](const clsSQLite::Row& row) { expected.push_back(static_cast<int>(row.Int(0))); }),
              "");
    Load();
    std::vector<int> loaded;
    for (const FileRecord& record : files.Records()) loaded.push_back(record.FileID);
    EXPECT_EQ(loaded, expected);
}

// The indexes hold positions only: a run of changes that makes and breaks twins, checked after
// each step against a search of the whole set, and a swap of two sets.
TEST_F(Files, LookUpsFollowChangesAndSwaps) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto pick = [&](const char* prefix) { return prefix + std::to_string(random() % 12); };
    for (int i = 0; i < 40; ++i) Insert(Record(pick("/n"), pick("C")));
    Load();
    for (int step = 0; step < 300; ++step) {
        if (step % 10 == 0) {
            files.AddTemporarily(pick("/n"), pick("C"));
        } else {
            FileRecord changed = files.Records()[random() % 40];
            changed.FileName = pick("/n");
            changed.CRC = pick("C");
            ASSERT_TRUE(files.Modify(changed));
        }
        for (int key = 0; key < 12; ++key) {
            const std::string name = "/n" + std::to_string(key), crc = "C" + std::to_string(key);
            ASSERT_EQ(Found(files, &clsFile::GotoFileName, name), LastWith(files, &FileRecord::FileName, name)) << step;
            ASSERT_EQ(Found(files, &clsFile::GotoCRC, crc), LastWith(files, &FileRecord::CRC, crc)) << step;
        }
    }
    const int id = files.Records()[7].FileID;
    clsFile other;
    std::swap(files, other);
    EXPECT_FALSE(files.GotoFileID(id));
    ASSERT_TRUE(other.GotoFileID(id));
    EXPECT_EQ(other.Current(), &other.Records()[7]);
}
