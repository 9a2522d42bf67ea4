// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/ListRow.h"

#include <algorithm>

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"
#include "listing/RowSort.h"
#include "listing/modListViewSort.h"

TEST_F(CatalogueTest, RowsShowNamesOfKnownTypesAndCategoriesAndTheKeywordText) {
    AddCategory(catalogue, "Live");
    SaveFileType(catalogue, -1, "Video", "", {"avi"});
    ASSERT_EQ(catalogue.Reload(), "");
    const FileRecord known{7, "/a.avi", "A", 1, 1, "1F", 5'000'000'000, 90000, "XVID", -2, {"live", "rock"}};
    EXPECT_EQ(RowTexts(catalogue, known),
              (ListRow{"/a.avi", "A", "Video", "Live", "1F", "5000000000", "90000", "XVID", "-2", "live, rock"}));
    const FileRecord unknown{8, "/b", "", 9, 0, "", 0, 0, "", 0, {}};
    EXPECT_EQ(RowTexts(catalogue, unknown), (ListRow{"/b", "", "", "", "", "0", "0", "", "0", ""}));
    EXPECT_EQ(RowKey(17), "KEY17");
}

TEST(ListSort, NumericColumnsOrderAsNumbersAndTextColumnsAsText) {
    EXPECT_EQ(InvertDigits("-0123456789.x"), " 9876543210.x");
    EXPECT_EQ(NumericSortKey("42"), std::string(28, '0') + "42." + std::string(30, '0'));
    EXPECT_EQ(NumericSortKey("0"), "&" + std::string(30, '9') + "." + std::string(30, '9'));
    EXPECT_EQ(NumericSortKey("abc"), "");

    std::vector<std::string> sizes = {"100", "9", "-10", "0", "x", "10", "-5", "2.5"};
    std::sort(sizes.begin(), sizes.end(), [](auto& a, auto& b) { return CompareCells(SizeColumn, a, b) < 0; });
    EXPECT_EQ(sizes, (std::vector<std::string>{"x", "-10", "-5", "0", "2.5", "9", "10", "100"}));
    std::vector<std::string> titles = {"b", "10", "B", "a", "9"};
    std::sort(titles.begin(), titles.end(), [](auto& a, auto& b) { return CompareCells(TitleColumn, a, b) < 0; });
    EXPECT_EQ(titles, (std::vector<std::string>{"10", "9", "a", "B", "b"}));
}

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
    const auto& records = catalogue.Files.Records();
    std::vector<int> start(records.size());
    for (std::size_t at = 0; at < start.size(); ++at) start[at] = static_cast<int>((at * 5 + 2) % start.size());  // not the set's order
    for (int column = 0; column < kListColumnCount; ++column) {
        for (const bool ascending : {true, false}) {
            std::vector<int> expected = start;
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                const int order = CompareCells(column, CellText(catalogue, records[a], column), CellText(catalogue, records[b], column));
                return ascending ? order < 0 : order > 0;
            });
            std::vector<int> sorted = start;
            SortPositions(catalogue, sorted, column, ascending);
            EXPECT_EQ(sorted, expected) << "column " << column << (ascending ? " ascending" : " descending");
        }
    }
}
