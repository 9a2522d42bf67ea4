// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogues that a failing disk, a broken copy or another program left in a state ours would not.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/Damage.h"
#include "common/TempFolder.h"
#include "store/modCheck.h"
#include "store/modSchema.h"

namespace {

class Damaged : public ::testing::Test {
protected:
    // A catalogue of files spread over several pages, with their types, categories and keywords.
    std::string Make(const std::string& name, const std::string& change = "") {
        const std::string path = folder.Path(name);
        clsSQLite store;
        EXPECT_EQ(CreateNewDatabase(store, path), "");
        std::string sql = "BEGIN; INSERT INTO tblFileType VALUES(1, 'Video', NULL); INSERT INTO tblCategory VALUES(1, 'Live');"
                          "INSERT INTO tblKeyword VALUES(1, 'k'); INSERT INTO tblFileExtension VALUES(1, 'avi');"
                          "INSERT INTO tblFileExtensionJunction VALUES(1, 1);";
        for (int i = 1; i <= 200; ++i) {
            const std::string id = std::to_string(i);
            sql += "INSERT INTO tblFile(FileID, FileName, Size, Type, Category) VALUES(" + id + ", '/films/a long name " + id +
                   ".avi', " + id + ", 1, NULL); INSERT INTO tblFileKeywordJunction VALUES(" + id + ", 1);";
        }
        Run(store, sql + "COMMIT;");
        if (!change.empty()) Run(store, change);
        return path;
    }
    static void Run(clsSQLite& store, const std::string& sql) { ASSERT_EQ(store.Execute(sql), "") << sql; }

    TempFolder folder;
};

}  // namespace

TEST_F(Damaged, WhatIsNoWholeCatalogueIsRefusedWithItsReasonWithoutATouch) {
    clsSQLite store;
    const std::string good = Make("good.rvd");
    ASSERT_EQ(OpenCatalogue(store, good), "");
    std::string allButKeywords;
    for (const CatalogueTable& table : kCatalogueTables) {
        if (table.Name != "tblKeyword") allButKeywords += table.Create;
    }
    const auto made = [&](const std::string& name, const std::string& sql) {
        clsSQLite other;
        EXPECT_EQ(other.OpenDB(folder.Path(name)), "");
        EXPECT_EQ(other.Execute(sql), "");
        return folder.Path(name);
    };
    const std::pair<std::string, std::function<std::string()>> cases[] = {
        {"No such file", [&] { return folder.Path("missing.rvd"); }},
        {"This is a folder, not a catalogue file", [&] { return folder.Root(); }},
        {"The file is empty", [&] { return folder.Write("empty.rvd", ""); }},
        {"Not an SQLite database", [&] { return folder.Write("notes.txt", "not a database, just words\n"); }},
        {"This catalogue was written by an SQLite 2 program; convert it with: sqlite OLD.rvd .dump | sqlite3 NEW.rvd",
         [&] { return folder.Write("old.rvd", "** This file contains an SQLite 2.1 database **"); }},
        {"The catalogue lacks the table tblFile", [&] { return made("other.db", "CREATE TABLE t(x)"); }},
        {"The catalogue lacks the table tblKeyword", [&] { return made("partial.rvd", allButKeywords); }},
        {"The catalogue's table tblFile lacks the column Size", [&] { return Make("no size.rvd", "ALTER TABLE tblFile DROP COLUMN Size"); }},
        {"The catalogue file is damaged: it is shorter than it should be (truncated)",
         [&] { const std::string path = Make("cut.rvd"); Truncate(path); return path; }},
        {kUnreadablePages, [&] { const std::string path = Make("zeroed.rvd"); ZeroPage(path); return path; }},
    };
    for (const auto& [reason, make] : cases) {
        const std::string path = make();
        const bool existed = std::filesystem::exists(path);
        const auto bytes = [&] { return std::filesystem::is_regular_file(path) ? Bytes(path) : ""; };
        const std::string before = bytes();
        const auto changed = existed ? std::filesystem::last_write_time(path) : std::filesystem::file_time_type{};
        EXPECT_EQ(OpenCatalogue(store, path), reason);
        EXPECT_EQ(std::filesystem::exists(path), existed) << reason;
        EXPECT_EQ(bytes(), before) << reason;
        if (existed) {
            EXPECT_EQ(std::filesystem::last_write_time(path), changed) << reason;
        }
        EXPECT_FALSE(std::filesystem::exists(path + "-journal")) << reason;
        EXPECT_EQ(store.FileName(), good);
        EXPECT_FALSE(CheckCatalogue(path).empty()) << reason;
    }
}

TEST_F(Damaged, CheckNamesEveryProblemInWords) {
    EXPECT_EQ(CheckCatalogue(Make("good.rvd")), std::vector<std::string>());
    const std::string broken = Make("broken.rvd",
                                    "UPDATE tblFile SET Size='big' WHERE FileID < 3; UPDATE tblFile SET Type=7 WHERE FileID=1;"
                                    "UPDATE tblFile SET Category=9 WHERE FileID=2; DELETE FROM tblKeyword;"
                                    "DELETE FROM tblFile WHERE FileID=200; DELETE FROM tblFileType");
    EXPECT_EQ(CheckCatalogue(broken), (std::vector<std::string>{
                                          "199 file records name a file type the catalogue lacks",
                                          "1 file records name a category the catalogue lacks",
                                          "200 keyword links name a keyword the catalogue lacks",
                                          "1 keyword links name a file record the catalogue lacks",
                                          "1 extension links name a file type the catalogue lacks",
                                          "2 file records hold something other than a whole number as Size",
                                      }));
    const std::string zeroed = Make("zeroed.rvd");
    ZeroPage(zeroed);
    const std::vector<std::string> found = CheckCatalogue(zeroed);
    ASSERT_FALSE(found.empty());
    EXPECT_TRUE(found.front().starts_with("SQLite's integrity check: ")) << found.front();
    EXPECT_EQ(CheckCatalogue(folder.Path("missing.rvd")), std::vector<std::string>{"No such file"});
}
