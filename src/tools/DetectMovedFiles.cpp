// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DetectMovedFiles.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "support/modUtilities.h"
#include "tools/DirectoryScan.h"
#include "tools/RecordWalk.h"
#include "tools/ToolLog.h"

namespace {

// The records that could have moved to each file of the folder, known before any is moved, so that
// a name shared by several files ("01.mp3") re-points none of them rather than all onto one.
class Claims {
public:
    Claims(const clsFile& files, const std::string& target, const FileSizes& sizes) : target_(target) {
        for (const FileRecord& record : files.Records()) {
            if (record.FileName.starts_with(target)) catalogued_.insert(record.FileName);
        }
        for (const FileRecord& record : files.Records()) {
            const std::string name = GetFileName(record.FileName);
            const auto found = sizes.Bytes.find(name);
            if (found == sizes.Bytes.end() || target + name == record.FileName) continue;
            if (record.Size > 0 && record.Size != found->second) continue;
            claims_[target + name].oldPaths.push_back(record.FileName);
        }
    }

    // Whether a record holds the path already: moving another onto it would make two of one file.
    bool IsCatalogued(const std::string& newPath) const { return catalogued_.contains(newPath); }

    // Where the record's file went, if the folder holds one that can be it. A file still in its old
    // place was copied, not moved.
    std::optional<std::string> NewPath(const FileRecord& record) const {
        const auto claim = claims_.find(target_ + GetFileName(record.FileName));
        if (claim == claims_.end() || IsExistingFile(record.FileName)) return std::nullopt;
        return claim->first;
    }

    // Whether another record, its old file gone too, claims the same new path.
    bool IsShared(const std::string& newPath) {
        Claim& claim = claims_.at(newPath);
        if (claim.oldPaths.size() == 1) return false;
        if (!claim.gone) {
            claim.gone = 0;
            for (const std::string& oldPath : claim.oldPaths) *claim.gone += !IsExistingFile(oldPath);
        }
        return *claim.gone > 1;
    }

private:
    struct Claim {
        std::vector<std::string> oldPaths;
        std::optional<int> gone;  // how many of them no longer hold a file, once asked
    };

    std::string target_;
    std::unordered_set<std::string> catalogued_;
    std::unordered_map<std::string, Claim> claims_;
};

ToolResult Refused(const std::string& reason) {
    ToolResult result;
    result.Error = reason;
    return result;
}

ToolResult Repoint(Catalogue& catalogue, const std::string& target, const FileSizes& sizes, ToolLog& log, ToolHost& host) {
    Claims claims(catalogue.Files, target, sizes);
    int shared = 0;
    ToolResult result = WalkRecords(catalogue, host, [&](const FileRecord& record) -> RecordWrites {
        const std::optional<std::string> newPath = claims.NewPath(record);
        if (!newPath) return {};
        if (claims.IsCatalogued(*newPath)) {
            ++shared;
            log.Write(record.FileName + " NOT MOVED: another record has the path " + *newPath);
            return {};
        }
        if (claims.IsShared(*newPath)) {
            ++shared;
            log.Write(record.FileName + " NOT MOVED: more than one record matches " + *newPath);
            return {};
        }
        // The path alone: the rest of the record as loaded would write its missing type as 0, not NULL.
        return [&, from = record.FileName, to = *newPath, id = record.FileID] {
            std::string error = catalogue.Store.Execute("UPDATE tblFile SET FileName=?1 WHERE FileID=?2", {to, id});
            if (error.empty()) log.Write(from + " MOVED TO " + to);
            return error;
        };
    });
    result.Skipped = shared;
    return result;
}

}  // namespace

ToolResult DetectMovedFiles(Catalogue& catalogue, const std::string& folder, ToolHost& host) {
    ToolLog log("move.log", true);
    log.Write("Reelvault");
    log.Write("The following files have been detected as being moved");
    if (folder.empty()) return Refused("Choose the folder the files were moved to");
    const FileSizes sizes = ListFileSizes(folder);
    if (!sizes.Error.empty()) return Refused(sizes.Error);
    ToolResult result = Repoint(catalogue, folder.ends_with('/') ? folder : folder + "/", sizes, log, host);
    if (result.Error.empty()) result.Error = log.Error();
    result.LogPath = log.Path();
    host.ShowLog(log.Path());
    return result;
}
