// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/RemoveCopies.h"

#include <map>
#include <set>
#include <tuple>

#include "identity/FileHashes.h"
#include "model/modCatalogue.h"
#include "tools/Batch.h"
#include "tools/ToolLog.h"

namespace {

using Contents = std::tuple<std::int64_t, ContentHash>;

class Run {
public:
    Run(Catalogue& catalogue, const RemovalRequest& request, const TrashMover& moveToTrash, ToolHost& host)
        : catalogue_(catalogue), request_(request), moveToTrash_(moveToTrash), host_(host), log_("copies.log", true),
          // A file in the trash whose record a failed group brought back would be a record of nothing.
          batch_(catalogue.Store, request.ToTrash ? 1 : kScatteredUnits), ticked_(request.FileIDs.begin(), request.FileIDs.end()) {}

    ToolResult Go();

private:
    bool Away(const FileRecord& record) const;
    bool AsHashed(const FileRecord& record) const;
    void FindKeptCopies();
    std::string WhyNotToTrash(const FileRecord& record) const;
    void Remove(const FileRecord& record);

    Catalogue& catalogue_;
    const RemovalRequest& request_;
    const TrashMover& moveToTrash_;
    ToolHost& host_;
    ToolLog log_;
    Batch batch_;
    const std::set<int> ticked_;
    FileHashes hashes_;
    std::map<Contents, std::set<std::string>> kept_;  // the paths of the copies that stay, by contents
    ToolResult result_;
};

ToolResult Run::Go() {
    log_.Write("Reelvault");
    log_.Write(request_.ToTrash ? "Moved copies to the trash" : "Removed copies from the catalogue");
    log_.Write("");
    if (request_.ToTrash) {
        result_.Error = hashes_.LoadFromDatabase(catalogue_.Store, catalogue_.Files);
        FindKeptCopies();
    }
    const auto total = static_cast<std::int64_t>(request_.FileIDs.size());
    for (std::int64_t done = 0; done < total && result_.Error.empty(); ++done) {
        if (!catalogue_.Files.GotoFileID(request_.FileIDs[done])) continue;  // gone meanwhile
        const FileRecord record = *catalogue_.Files.Current();
        if (!host_.Progress(done, total, record.FileName)) {
            result_.Cancelled = true;
            break;
        }
        std::string why = request_.ToTrash ? WhyNotToTrash(record) : "";
        if (why.empty() && request_.ToTrash) why = moveToTrash_(record.FileName);
        if (!why.empty()) {
            ++result_.Skipped;
            log_.Write("Not moved " + record.FileName + ": " + why);
            continue;
        }
        Remove(record);
    }
    if (std::string error = batch_.Finish(); result_.Error.empty()) result_.Error = error;
    result_.Changed = batch_.Committed();
    log_.Write("");
    if (!result_.Error.empty()) log_.Write("Stopped: " + result_.Error);
    log_.Write(std::to_string(result_.Changed) + (request_.ToTrash ? " files moved to the trash." : " records removed."));
    if (result_.Skipped > 0) log_.Write(std::to_string(result_.Skipped) + " files not moved.");
    if (result_.Error.empty()) result_.Error = log_.Error();
    result_.LogPath = log_.Path();
    host_.ShowLog(log_.Path());
    return result_;
}

bool Run::Away(const FileRecord& record) const {
    const Drive* drive = catalogue_.Drives.ByID(record.DriveID);
    return drive ? !drive->Holds(record.FileName) : catalogue_.Drives.Mounted().InDrivePlaceLeftEmpty(record.FileName);
}

bool Run::AsHashed(const FileRecord& record) const {
    const HashRow* row = hashes_.Of(record.FileID);
    const std::optional<FileStamp> now = StampOfPath(record.FileName);
    return row && now && StillAsHashed(*row, *now);
}

// The copies that count as staying: not ticked, and there, or on a drive that is away.
void Run::FindKeptCopies() {
    for (const FileRecord& record : catalogue_.Files.Records()) {
        const HashRow* row = hashes_.Of(record.FileID);
        if (!row || ticked_.contains(record.FileID)) continue;
        if (Away(record) || AsHashed(record)) kept_[{row->Stamp.Size, row->Hash}].insert(record.FileName);
    }
}

std::string Run::WhyNotToTrash(const FileRecord& record) const {
    const HashRow* row = hashes_.Of(record.FileID);
    if (!row) return "its contents are not known (it has no hash)";
    const auto kept = kept_.find({row->Stamp.Size, row->Hash});
    // A second record of this very file is no second copy.
    if (kept == kept_.end() || (kept->second.size() == 1 && kept->second.contains(record.FileName)))
        return "no other copy of it would stay";
    if (Away(record)) return "its drive is not plugged in";
    if (!AsHashed(record)) return "it changed since it was hashed, or is gone";
    return {};
}

void Run::Remove(const FileRecord& record) {
    result_.Error = batch_.Begin();
    if (result_.Error.empty()) result_.Error = DeleteFile(catalogue_, record.FileID);
    if (result_.Error.empty()) result_.Error = batch_.UnitDone();
    if (!result_.Error.empty()) {
        // The file is in the trash already; its record must say where to look for it.
        if (request_.ToTrash) log_.Write("Moved to the trash, but its record stays: " + record.FileName);
        return;
    }
    log_.Write((request_.ToTrash ? "Moved to the trash " : "Removed from the catalogue ") + record.FileName);
}

}  // namespace

ToolResult RemoveCopies(Catalogue& catalogue, const RemovalRequest& request, const TrashMover& moveToTrash, ToolHost& host) {
    return Run(catalogue, request, moveToTrash, host).Go();
}
