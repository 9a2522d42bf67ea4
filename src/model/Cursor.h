// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor rules every record set shares: -1 for no current row, moves that never pass the
// ends, and look-ups that leave the last match current.
#pragma once

#include <vector>

template <class Row>
bool IsOn(int current, const std::vector<Row>& rows) {
    return current >= 0 && current < static_cast<int>(rows.size());
}

template <class Row>
bool MoveToFirst(int& current, const std::vector<Row>& rows) {
    if (rows.empty()) return false;
    current = 0;
    return true;
}

template <class Row>
bool MoveToNext(int& current, const std::vector<Row>& rows) {
    if (current + 1 >= static_cast<int>(rows.size())) return false;
    ++current;
    return true;
}

// Scans from the end, so the first hit is the last match in order.
template <class Row, class Match>
bool GotoLast(int& current, const std::vector<Row>& rows, Match match) {
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i) {
        if (match(rows[i])) {
            current = i;
            return true;
        }
    }
    return false;
}
