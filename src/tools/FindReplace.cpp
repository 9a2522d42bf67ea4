// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FindReplace.h"

#include "tools/Batch.h"

std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& replace) {
    if (find.empty()) return text;
    std::string result;
    std::size_t from = 0;
    for (std::size_t hit; (hit = text.find(find, from)) != std::string::npos; from = hit + find.size())
        result.append(text, from, hit - from).append(replace);
    return result.append(text, from);
}

ToolResult FindReplace(Catalogue& catalogue, const std::string& find, const std::string& replace, ToolHost& host) {
    ToolResult result;
    if (find.empty()) {
        result.Error = "You must enter text to find";
        return result;
    }
    clsFile& files = catalogue.Files;
    Batch batch(catalogue.Store, kScatteredUnits);
    std::int64_t done = 0;
    for (bool more = files.MoveFirst(); more && result.Error.empty(); more = files.MoveNext()) {
        if (!host.Progress(done++, files.Count(), files.FileName())) {
            result.Cancelled = true;
            break;
        }
        if (files.FileName().find(find) == std::string::npos) continue;
        result.Error = batch.Begin();
        if (result.Error.empty()) {
            const std::string newPath = ReplaceAll(files.FileName(), find, replace);
            result.Error = catalogue.Store.Execute("UPDATE tblFile SET FileName=?1 WHERE FileID=?2", {newPath, files.FileID()});
        }
        if (result.Error.empty()) result.Error = batch.UnitDone();
    }
    if (std::string error = batch.Finish(); result.Error.empty()) result.Error = error;
    result.Changed = batch.Committed();
    return result;
}
