// SPDX-License-Identifier: GPL-3.0-or-later
// The results list's sort over a million rows: the order of modListViewSort, from keys built
// once per sort from the records' fields rather than from the cells' texts.
#pragma once

#include <vector>

#include "model/Catalogue.h"
#include "listing/ListRow.h"

class NaturalOrder;

// The window's column after the list's ten: the name of the drive a record lies on, "" for none.
inline constexpr int kDriveColumn = kListColumnCount;

// Orders positions in catalogue.Files.Records() by the column (one of the list's or kDriveColumn)
// as CompareCells orders the cells' texts, ascending or descending; positions with equal cells keep
// their order. Builds each row's key once from the record's fields rather than formatting every
// cell. Moves the type and category cursors.
// With natural, the columns that name things (IsNaturalColumn) go by its keys instead, one made per
// row and sort; equal keys keep their order too.
void SortPositions(Catalogue& catalogue, std::vector<int>& positions, int column, bool ascending,
                   const NaturalOrder* natural = nullptr);
// File Name, Title and Keywords: the columns a natural order applies to.
bool IsNaturalColumn(int column);
