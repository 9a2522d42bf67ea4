// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "common/Damage.h"
#include "model/modCatalogue.h"
#include "rvcli/RvcliFixture.h"
#include "rvcli/Session.h"
#include "store/modSchema.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// RFC 4180, strictly: fields quoted or not, quotes doubled inside quotes, records ending in CR LF.
Rows ReadCSV(const std::string& text) {
    Rows rows(1, std::vector<std::string>(1));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            for (++i; i < text.size() && !(text[i] == '"' && (i + 1 == text.size() || text[i + 1] != '"')); ++i)
                rows.back().back() += text[text[i] == '"' ? i++ : i];
        } else if (text[i] == ',') rows.back().emplace_back();
        else if (text.compare(i, 2, "\r\n") == 0) rows.emplace_back(1), ++i;
        else rows.back().back() += text[i];
    }
    rows.pop_back();  // after the last line end
    return rows;
}

// Three files, written in-process: starting rvcli costs more than the statements do.
class Catalogued : public Rvcli {
protected:
    void SetUp() override {
        Catalogue catalogue;
        ASSERT_EQ(CreateNewDatabase(catalogue.Store, cat), "");
        ASSERT_EQ(SaveFileType(catalogue, -1, "Video", "", {"avi", "mpg"}).ID, 1);
        ASSERT_TRUE(AddCategory(catalogue, "Live").Done);
        for (const FileRecord& record : {FileRecord{-1, Path("a.avi"), "O'Brien, \"live\"\nnight", 1, -1, "", 100, 0, "", 3, {"live", "rock"}},
                                         FileRecord{-1, Path("b.AVI"), "5% off_", 1, 1, "", 9, 0, "", 10, {"Live"}},
                                         FileRecord{-1, Path("c.txt"), "\x1b[31mred", -1, -1, "", 10, 0, "", -2, {"live"}}})
            ASSERT_EQ(InsertFile(catalogue, record).Error, "");
    }
    // The listed files by FileID.
    std::map<int, nlohmann::json> Records() {
        std::map<int, nlohmann::json> records;
        for (const nlohmann::json& file : nlohmann::json::parse(Ok({"list", cat, "--format", "json"})))
            records[file["FileID"].get<int>()] = file;
        return records;
    }
    // The FileIDs of a listing's rows, in order.
    std::vector<std::string> IDs(const std::string& csv) {
        std::vector<std::string> ids;
        for (const auto& row : ReadCSV(csv)) ids.push_back(row[0]);
        ids.erase(ids.begin());
        return ids;
    }
    std::vector<std::string> Found(std::vector<std::string> options, const std::string& count) {
        options.insert(options.begin(), {"search", cat, "--format", "csv"});
        const Ran ran = Call(options);
        EXPECT_EQ(ran.Err, count + " matching files found\n") << options[4];
        return IDs(ran.Out);
    }
};

}  // namespace

