// SPDX-License-Identifier: GPL-3.0-or-later
// An INI-style file held whole in memory: variables with their sections, and comment lines with
// where they stood. Names and values are kept exactly as written; every comparison is exact.
#pragma once

#include <string>
#include <vector>

class clsINIParse {
public:
    const std::string& INIFileName() const { return fileName_; }
    void SetINIFileName(std::string fileName) { fileName_ = std::move(fileName); }

    // Adds the file's variables and comments to what is held. A line ends at LF, CR LF or CR;
    // empty lines are skipped and not counted. "#" or "'" first: a comment; "[...]": a section;
    // with "=": a variable, named by what precedes the first "="; anything else is dropped.
    // Returns "" (also when there is no such file) or why the file could not be read.
    std::string LoadINI();

    // The value of the first variable of that name, in any section; "" when there is none.
    std::string GetVariableValue(const std::string& name) const;
    std::string GetSectionVariableValue(const std::string& section, const std::string& name) const;
    // Set the first matching variable; false when none matches (nothing is added).
    bool ChangeVariable(const std::string& name, const std::string& value);
    bool ChangeSectionVariable(const std::string& section, const std::string& name, const std::string& value);
    // Appends a variable, outside any section for AddVariable; false, and nothing changes, when
    // the section already holds that name.
    bool AddVariable(const std::string& name, const std::string& value);
    bool AddSectionVariable(const std::string& section, const std::string& name, const std::string& value);
    // Removes the first match; the last variable takes its place. False when none matches.
    bool DeleteVariable(const std::string& name);
    bool DeleteSectionVariable(const std::string& section, const std::string& name);

    // Sorts the variables by section, then name (by character code, stable; the sort stays) and
    // writes the whole file with LF line ends: variables outside sections first, an empty line
    // before each "[section]", comments back at their line numbers (those never reached are
    // dropped). The file is replaced in one step, so a failure leaves the old one whole.
    // Returns "" or why it could not be written.
    std::string SaveINI();

private:
    struct Variable {
        std::string section;
        std::string name;
        std::string value;
    };
    struct Comment {
        std::string text;
        int line;
    };

    void ParseLine(const std::string& line, int number, std::string& section);
    int IndexOf(const std::string& name) const;  // -1 when none
    int IndexOf(const std::string& section, const std::string& name) const;
    std::string Render() const;

    std::string fileName_;
    std::vector<Variable> variables_;
    std::vector<Comment> comments_;
};
