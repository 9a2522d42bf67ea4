// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/RowSort.h"

#include <algorithm>
#include <random>

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"
#include "listing/NaturalOrder.h"
#include "listing/modListViewSort.h"

namespace {

// Each column's order must be the cells' order, ties kept as they came, however the rows start.
void ExpectEveryColumnSortedAsCellsCompare(Catalogue& catalogue, const std::vector<int>& start) {
    const auto& records = catalogue.Files.Records();
    for (int column = 0; column < kListColumnCount; ++column) {
        std::vector<std::string> cells(records.size());
        for (std::size_t at = 0; at < records.size(); ++at) cells[at] = CellText(catalogue, records[at], column);
        for (const bool ascending : {true, false}) {
            std::vector<int> expected = start;
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                const int order = CompareCells(column, cells[a], cells[b]);
                return ascending ? order < 0 : order > 0;
            });
            std::vector<int> sorted = start;
            SortPositions(catalogue, sorted, column, ascending);
            EXPECT_EQ(sorted, expected) << "column " << column << (ascending ? " ascending" : " descending");
        }
    }
}

// The natural columns in the order of their collation keys, ties kept as they came.
void ExpectNaturalColumnsSortedByKeys(Catalogue& catalogue, const std::vector<int>& start, const NaturalOrder& natural) {
    const auto& records = catalogue.Files.Records();
    for (const int column : {FileNameColumn, TitleColumn, KeywordsColumn}) {
        std::vector<std::string> keys(records.size());
        for (std::size_t at = 0; at < records.size(); ++at) keys[at] = natural.Key(CellText(catalogue, records[at], column));
        for (const bool ascending : {true, false}) {
            std::vector<int> expected = start;
            std::stable_sort(expected.begin(), expected.end(),
                             [&](int a, int b) { return ascending ? keys[a] < keys[b] : keys[b] < keys[a]; });
            std::vector<int> sorted = start;
            SortPositions(catalogue, sorted, column, ascending, &natural);
            EXPECT_EQ(sorted, expected) << "natural column " << column << (ascending ? " ascending" : " descending");
        }
    }
}

template <class Random, class Choices>
const auto& Pick(Random& random, const Choices& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, std::size(choices) - 1)(random)];
}

// Texts that tie when folded or share long starts, that end on and around the eight-byte words a
// sort may look at, and that are empty.
std::string RandomText(std::mt19937& random, const std::string& shared) {
    static const std::string pieces[] = {"", "a", "A", "b", "B", "ab", "Ab", "aB", "title ", "Title ", "TITLE ",
                                         "12345678", "1234567", "123456789", "\xc3\xa9", "_", "~", "z", "Z"};
    std::string text = std::uniform_int_distribution(0, 5)(random) == 0 ? "" : shared;
    const int count = std::uniform_int_distribution(0, 12)(random);
    for (int piece = 0; piece < count; ++piece) text += Pick(random, pieces);
    return text;
}

}  // namespace

