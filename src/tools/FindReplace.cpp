// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FindReplace.h"

#include <algorithm>

#include "tools/RecordWalk.h"

namespace {

bool PathContains(const FileRecord& record, const std::string& find) { return record.FileName.find(find) != std::string::npos; }

}  // namespace

std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& replace) {
    if (find.empty()) return text;
    std::string result;
    std::size_t from = 0;
    for (std::size_t hit; (hit = text.find(find, from)) != std::string::npos; from = hit + find.size())
        result.append(text, from, hit - from).append(replace);
    return result.append(text, from);
}

ToolResult FindReplace(Catalogue& catalogue, const std::string& find, const std::string& replace, ToolHost& host) {
    if (find.empty()) {
        ToolResult refused;
        refused.Error = "You must enter text to find";
        return refused;
    }
    return WalkRecords(catalogue, host, [&](const FileRecord& record) -> RecordWrites {
        if (!PathContains(record, find)) return {};
        return [&store = catalogue.Store, path = ReplaceAll(record.FileName, find, replace), id = record.FileID] {
            return store.Execute("UPDATE tblFile SET FileName=?1 WHERE FileID=?2", {path, id});
        };
    });
}

int CountPathsContaining(const clsFile& files, const std::string& find) {
    if (find.empty()) return 0;
    const std::vector<FileRecord>& records = files.Records();
    const auto holdsFind = [&](const FileRecord& record) { return PathContains(record, find); };
    return static_cast<int>(std::count_if(records.begin(), records.end(), holdsFind));
}
