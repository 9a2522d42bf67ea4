// SPDX-License-Identifier: GPL-3.0-or-later
#include "refresh/RefreshApply.h"

#include <sys/stat.h>

#include <cerrno>
#include <unordered_set>

#include "drives/DriveLinks.h"
#include "analysis/modMediaInfo.h"
#include "facts/FactRows.h"
#include "identity/FileHashes.h"
#include "model/modCatalogue.h"
#include "store/OwnTables.h"
#include "support/modUtilities.h"
#include "tools/Batch.h"
#include "tools/DirectoryScan.h"
#include "tools/ToolLog.h"

namespace {

bool Applies(const PlanRow& row) {
    return row.Ticked && (row.Kind == RefreshKind::New || row.Kind == RefreshKind::Moved || row.Kind == RefreshKind::Changed ||
                          row.Kind == RefreshKind::Missing);
}

// Whether the file at path is still the one the plan saw: same size, time and inode.
bool StillAsPlanned(const std::string& path, const FileStamp& planned) {
    const std::optional<FileStamp> now = StampOfPath(path);
    return now && now->Size == planned.Size && now->MTimeNs == planned.MTimeNs && now->Inode == planned.Inode;
}

// Gone for certain: its folder can be read and holds nothing of that name.
bool Gone(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) != 0 && errno == ENOENT && IsReadableFolder(GetDirectory(path));
}

class Applier {
public:
    Applier(Catalogue& catalogue, const RefreshPlan& plan, ToolHost& host)
        : catalogue_(catalogue), plan_(plan), host_(host), log_("refresh.log", true), batch_(catalogue.Store),
          own_(catalogue.OwnTables.Usable()) {}

    ToolResult Go() {
        log_.Write("Reelvault");
        for (const std::string& root : plan_.Roots) log_.Write("Refreshed " + root);
        log_.Write("");
        std::int64_t total = 0;
        for (const PlanRow& row : plan_.Rows) total += Applies(row);
        std::int64_t done = 0;
        for (const PlanRow& row : plan_.Rows) {
            if (!Applies(row)) continue;
            if (!host_.Progress(done++, total, row.OldPath.empty() ? row.NewPath : row.OldPath)) {
                result_.Cancelled = true;
                break;
            }
            if (std::string away = DriveAway(); !away.empty()) {
                result_.Error = away;
                break;
            }
            if (!ApplyRow(row)) break;
        }
        return Finish(total);
    }

private:
    std::string DriveAway() const;
    bool ApplyRow(const PlanRow& row);
    std::string Why(const PlanRow& row);
    bool Holds(int fileID, const std::string& path);
    bool Catalogued(const std::string& path);
    std::string Write(const PlanRow& row);
    std::string AddNew(const PlanRow& row);
    std::string Repoint(const PlanRow& row);
    std::string Rewrite(const PlanRow& row);
    std::string StoreReadHash(int fileID, const PlanRow& row);
    ToolResult Finish(std::int64_t total);

    Catalogue& catalogue_;
    const RefreshPlan& plan_;
    ToolHost& host_;
    ToolLog log_;
    Batch batch_;
    const bool own_;  // the catalogue's own tables are ours to write
    ToolResult result_;
    std::vector<std::string> pendingLines_;  // of the rows in the batch not yet committed
    std::unordered_set<std::string> given_;  // paths records were given by this run
};

// A root whose device is no longer the one the plan walked: its drive was unplugged, and what
// is under its mount point now is the empty folder of the disk beneath.
std::string Applier::DriveAway() const {
    for (std::size_t index = 0; index < plan_.Roots.size() && index < plan_.RootDevices.size(); ++index) {
        struct stat info {};
        if (stat(plan_.Roots[index].c_str(), &info) != 0 || info.st_dev != plan_.RootDevices[index])
            return "The drive of " + plan_.Roots[index] + " is not plugged in any more: nothing more was changed";
    }
    return {};
}

bool Applier::Holds(int fileID, const std::string& path) {
    return catalogue_.Store.Execute("SELECT FileName FROM tblFile WHERE FileID=?1", {fileID}).empty() &&
           catalogue_.Store.RecordCount() == 1 && catalogue_.Store.Field(0).AsText() == path;
}

