// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RecordWalk.h"

#include "tools/Batch.h"

ToolResult WalkRecords(Catalogue& catalogue, ToolHost& host, const std::function<RecordWrites(const FileRecord&)>& visit) {
    ToolResult result;
    clsFile& files = catalogue.Files;
    // Records in name order lie all over the file, so a group is bounded by its age alone.
    Batch batch(catalogue.Store, kScatteredUnits);
    std::int64_t done = 0;
    for (bool more = files.MoveFirst(); more; more = files.MoveNext()) {
        if (!host.Progress(done++, files.Count(), files.FileName())) {
            result.Cancelled = true;
            break;
        }
        const RecordWrites writes = visit(*files.Current());
        if (!writes) continue;
        result.Error = batch.Begin();
        if (result.Error.empty()) result.Error = writes();
        if (result.Error.empty()) result.Error = batch.UnitDone();
        if (!result.Error.empty()) break;
    }
    if (std::string error = batch.Finish(); result.Error.empty()) result.Error = error;
    result.Changed = batch.Committed();
    return result;
}