TEST_F(Rvcli, UsageErrorsExitWithTwoAndHelpWithZero) {
    EXPECT_EQ(Run({}).Status, 2);
    EXPECT_EQ(Run({"--help"}).Status, 0);
    EXPECT_EQ(Run({"--version"}).Out, "rvcli 0.6.5\n");
    EXPECT_EQ(Call({"load", "--help"}).Status, 0);
    for (const std::vector<std::string>& usage : {std::vector<std::string>{"list"}, {"list", "c", "--sort", "Nothing"}, {"list", "c", "--desc"},
                                                  {"search", "c", "--size", "!", "3"}, {"search", "c", "--size", "<"},
                                                  {"delete", "c", "seven"}, {"add", "c", "p", "--crc", "--no-crc"},
                                                  {"update", "c", "1", "--keyword", "k", "--no-keywords"},
                                                  {"type", "c", "save", "Video"}, {"category", "c"}, {"frobnicate"}}) {
        const Ran ran = Call(usage);
        EXPECT_EQ(ran.Status, 2) << usage[0] << " " << ran.Err;
        EXPECT_EQ(ran.Out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(Path("c")));
}

TEST_F(Rvcli, OnlyNewMakesAFile) {
    EXPECT_EQ(Run({"list", "missing.rvd"}), (Ran{1, "", "missing.rvd: No such file\n"}));
    EXPECT_FALSE(std::filesystem::exists(Path("missing.rvd")));
    EXPECT_EQ(Run({"new", "c.rvd"}).Out, "Created c.rvd\n");
    EXPECT_EQ(Ok({"list", cat, "--format", "json"}), "[]\n");
}

TEST_F(Catalogued, AddReadsTheFile) {
    folder.Write("a.avi", "contents");
    EXPECT_EQ(Run({"add", "c.rvd", "a.avi", "--force", "--title", "T", "--category", "Live", "--keyword", "k", "--keyword",
                   "j", "--rating", "4"}).Out, "4\n");
    // rv.ini, made by the first run, said no CRC; now it says yes.
    folder.Write("config/reelvault/rv.ini", "AutoCalculateCRC=True\n");
    folder.Write("digits.MPG", "123456789");
    EXPECT_EQ(Ok({"add", cat, Path("digits.MPG")}), "5\n");
    EXPECT_EQ(Ok({"add", cat, Path("digits.MPG"), "--force", "--no-crc", "--type", ""}), "6\n");
    std::map<int, nlohmann::json> records = Records();
    EXPECT_EQ(records[4].at("Drive"), records[5].at("Drive"));  // whichever filesystem the test's folder is on
    records[4].erase("Drive");
    EXPECT_EQ(records[4], nlohmann::json::parse(R"({"FileID": 4, "FileName": ")" + Path("a.avi") + R"(", "Title": "T",
        "Type": "Video", "Category": "Live", "CRC": "", "Size": 8, "Length": 0, "FourCC": "", "Rating": 4, "Keywords": ["j", "k"], "Media": null})"));
    EXPECT_EQ(records[5]["CRC"], "CBF43926");
    EXPECT_EQ(records[5]["Type"], "Video");  // by its extension, whatever its case
    EXPECT_EQ(records[6]["CRC"], "");
    EXPECT_EQ(records[6]["Type"], "");
}

// Nothing is written and nothing goes to standard output, whatever was read before the complaint.
TEST_F(Catalogued, RefusalsSayWhyAndChangeNothing) {
    folder.Write("a.avi", "contents");
    folder.Write("digits", "123456789");
    const std::string missing = Path("missing.rvd");
    const std::string notes = folder.Write("notes.txt", "not a catalogue");
    const std::string nowhere = Path("nowhere");
    const std::string cut = Path("cut.rvd"), zeroed = Path("zeroed.rvd");
    std::filesystem::copy_file(cat, cut);
    Truncate(cut);
    std::filesystem::copy_file(cat, zeroed);
    ZeroPage(zeroed);
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"add", missing, notes}, missing + ": No such file"}, {{"update", missing, "1"}, missing + ": No such file"},
        {{"delete", missing, "1"}, missing + ": No such file"}, {{"search", missing}, missing + ": No such file"},
        {{"category", missing, "list"}, missing + ": No such file"}, {{"type", missing, "delete", "x"}, missing + ": No such file"},
        {{"load", missing, "/", "*"}, missing + ": No such file"}, {{"remove-missing", missing}, missing + ": No such file"},
        {{"detect-types", missing}, missing + ": No such file"}, {{"detect-moved", missing, "/"}, missing + ": No such file"},
        {{"replace", missing, "a", "b"}, missing + ": No such file"}, {{"verify", missing}, missing + ": No such file"},
        {{"add", notes, notes}, notes + ": Not an SQLite database"},
        {{"list", folder.Root()}, folder.Root() + ": This is a folder, not a catalogue file"},
        {{"new", cat}, cat + ": File already exists"},
        {{"category", cut, "add", "Jazz"}, cut + ": The catalogue file is damaged: it is shorter than it should be (truncated)"},
        {{"category", zeroed, "add", "Jazz"}, zeroed + ": " + kUnreadablePages},
        {{"add", cat, folder.Root() + "/./a.avi", "--type", "Nope"}, "Already catalogued: " + Path("a.avi") + " (FileID 1)"},
        {{"add", cat, Path("a.avi"), "--force", "--type", "Audio"}, "No file type named Audio"},
        {{"add", cat, Path("a.avi"), "--force", "--category", "Nope"}, "No category named Nope"},
        {{"add", cat, Path("gone.avi")}, "Could not read " + Path("gone.avi") + ": No such file or directory"},
        {{"delete", cat, "7"}, "No record with FileID 7"}, {{"update", cat, "7", "--title", "x"}, "No record with FileID 7"},
        {{"update", cat, "1", "--type", "Nope"}, "No file type named Nope"},
        {{"category", cat, "add", "Live"}, "Category already exists: Live"},
        {{"category", cat, "delete", "Jazz"}, "No category named Jazz"},
        {{"type", cat, "delete", "Audio"}, "No file type named Audio"},
        {{"search", cat, "--type", "Sound"}, "No file type named Sound"},
        {{"load", cat, nowhere, "*"}, "Cannot read the folder " + nowhere + ": No such file or directory"},
        {{"load", cat, "", "*"}, "Choose the folder to load"}, {{"replace", cat, "", "x"}, "You must enter text to find"},
        {{"list", cat, "--drive", "NOPE"}, "No drive named NOPE"}, {{"single-copies", cat, "--drive", "NOPE"}, "No drive named NOPE"},
        {{"crc", Path("digits"), Path("missing")}, "Could not read " + Path("missing") + ": No such file or directory"},
        {{"info", folder.Root()}, "Not a plain file: " + folder.Root()},
    };
    const auto files = [&] {
        std::map<std::string, std::string> bytes;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Root()))
            if (entry.is_regular_file()) bytes[entry.path()] = Bytes(entry.path());
        return bytes;
    };
    {
        Catalogue opened;  // our own tables made, as the first write of any program of ours makes them
        ASSERT_EQ(OpenCatalogue(opened.Store, cat), "");
        ASSERT_EQ(opened.Reload(), "");
    }
    const std::map<std::string, std::string> before = files();
    for (const auto& [args, error] : refusals) EXPECT_EQ(Call(args), (Ran{1, "", error + "\n"})) << args[0] << " " << args[1];
    EXPECT_TRUE(files() == before);
}

