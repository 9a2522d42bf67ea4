// SPDX-License-Identifier: GPL-3.0-or-later
// The results list's sort over a million rows: the order of modListViewSort, from keys built
// once per sort from the records' fields rather than from the cells' texts.
#pragma once

#include <vector>

#include "model/Catalogue.h"
#include "listing/ListRow.h"

// The window's column after the list's ten: the name of the drive a record lies on, "" for none.
inline constexpr int kDriveColumn = kListColumnCount;

// Orders positions in catalogue.Files.Records() by the column (one of the list's or kDriveColumn)
// as CompareCells orders the cells' texts, ascending or descending; positions with equal cells keep
// their order. Builds each row's key once from the record's fields rather than formatting every
// cell. Moves the type and category cursors.
void SortPositions(Catalogue& catalogue, std::vector<int>& positions, int column, bool ascending);
