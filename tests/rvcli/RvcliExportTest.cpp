// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "common/FileSizeLimit.h"
#include "common/ReadOnlyFile.h"
#include "export/ExportRows.h"
#include "model/modCatalogue.h"
#include "rvcli/RvcliFixture.h"
#include "store/modSchema.h"

namespace {

// Names that break markup, quoting and the direction of text, each where a browser would show it.
const std::vector<FileRecord> kAwkward = {
    {-1, "/films/a<b>&amp;c.avi", "</td></table><script>alert(1)</script>", -1, -1, "", 1, 2, "<x>", 3, {"a&b", "<i>"}},
    {-1, "/films/\"double\" 'single'.avi", "say \"hi\" & 'bye'", -1, -1, "", 2, 3, "", 4, {"\"q\""}},
    {-1, "/films/שלום עולם.mkv", "مرحبا بالعالم 2", -1, -1, "", 3, 4, "", 5, {"עברית"}},
    {-1, "/films/evil\u202Egpj.exe", "line\r\nbreak\ttab \u2067iso\u2069 \u200F", -1, -1, "", 4, 5, "", 6, {}},
};

class Exported : public Rvcli {
protected:
    void SetUp() override {
        Catalogue catalogue;
        ASSERT_EQ(CreateNewDatabase(catalogue.Store, cat), "");
        ASSERT_TRUE(AddCategory(catalogue, "Live & <Loud>").Done);
        for (FileRecord record : kAwkward) {
            record.CategoryID = 1;
            ASSERT_EQ(InsertFile(catalogue, record).Error, "");
        }
    }
    // What the page at path holds, as an HTML parser reads it.
    nlohmann::json ReadPage(const std::string& path) {
        const std::string command = "python3 '" + std::string(READ_PAGE_PY) + "' '" + path + "'";
        std::string text;
        if (std::FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, got);
            EXPECT_EQ(pclose(pipe), 0) << "python3 could not read the page";
        }
        return nlohmann::json::parse(text);
    }
    // The cells every row should show: the FileID and the list's ten texts, in file-name order.
    nlohmann::json ExpectedRows() {
        Catalogue catalogue;
        EXPECT_EQ(catalogue.Store.OpenDB(cat), "");
        EXPECT_EQ(catalogue.Reload(), "");
        std::vector<const FileRecord*> records;
        for (const FileRecord& record : catalogue.Files.Records()) records.push_back(&record);
        nlohmann::json rows = nlohmann::json::array();
        for (const ExportRow& row : ExportRowsOf(catalogue, records)) {
            nlohmann::json cells = {std::to_string(row.FileID)};
            for (const std::string& text : row.Texts) cells.push_back(text);
            rows.push_back(cells);
        }
        return rows;
    }
};

TEST_F(Exported, PageShowsEveryCellAsStored) {
    const Ran ran = Run({"export", cat, "-o", Path("page.html")});
    ASSERT_EQ(ran.Status, 0) << ran.Err;
    EXPECT_EQ(ran.Err, "4 files exported to " + Path("page.html") + "\n");
    const nlohmann::json page = ReadPage(Path("page.html"));
    EXPECT_EQ(page["heading"], "c.rvd");
    EXPECT_EQ(page["loads"], nlohmann::json::array());  // nothing from a network, nor from beside it
    EXPECT_EQ(page["headers"], nlohmann::json::parse(R"(["FileID", "File Name", "Title", "Type", "Category", "CRC",
        "Size", "Length", "FourCC", "Rating", "Keywords"])"));
    const nlohmann::json expected = ExpectedRows();
    ASSERT_EQ(page["rows"].size(), expected.size());
    for (std::size_t row = 0; row < expected.size(); ++row) {
        for (std::size_t cell = 0; cell < expected[row].size(); ++cell) {
            EXPECT_EQ(page["rows"][row][cell], expected[row][cell]) << "row " << row << ", cell " << cell;
            const std::string text = expected[row][cell];
            const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return c >= 0; });
            if (!ascii) {
                EXPECT_EQ(page["dirs"][row][cell], "auto") << "row " << row << ", cell " << cell;
            }
        }
    }
    // The source itself reads in order: no character in it turns the text around.
    EXPECT_EQ(folder.Read("page.html").find("\u202E"), std::string::npos);
}

TEST_F(Exported, CSVIsTheListingsText) {
    const std::string page = Path("rows.csv");
    EXPECT_EQ(Ok({"export", cat, "--format", "csv", "-o", page}), "");
    EXPECT_EQ(folder.Read("rows.csv"), Ok({"list", cat, "--format", "csv"}));
    EXPECT_EQ(Ok({"export", cat, "--format", "CSV", "-o", page, "--keyword", "<i>", "--title", "script"}), "");
    EXPECT_EQ(folder.Read("rows.csv"), Ok({"search", cat, "--format", "csv", "--keyword", "<i>", "--title", "script"}));
    const std::string found = folder.Read("rows.csv");
    EXPECT_EQ(std::count(found.begin(), found.end(), '\n'), 2);  // the header and the one file
    EXPECT_EQ(Call({"export", cat, "-o", page, "--category", "Loud"}).Err, "No category named Loud\n");
}

TEST_F(Exported, FailedWriteLeavesNothingHalfWritten) {
    std::filesystem::create_directory(Path("locked"));
    chmod(folder.Root().c_str(), 0755);
    chmod(Path("locked").c_str(), 0555);
    {
        WithoutRootRights nobody;
        if (!nobody.Usable()) GTEST_SKIP() << "the folder's mode binds no one here";
        EXPECT_EQ(Call({"export", cat, "-o", Path("locked/page.html")}).Err,
                  "Could not write " + Path("locked/page.html") + ": Permission denied\n");
    }
    EXPECT_TRUE(std::filesystem::is_empty(Path("locked")));

    folder.Write("page.html", "the page before");
    Ok({"list", cat});  // the catalogue's own tables, made before the disk fills
    {
        FileSizeLimit full(300);  // the disk fills up half-way through the page
        EXPECT_EQ(Call({"export", cat, "-o", Path("page.html")}).Err,
                  "Could not write " + Path("page.html") + ": File too large\n");
    }
    EXPECT_EQ(folder.Read("page.html"), "the page before");
    EXPECT_FALSE(std::filesystem::exists(Path("page.html.new")));
}

}  // namespace