// tblFile has no index of its paths, so the sets as loaded answer, with the paths this run gave.
bool Applier::Catalogued(const std::string& path) { return catalogue_.Files.GotoFileName(path) || given_.contains(path); }

// Why the row no longer holds; "" when it still does.
std::string Applier::Why(const PlanRow& row) {
    // Asked of the catalogue, not of the sets: another program may have changed the record since.
    if (row.FileID >= 0 && !Holds(row.FileID, row.OldPath)) return "its record changed since the plan";
    if (!row.NewPath.empty() && row.Kind != RefreshKind::Changed && Catalogued(row.NewPath))
        return "another record has the path " + row.NewPath;
    switch (row.Kind) {
    case RefreshKind::New:
    case RefreshKind::Changed:
        if (row.CRC.empty()) return "it could not be read: " + row.Note;
        return StillAsPlanned(row.NewPath, row.Stamp) ? "" : "the file changed or went since the plan";
    case RefreshKind::Moved:
        if (!Gone(row.OldPath)) return "a file is at its old path again";
        return StillAsPlanned(row.NewPath, row.Stamp) ? "" : "the file changed or went since the plan";
    case RefreshKind::Missing: return Gone(row.OldPath) ? "" : "the file is there again, or its folder cannot be read";
    default: return "nothing to apply";
    }
}

bool Applier::ApplyRow(const PlanRow& row) {
    const std::string& path = row.OldPath.empty() ? row.NewPath : row.OldPath;
    if (const std::string why = Why(row); !why.empty()) {
        ++result_.Skipped;
        log_.Write("Skipped " + path + ": " + why);
        return true;
    }
    result_.Error = batch_.Begin();
    if (result_.Error.empty()) {
        clsSQLite::Transaction unit(catalogue_.Store);  // a row is all written or not at all
        result_.Error = unit.BeginError();
        if (result_.Error.empty()) result_.Error = Write(row);
        if (result_.Error.empty()) result_.Error = unit.Commit();
    }
    if (!result_.Error.empty()) {
        log_.Write("Could not apply " + path + ": " + result_.Error);
        return false;
    }
    if (row.Kind == RefreshKind::New || row.Kind == RefreshKind::Moved) given_.insert(row.NewPath);
    const int before = batch_.Committed();
    pendingLines_.push_back(row.Kind == RefreshKind::New       ? "Added " + row.NewPath
                            : row.Kind == RefreshKind::Moved   ? row.OldPath + " MOVED TO " + row.NewPath
                            : row.Kind == RefreshKind::Changed ? "Updated changed file " + row.OldPath
                                                               : "Deleted missing file " + row.OldPath);
    result_.Error = batch_.UnitDone();
    if (batch_.Committed() > before) {
        for (const std::string& line : pendingLines_) log_.Write(line);
        pendingLines_.clear();
    }
    return result_.Error.empty();
}

std::string Applier::Write(const PlanRow& row) {
    switch (row.Kind) {
    case RefreshKind::New: return AddNew(row);
    case RefreshKind::Moved: return Repoint(row);
    case RefreshKind::Changed: return Rewrite(row);
    default: return DeleteFile(catalogue_, row.FileID);
    }
}

// The hash the plan read of the record's file at row.NewPath.
std::string Applier::StoreReadHash(int fileID, const PlanRow& row) {
    if (!own_ || !row.Hash) return {};
    return StoreHash(catalogue_.Store, {fileID, PathKey(row.NewPath), *row.Hash, row.Stamp, Now(), 0});
}

std::string Applier::AddNew(const PlanRow& row) {
    FileRecord record;
    record.FileName = row.NewPath;
    record.CRC = row.CRC;
    record.Size = row.Stamp.Size;
    const MediaInfo media = GetMediaInfo(row.NewPath);
    if (media.IsMedia) {
        record.Length = media.Length;
        record.FourCC = media.FourCC;
    }
    const std::string extension = GetExtension(GetFileName(row.NewPath));
    if (catalogue_.FileTypes.GotoExtension(extension.starts_with('.') ? extension.substr(1) : extension))
        record.TypeID = catalogue_.FileTypes.FileTypeID();
    const NewKey inserted = InsertFile(catalogue_, record);
    if (!inserted.Error.empty()) return inserted.Error;
    if (std::string error = StoreReadHash(inserted.ID, row); !error.empty()) return error;
    return own_ ? KeepFacts(catalogue_.Store, own_, inserted.ID, row.NewPath, media.Facts) : std::string();
}