TEST_F(Catalogued, UpdateChangesOnlyWhatItIsGivenAndDeleteRemoves) {
    nlohmann::json first = Records()[1];
    EXPECT_EQ(Run({"update", "c.rvd", "2", "--no-keywords", "--category", "", "--path", "moved/b.avi"}).Status, 0);
    Ok({"update", cat, "1", "--rating", "7", "--keyword", "new"});
    Ok({"update", cat, "3", "--title", "plain"});
    std::map<int, nlohmann::json> records = Records();
    first["Rating"] = 7;
    first["Keywords"] = {"new"};
    EXPECT_EQ(records[1], first);
    EXPECT_EQ(records[2], nlohmann::json::parse(R"({"FileID": 2, "FileName": ")" + Path("moved/b.avi") + R"(", "Title": "5% off_",
        "Type": "Video", "Category": "", "CRC": "", "Size": 9, "Length": 0, "FourCC": "", "Rating": 10, "Keywords": [],
        "Drive": "", "Media": null})"));
    // A record without a type or category still has none (NULL, not 0) after an update.
    clsSQLite store;
    ASSERT_EQ(store.OpenDB(cat), "");
    ASSERT_EQ(store.Execute("SELECT Type IS NULL AND Category IS NULL FROM tblFile WHERE FileID=3"), "");
    EXPECT_EQ(store.Field(0).AsInt(), 1);

    EXPECT_EQ(Run({"delete", "c.rvd", "1"}).Status, 0);
    EXPECT_EQ(IDs(Ok({"list", cat, "--format", "csv"})), (std::vector<std::string>{"3", "2"}));
}

TEST_F(Catalogued, CategoriesAndFileTypesAreKeptAsTheTabsKeepThem) {
    Ok({"category", cat, "add", "Concerts"});
    EXPECT_EQ(Run({"category", "c.rvd", "list"}).Out, "Concerts\nLive\n");
    EXPECT_EQ(Run({"category", "c.rvd", "delete", "Live"}).Status, 0);

    EXPECT_EQ(Run({"type", "c.rvd", "save", "Audio", "--ext", "MP3", "--app", "/usr/bin/player"}).Status, 0);
    Ok({"type", cat, "save", "Audio", "--ext", "x.FLAC", "--ext", "Ogg"});  // the same type: new extensions, same player
    Ok({"type", cat, "save", "Video", "--ext", ".AVI", "movie.part.MPG"});
    EXPECT_EQ(Run({"type", "c.rvd", "list"}), (Ran{0,
                                                   "Description  Extensions  External Application\n"
                                                   "Audio        flac, ogg   /usr/bin/player\n"
                                                   "Video        avi, mpg\n", ""}));
    EXPECT_EQ(Run({"type", "c.rvd", "delete", "Video"}).Status, 0);
    const std::map<int, nlohmann::json> records = Records();
    EXPECT_EQ(records.at(1)["Type"], "");
    EXPECT_EQ(records.at(2)["Category"], "");
}

