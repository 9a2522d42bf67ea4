// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/clsINIParse.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "support/UniqueFile.h"
#include "support/modAtomicFile.h"

namespace {

std::string ReadError(const std::string& fileName) {
    return "Could not read " + fileName + ": " + std::strerror(errno);
}

// Splits at LF, CR LF or a lone CR. A final line without an end still counts.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

}  // namespace

std::string clsINIParse::LoadINI() {
    const UniqueFile file = OpenUniqueFile(fileName_, "rb");
    if (!file) return errno == ENOENT ? std::string() : ReadError(fileName_);
    std::string text;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, got);
    if (std::ferror(file.get())) return ReadError(fileName_);
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);  // some editors mark UTF-8 so

    int number = 0;
    std::string section;
    for (const std::string& line : SplitLines(text)) {
        if (!line.empty()) ParseLine(line, ++number, section);
    }
    return {};
}

void clsINIParse::ParseLine(const std::string& line, int number, std::string& section) {
    if (line[0] == '#' || line[0] == '\'') {
        comments_.push_back({line, number});
    } else if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        section = line.substr(1, line.size() - 2);
    } else if (const auto equals = line.find('='); equals != std::string::npos) {
        variables_.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
    }
}

int clsINIParse::IndexOf(const std::string& name) const {
    for (std::size_t i = 0; i < variables_.size(); ++i) {
        if (variables_[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

int clsINIParse::IndexOf(const std::string& section, const std::string& name) const {
    for (std::size_t i = 0; i < variables_.size(); ++i) {
        if (variables_[i].section == section && variables_[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

std::string clsINIParse::GetVariableValue(const std::string& name) const {
    const int index = IndexOf(name);
    return index < 0 ? std::string() : variables_[index].value;
}

std::string clsINIParse::GetSectionVariableValue(const std::string& section, const std::string& name) const {
    const int index = IndexOf(section, name);
    return index < 0 ? std::string() : variables_[index].value;
}

bool clsINIParse::ChangeVariable(const std::string& name, const std::string& value) {
    const int index = IndexOf(name);
    if (index >= 0) variables_[index].value = value;
    return index >= 0;
}

bool clsINIParse::ChangeSectionVariable(const std::string& section, const std::string& name,
                                        const std::string& value) {
    const int index = IndexOf(section, name);
    if (index >= 0) variables_[index].value = value;
    return index >= 0;
}

bool clsINIParse::AddVariable(const std::string& name, const std::string& value) {
    return AddSectionVariable("", name, value);
}

bool clsINIParse::AddSectionVariable(const std::string& section, const std::string& name,
                                     const std::string& value) {
    if (IndexOf(section, name) >= 0) return false;
    variables_.push_back({section, name, value});
    return true;
}

bool clsINIParse::DeleteVariable(const std::string& name) { return DeleteSectionVariable("", name); }

bool clsINIParse::DeleteSectionVariable(const std::string& section, const std::string& name) {
    const int index = IndexOf(section, name);
    if (index < 0) return false;
    variables_[index] = std::move(variables_.back());  // the last row takes the removed one's place
    variables_.pop_back();
    return true;
}

std::string clsINIParse::Render() const {
    const auto commentAt = [this](int line) -> const Comment* {
        const auto match = std::find_if(comments_.begin(), comments_.end(),
                                        [line](const Comment& c) { return c.line == line; });
        return match == comments_.end() ? nullptr : &*match;
    };
    std::string text;
    int line = 0;
    const auto emit = [&](const std::string& content) {
        ++line;
        for (const Comment* comment; (comment = commentAt(line)) != nullptr; ++line) text += comment->text + "\n";
        text += content + "\n";
    };
    std::string section;
    for (const Variable& variable : variables_) {
        if (variable.section != section) {
            emit("");
            emit("[" + variable.section + "]");
            section = variable.section;
        }
        emit(variable.name + "=" + variable.value);
    }
    return text;
}

std::string clsINIParse::SaveINI() {
    std::stable_sort(variables_.begin(), variables_.end(), [](const Variable& a, const Variable& b) {
        return a.section != b.section ? a.section < b.section : a.name < b.name;
    });
    return WriteFileAtomically(fileName_, Render());
}
