// SPDX-License-Identifier: GPL-3.0-or-later
// The order SQLite's ORDER BY gives a text column of the default (BINARY) collation, made in
// memory: the engine's sort of a million rows spills through temporary files and takes longer
// than reading them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The positions of names in that order: by kind (see clsSQLite::Row::SortClass, one per name),
// then byte by byte, a text before a longer one that begins with it; ties keep their positions'
// order.
std::vector<int> NameOrder(const std::vector<std::uint8_t>& kinds, const std::vector<std::string_view>& names);