TEST_F(Catalogued, SearchBuildsTheSearchTabsStatement) {
    const Ran all = Run({"search", "c.rvd", "--format", "csv"});
    EXPECT_EQ(std::make_pair(IDs(all.Out), all.Err), std::make_pair(std::vector<std::string>{"1", "2", "3"}, std::string("3 matching files found\n")));
    EXPECT_EQ(Found({"--title", "o'brien"}, "1"), (std::vector<std::string>{"1"}));  // quotes doubled, case ignored
    EXPECT_EQ(Found({"--title", "5_off"}, "0"), (std::vector<std::string>{}));  // the user's wildcards stay wild
    EXPECT_EQ(Found({"--title", "5__off"}, "1"), (std::vector<std::string>{"2"}));
    EXPECT_EQ(Found({"--name", ".AVI", "--type", "Video"}, "2"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Found({"--size", "<", "10"}, "1"), (std::vector<std::string>{"2"}));
    EXPECT_EQ(Found({"--size", ">", "9.5kB"}, "2"), (std::vector<std::string>{"1", "3"}));  // the leading number
    EXPECT_EQ(Found({"--rating", "<", "-1"}, "1"), (std::vector<std::string>{"3"}));
    EXPECT_EQ(Found({"--category", "Live"}, "1"), (std::vector<std::string>{"2"}));
    // Keywords narrow what the statement found, exactly and all of them; the count is of the files listed.
    EXPECT_EQ(Found({"--keyword", "live"}, "2"), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(Found({"--keyword", "live", "--keyword", "rock", "--rating", ">", "0"}, "1"), (std::vector<std::string>{"1"}));
}

TEST_F(Catalogued, ListSortsNumericColumnsAsNumbers) {
    const auto sorted = [&](const std::string& column, bool descending) {
        std::vector<std::string> args{"list", cat, "--format", "csv", "--sort", column};
        if (descending) args.push_back("--desc");
        return IDs(Ok(args));
    };
    EXPECT_EQ(sorted("size", false), (std::vector<std::string>{"2", "3", "1"}));  // 9, 10, 100
    EXPECT_EQ(sorted("SIZE", true), (std::vector<std::string>{"1", "3", "2"}));
    EXPECT_EQ(sorted("Rating", false), (std::vector<std::string>{"3", "1", "2"}));  // -2, 3, 10
    EXPECT_EQ(sorted("title", false), (std::vector<std::string>{"3", "2", "1"}));  // ESC, "5", "O" as text
    EXPECT_EQ(sorted("Length", false), (std::vector<std::string>{"1", "2", "3"}));  // ties keep file-name order
}

TEST_F(Catalogued, EveryFormatCarriesTheCellsWhole) {
    const Rows csv = ReadCSV(Run({"list", "c.rvd", "--format", "csv", "--sort", "Size", "--desc"}).Out);
    ASSERT_EQ(csv.size(), 4u);
    EXPECT_EQ(csv[0], (std::vector<std::string>{"FileID", "File Name", "Title", "Type", "Category", "CRC", "Size",
                                                 "Length", "FourCC", "Rating", "Keywords"}));
    EXPECT_EQ(csv[1], (std::vector<std::string>{"1", Path("a.avi"), "O'Brien, \"live\"\nnight", "Video", "", "", "100", "0",
                                                 "", "3", "live, rock"}));
    // Without --sort each row is written as it is made, to the same bytes.
    EXPECT_EQ(Run({"list", "c.rvd", "--format", "csv"}).Out, Run({"list", "c.rvd", "--format", "csv", "--sort", "File Name"}).Out);
    const nlohmann::json json = nlohmann::json::parse(Run({"list", "c.rvd", "--format", "json", "--sort", "Size", "--desc"}).Out);
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(json[0], nlohmann::json::parse(R"({"FileID": 1, "FileName": ")" + Path("a.avi") +
                                             R"(", "Title": "O'Brien, \"live\"\nnight", "Type": "Video", "Category": "",
                                             "CRC": "", "Size": 100, "Length": 0, "FourCC": "", "Rating": 3,
                                             "Keywords": ["live", "rock"], "Drive": "", "Media": null})"));
    // A table is for a terminal: one line per file, columns aligned, no control character let through.
    const std::string table = Run({"list", "c.rvd"}).Out;
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 4);
    EXPECT_EQ(table.find('\x1b'), std::string::npos);
    EXPECT_NE(table.find("\\x1b[31mred"), std::string::npos);
    std::istringstream lines(table);
    std::string header;
    std::getline(lines, header);
    const std::size_t sizeEnd = header.find("Size") + 4;  // sizes stand right-aligned under it
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(std::isdigit(line.at(sizeEnd - 1)) && line.at(sizeEnd) == ' ') << line;
}

TEST(StoredPath, ARootWrittenWithSeveralSlashesIsTheRoot) {
    EXPECT_EQ(StoredPath("//"), "/");
    EXPECT_EQ(StoredPath("////"), "/");
    EXPECT_EQ(StoredPath("///media//films/"), "/media/films");
}