// The path alone in tblFile, so nothing else the record holds is touched; the rows of ours that
// belong to the record follow its new path, since its contents did not change.
std::string Applier::Repoint(const PlanRow& row) {
    if (std::string error = catalogue_.Store.Execute("UPDATE tblFile SET FileName=?1 WHERE FileID=?2", {row.NewPath, row.FileID});
        !error.empty())
        return error;
    if (!own_) return {};
    const std::int64_t key = PathKey(row.NewPath);
    for (const char* table : {"rvFileMedia", "rvFrame"}) {
        if (std::string error = catalogue_.Store.Execute(std::string("UPDATE ") + table + " SET PathKey=?1 WHERE FileID=?2", {key, row.FileID});
            !error.empty())
            return error;
    }
    if (std::string error = catalogue_.Store.Execute(
            "UPDATE rvFileHash SET PathKey=?1, MTimeNs=?2, Device=?3, Inode=?4 WHERE FileID=?5 AND Size=?6",
            {key, row.Stamp.MTimeNs, static_cast<std::int64_t>(row.Stamp.Device), static_cast<std::int64_t>(row.Stamp.Inode),
             row.FileID, row.Stamp.Size});
        !error.empty())
        return error;
    return LinkRecords(catalogue_.Store, catalogue_.Drives, {{row.FileID, row.NewPath}}).Error;
}

std::string Applier::Rewrite(const PlanRow& row) {
    const MediaInfo media = GetMediaInfo(row.NewPath);
    if (std::string error = catalogue_.Store.Execute("UPDATE tblFile SET CRC=?1, Size=?2, Length=?3, FourCC=?4 WHERE FileID=?5",
                                                     {row.CRC, row.Stamp.Size, std::int64_t{media.IsMedia ? media.Length : 0},
                                                      media.IsMedia ? media.FourCC : std::string(), row.FileID});
        !error.empty())
        return error;
    if (std::string error = StoreReadHash(row.FileID, row); !error.empty()) return error;
    return own_ ? KeepFacts(catalogue_.Store, own_, row.FileID, row.NewPath, media.Facts) : std::string();
}

ToolResult Applier::Finish(std::int64_t total) {
    const int before = batch_.Committed();
    if (std::string error = batch_.Finish(); result_.Error.empty()) result_.Error = error;
    if (batch_.Committed() > before)
        for (const std::string& line : pendingLines_) log_.Write(line);
    result_.Changed = batch_.Committed();
    log_.Write("");
    if (result_.Cancelled)
        log_.Write("Cancelled after " + std::to_string(result_.Changed + result_.Skipped) + " of " + std::to_string(total) + " rows.");
    if (!result_.Error.empty()) log_.Write("Stopped: " + result_.Error);
    log_.Write(std::to_string(result_.Changed) + " rows applied, " + std::to_string(result_.Skipped) + " skipped.");
    for (const std::string& link : plan_.HardLinks) log_.Write("Hard link, catalogued once: " + link);
    if (result_.Error.empty()) result_.Error = log_.Error();
    result_.LogPath = log_.Path();
    host_.ShowLog(log_.Path());
    return result_;
}

}  // namespace

ToolResult ApplyRefresh(Catalogue& catalogue, const RefreshPlan& plan, ToolHost& host) {
    if (plan.DriveID >= 0) {
        catalogue.Drives.SeeMounts(MountedVolumes::Read());
        const Drive* drive = catalogue.Drives.ByID(plan.DriveID);
        if (!drive || !drive->Plugged()) {
            ToolResult away;
            away.Error = "The drive " + (drive ? drive->Name : std::string("refreshed")) + " is not plugged in: nothing was changed";
            return away;
        }
    }
    return Applier(catalogue, plan, host).Go();
}
