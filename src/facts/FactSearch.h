// SPDX-License-Identifier: GPL-3.0-or-later
// Searching by media facts: "height >= 1080", "audio_language = fre". Each condition becomes one
// SQL condition on tblFile that holds for a record with trusted facts (made for its path) that
// satisfy it.
#pragma once

#include <string>
#include <vector>

struct FactCondition {
    std::string Name;   // one of FactNames()
    std::string Op;     // =, <, >, <= or >=
    std::string Value;  // a number for a numeric fact; a text, compared without regard to letter case, otherwise
    bool operator==(const FactCondition&) const = default;
};

// The names a condition may use, in the order help lists them.
std::vector<std::string> FactNames();

// "" when the condition can be searched for; otherwise a sentence saying what is wrong with it: an
// unknown name, an unknown comparison, a value that is not a number, or a comparison other than =
// on a text.
std::string CheckFact(const FactCondition& condition);

// The SQL condition on tblFile for a condition CheckFact accepts; "0" (nothing) for one it refuses.
// The catalogue's own tables must be this program's to read.
std::string FactSQL(const FactCondition& condition);
