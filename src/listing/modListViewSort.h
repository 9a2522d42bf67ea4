// SPDX-License-Identifier: GPL-3.0-or-later
// How the results list orders its rows by a column: numbers as numbers in the numeric columns,
// text otherwise.
#pragma once

#include <string>

// Each digit d becomes 9 - d and "-" a blank; anything else stays.
std::string InvertDigits(std::string text);

// A key that orders numeric cell texts as numbers when compared character by character: "" for a
// text that is not a number, then negative numbers from the most negative up, then zero, then the
// positive numbers. Positive: 30 or more digits, a point and 30 digits ("42" -> 28 zeros, "42",
// ".", 30 zeros); zero or negative: "&" and the inverted digits of the magnitude.
std::string NumericSortKey(const std::string& text);

// Orders two texts of a text column: without regard to letter case, then by their bytes so that
// texts differing only in case still have a fixed order. Negative, 0 or positive.
int CompareText(const std::string& a, const std::string& b);

// Orders two cells of the column: by NumericSortKey in a numeric column, by CompareText otherwise.
int CompareCells(int column, const std::string& a, const std::string& b);
