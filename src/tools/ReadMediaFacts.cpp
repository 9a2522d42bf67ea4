// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ReadMediaFacts.h"

#include "facts/FactRows.h"
#include "tools/FileFacts.h"
#include "tools/RecordWalk.h"
#include "tools/ToolLog.h"

namespace {

std::vector<std::string> PathsOf(const clsFile& files) {
    std::vector<std::string> paths;
    paths.reserve(files.Records().size());
    for (const FileRecord& record : files.Records()) paths.push_back(record.FileName);
    return paths;
}

}  // namespace

ToolResult ReadMediaFacts(Catalogue& catalogue, ToolHost& host) {
    if (!catalogue.OwnTables.Usable() || catalogue.Store.ReadOnly()) {
        ToolResult refused;
        refused.Error = catalogue.Store.ReadOnly() ? "The catalogue is read-only: " + catalogue.Store.FileName()
                                                    : "Media facts cannot be kept in this catalogue: " + catalogue.OwnTables.Note;
        return refused;
    }
    ToolLog log("facts.log", true);
    // The walk goes in the set's order, which is the order of Records(): the probes run ahead of it
    // on every core.
    FactGatherer gatherer(PathsOf(catalogue.Files), false);
    std::size_t index = 0;
    int skipped = 0;
    bool stopped = false;  // a stop asked for while a file was awaited, perhaps the last
    const std::int64_t total = catalogue.Files.Count();
    ToolResult result = WalkRecords(catalogue, host, [&](const FileRecord& record) -> RecordWrites {
        const std::string& path = record.FileName;
        const std::int64_t at = static_cast<std::int64_t>(index);
        const std::optional<FileFacts> facts = gatherer.Take(index++, [&] { return host.Progress(at, total, path); });
        if (!facts) {
            stopped = true;
            return {};
        }
        if (!facts->Error.empty() || facts->Media.Unprobed) {
            ++skipped;
            log.Write(facts->Error.empty() ? facts->Media.Reason : facts->Error);
            return {};
        }
        if (!facts->Media.IsMedia) log.Write(facts->Media.Reason);
        return [&, id = record.FileID, media = facts->Media.Facts] {
            clsSQLite::Transaction unit(catalogue.Store);
            if (!unit.BeginError().empty()) return unit.BeginError();
            if (std::string error = media ? StoreFacts(catalogue.Store, id, path, *media) : ForgetFacts(catalogue.Store, id);
                !error.empty())
                return error;
            return unit.Commit();
        };
    });
    result.Skipped = skipped;
    result.Cancelled = result.Cancelled || stopped;
    log.Write("");
    if (result.Cancelled) log.Write("Cancelled.");
    if (!result.Error.empty()) log.Write("Stopped: " + result.Error);
    log.Write(std::to_string(result.Changed) + " records' media facts read again.");
    if (skipped > 0) log.Write(std::to_string(skipped) + " files could not be read; their facts are kept.");
    if (result.Error.empty()) result.Error = log.Error();
    result.LogPath = log.Path();
    host.ShowLog(log.Path());
    return result;
}