// The keys built from the fields must order exactly as the cells' texts compare, ties included.
TEST_F(CatalogueTest, SortPositionsOrdersEveryColumnAsItsCellsCompare) {
    AddCategory(catalogue, "live");
    AddCategory(catalogue, "Live");
    SaveFileType(catalogue, -1, "Video", "", {"avi"});
    SaveFileType(catalogue, -1, "audio", "", {"mp3"});
    const std::string shared = "/media/collection/shelf ";
    const FileRecord files[] = {
        {-1, shared + "b/Title 10.avi", "Title of file 10", 1, 1, "9E3779B1", 10, -5, "XVID", 3, {"rock", "Live"}},
        {-1, shared + "B/title 10.avi", "title of file 10", 2, 2, "9e3779b1", -3, 0, "xvid", 3, {"rock", "live"}},
        {-1, shared + "b/Title 9.avi", "Title of file 10", 9, 0, "", 5'000'000'000, 7, "", -1, {}},
        {-1, shared + "b/Title 1.avi", "Title of file 1", 1, 2, "1", 0, -5, "DIV3", 0, {"rock", "Live"}},
        {-1, shared + "b/T", "", 2, 1, "10", 10, 2'000'000'000, "XVID", 3, {"rock"}},
        {-1, shared + "b/title 10.avi x", "TITLE OF FILE 10", 1, 9, "1", -3, -5, "", 10, {"Rock", "live"}},
        {-1, shared + "b/Title 10.avi.part 2", "Title of file 10, the second part", 1, 1, "", 10, 0, "XVID", 3, {"rock", "Live", "z"}},
        {-1, shared + "b/Title 10.avi.part 1", "Title of file 10, the second half", 1, 1, "", 10, 0, "XVID", 3, {"rock", "Live", "a"}},
    };
    for (const FileRecord& file : files) ASSERT_EQ(InsertFile(catalogue, file).Error, "");
    ASSERT_EQ(catalogue.Reload(), "");
    std::vector<int> start(catalogue.Files.Records().size());
    for (std::size_t at = 0; at < start.size(); ++at) start[at] = static_cast<int>((at * 5 + 2) % start.size());  // not the set's order
    ExpectEveryColumnSortedAsCellsCompare(catalogue, start);
}

// Enough rows that runs of ties are sorted again in bulk, and texts that tie for longer than the
// words kept per row.
TEST_F(CatalogueTest, SortPositionsOrdersRandomRowsAsTheirCellsCompare) {
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (const char* name : {"live", "Live", "", "studio"}) AddCategory(catalogue, name);
    for (const char* name : {"Video", "video", "audio"}) SaveFileType(catalogue, -1, name, "", {});
    ASSERT_EQ(catalogue.Store.Execute("PRAGMA synchronous=OFF;"), "");  // a test's own file
    const std::string prefix = "/media/collection/shelf of many films/";
    const std::string longShared = "A Title Long Enough To Tie For More Than Forty Bytes, part ";
    const std::string otherLongShared = "Another Title Long Enough To Tie For More Than Forty Bytes: ";
    const std::string letters[] = {"a", "A", "b", "B", "z"};
    const std::string crcs[] = {"", "1", "10", "9e3779b1", "9E3779B1", "ffffffff"};
    const std::string fourCCs[] = {"", "XVID", "xvid", "DIV3", "H264"};
    const std::string keywords[] = {"rock", "Rock", "live", "a", "b", "keyword 0", "Keyword 0"};
    const std::int64_t sizes[] = {-5'000'000'000, -1, 0, 1, 10, 9, 5'000'000'000};
    for (int file = 0; file < 1200; ++file) {
        FileRecord record;
        record.FileName = prefix + RandomText(random, "") + std::to_string(file % 700);
        record.Title = file % 5 == 0 ? longShared + Pick(random, letters) : RandomText(random, file % 5 == 1 ? otherLongShared : "");
        record.TypeID = std::uniform_int_distribution(0, 4)(random);
        record.CategoryID = std::uniform_int_distribution(0, 5)(random);
        record.CRC = Pick(random, crcs);
        record.Size = Pick(random, sizes) + std::uniform_int_distribution(-2, 2)(random);
        record.Length = std::uniform_int_distribution(-3, 3)(random) * 1'000'000;
        record.FourCC = Pick(random, fourCCs);
        record.Rating = std::uniform_int_distribution(-2, 10)(random);
        for (int keyword = std::uniform_int_distribution(0, 3)(random); keyword > 0; --keyword) {
            const std::string& text = Pick(random, keywords);
            if (std::find(record.Keywords.begin(), record.Keywords.end(), text) == record.Keywords.end()) record.Keywords.push_back(text);
        }
        ASSERT_EQ(InsertFile(catalogue, record).Error, "");
    }
    ASSERT_EQ(catalogue.Reload(), "");
    std::vector<int> start(catalogue.Files.Records().size());
    for (std::size_t at = 0; at < start.size(); ++at) start[at] = static_cast<int>(at);
    std::shuffle(start.begin(), start.end(), random);
    start.resize(start.size() - 100);  // a search's rows, not the whole set
    ExpectEveryColumnSortedAsCellsCompare(catalogue, start);
    ExpectNaturalColumnsSortedByKeys(catalogue, start, NaturalOrder("en"));
}

// Numbers by value, case and accents second; the other columns as without a natural order.
TEST_F(CatalogueTest, SortPositionsOrdersNamesNaturally) {
    const char* names[] = {"/m/clip 10.avi", "/m/clip 2.avi", "/m/Clip 3.avi", "/m/\xc3\xa9lan.avi", "/m/Elan.avi", "/m/clip 1.avi"};
    for (const char* name : names) ASSERT_EQ(InsertFile(catalogue, {-1, name, "", 0, 0, "", 0, 0, "", 0, {}}).Error, "");
    ASSERT_EQ(catalogue.Reload(), "");
    std::vector<int> positions(catalogue.Files.Records().size());
    for (std::size_t at = 0; at < positions.size(); ++at) positions[at] = static_cast<int>(at);
    const NaturalOrder natural("en");
    SortPositions(catalogue, positions, FileNameColumn, true, &natural);
    std::vector<std::string> sorted;
    for (const int position : positions) sorted.push_back(catalogue.Files.Records()[position].FileName);
    EXPECT_EQ(sorted, (std::vector<std::string>{"/m/clip 1.avi", "/m/clip 2.avi", "/m/Clip 3.avi", "/m/clip 10.avi", "/m/Elan.avi",
                                                "/m/\xc3\xa9lan.avi"}));
    ExpectEveryColumnSortedAsCellsCompare(catalogue, positions);  // no natural order: as before
}
