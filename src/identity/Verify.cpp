// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/Verify.h"

#include <sys/stat.h>

#include <cerrno>

#include "identity/FileHashes.h"
#include "identity/Verdict.h"
#include "model/modCatalogue.h"
#include "tools/Batch.h"
#include "tools/ToolLog.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

// The statuses in the order the totals name them: what needs the user first.
constexpr std::array<std::pair<VerifyStatus, const char*>, kVerifyStatuses> kTotals = {{
    {VerifyStatus::Damaged, "damaged"},
    {VerifyStatus::Changed, "changed"},
    {VerifyStatus::Missing, "missing"},
    {VerifyStatus::Unreadable, "unreadable"},
    {VerifyStatus::ChangedWhileRead, "changed while read"},
    {VerifyStatus::Touched, "touched"},
    {VerifyStatus::FirstSeen, "first seen"},
    {VerifyStatus::Unchanged, "unchanged"},
    {VerifyStatus::DriveAway, "on drives not plugged in"},
}};

VerifyStatus StatusOf(Verdict verdict) {
    switch (verdict) {
    case Verdict::FirstSeen: return VerifyStatus::FirstSeen;
    case Verdict::Unchanged: return VerifyStatus::Unchanged;
    case Verdict::Touched: return VerifyStatus::Touched;
    case Verdict::Changed: return VerifyStatus::Changed;
    case Verdict::Damaged: return VerifyStatus::Damaged;
    }
    return VerifyStatus::Unchanged;
}

class Run {
public:
    Run(Catalogue& catalogue, const VerifyRequest& request, ToolHost& host)
        : catalogue_(catalogue), request_(request), host_(host), log_("verify.log", true),
          batch_(catalogue.Store, kScatteredUnits), now_(Now()) {}

    VerifyReport Go();

private:
    bool Wanted(const FileRecord& record);
    void Check(const FileRecord& record, std::int64_t done, std::int64_t total);
    void Judged(const FileRecord& record, const CRCResult& read);
    bool StillPlugged(const FileRecord& record) const;
    void Write(const std::function<std::string()>& writes);
    void Note(VerifyStatus status, const std::string& line);
    void Finish();

    Catalogue& catalogue_;
    const VerifyRequest& request_;
    ToolHost& host_;
    ToolLog log_;
    Batch batch_;
    FileHashes hashes_;
    const std::int64_t now_;
    VerifyReport report_;
};

VerifyReport Run::Go() {
    const Drive* only = request_.DriveID ? catalogue_.Drives.ByID(*request_.DriveID) : nullptr;
    log_.Write("Reelvault");
    log_.Write("Verified " + catalogue_.Store.FileName() + (only ? ", drive " + only->Name : ", every plugged-in drive"));
    log_.Write("");
    if (!catalogue_.OwnTables.Usable()) {
        report_.Result.Error = catalogue_.OwnTables.Note.empty()
                                   ? "This catalogue's own tables cannot be written here, so no hash can be kept"
                                   : catalogue_.OwnTables.Note;
        return report_;
    }
    if (!catalogue_.OwnTables.Note.empty()) log_.Write(catalogue_.OwnTables.Note);
    report_.Result.Error = hashes_.LoadFromDatabase(catalogue_.Store, catalogue_.Files);
    std::vector<const FileRecord*> due;
    for (const FileRecord& record : catalogue_.Files.Records()) {
        if (Wanted(record)) due.push_back(&record);
    }
    const auto total = static_cast<std::int64_t>(due.size());
    for (std::int64_t done = 0; done < total && !report_.Result.Cancelled && report_.Result.Error.empty(); ++done) {
        if (!host_.Progress(done, total, due[done]->FileName)) {
            report_.Result.Cancelled = true;
            break;
        }
        Check(*due[done], done, total);
    }
    Finish();
    return report_;
}

// Whether the record is verified in this run; the drive's being away is a verdict of its own.
bool Run::Wanted(const FileRecord& record) {
    if (request_.DriveID && record.DriveID != *request_.DriveID) return false;
    const HashRow* row = hashes_.Of(record.FileID);
    if (row && request_.OlderThanDays > 0 && row->LastChecked() > now_ - request_.OlderThanDays * kSecondsPerDay) {
        ++report_.NotDue;
        return false;
    }
    return true;
}

void Run::Check(const FileRecord& record, std::int64_t done, std::int64_t total) {
    const Drive* drive = catalogue_.Drives.ByID(record.DriveID);
    const std::string& path = record.FileName;
    if (drive ? !drive->Holds(path) : catalogue_.Drives.Mounted().InDrivePlaceLeftEmpty(path)) {
        ++report_.Counts[static_cast<std::size_t>(VerifyStatus::DriveAway)];
        ++report_.Result.DriveAway;
        return;
    }
    const CRCResult read = ReadFileContents(path, [&](std::int64_t, std::int64_t) { return host_.Progress(done, total, path); });
    if (read.Cancelled) {
        report_.Result.Cancelled = true;
        return;
    }
    if (!read && !StillPlugged(record)) {
        report_.Result.Error = "The drive " + drive->Name + " was unplugged during the verify, which stopped at " + path +
                               "; what was verified until then is recorded";
        return;
    }
    if (read.ChangedWhileRead) return Note(VerifyStatus::ChangedWhileRead, "Changed while read " + path);
    if (!read) {
        if (!StampOfPath(path) && (errno == ENOENT || errno == ENOTDIR)) return Note(VerifyStatus::Missing, "Missing " + path);
        ++report_.Result.Unreadable;
        return Note(VerifyStatus::Unreadable, read.Error);
    }
    Judged(record, read);
}

// A read failed: was it the file, or is its drive gone? Unplugged, its mount point is an empty
// folder of the disk beneath, or gone; the drive set knows the device its files had.
bool Run::StillPlugged(const FileRecord& record) const {
    const Drive* drive = catalogue_.Drives.ByID(record.DriveID);
    if (!drive || drive->Device == 0 || drive->Place().empty()) return true;
    struct stat info {};
    return stat(drive->Place().c_str(), &info) == 0 && info.st_dev == drive->Device;
}

void Run::Judged(const FileRecord& record, const CRCResult& read) {
    const HashRow* stored = hashes_.Of(record.FileID);
    const VerifyStatus status = StatusOf(Judge(stored, read));
    const std::string& path = record.FileName;
    const bool crcDiffers = !record.CRC.empty() && record.CRC != read.Text;
    switch (status) {
    case VerifyStatus::FirstSeen: {
        const HashRow row = RowOfRead(record.FileID, path, read, now_);
        Write([&] { return StoreHash(catalogue_.Store, row); });
        const std::string crcNote = crcDiffers ? "; its CRC is " + read.Text + ", the record's " + record.CRC : "";
        return Note(status, "First seen " + path + crcNote);
    }
    case VerifyStatus::Unchanged:
    case VerifyStatus::Touched:
        Write([&] { return NoteVerified(catalogue_.Store, record.FileID, read.Stamp, now_); });
        if (crcDiffers) log_.Write("The record of " + path + " has the CRC " + record.CRC + ", its contents " + read.Text);
        return Note(status, status == VerifyStatus::Touched ? "Touched " + path + ": its time moved, its contents did not" : "");
    case VerifyStatus::Changed:
        report_.Findings.push_back({record.FileID, path, status, read});
        return Note(status, "Changed " + path + ": edited since it was hashed");
    case VerifyStatus::Damaged:
        report_.Findings.push_back({record.FileID, path, status, read});
        return Note(status, "Damaged " + path + ": other contents with the size and time it was hashed with");
    default: return;
    }
}

void Run::Write(const std::function<std::string()>& writes) {
    std::string error = batch_.Begin();
    if (error.empty()) error = writes();
    if (error.empty()) error = batch_.UnitDone();
    if (report_.Result.Error.empty()) report_.Result.Error = error;
}

void Run::Note(VerifyStatus status, const std::string& line) {
    ++report_.Counts[static_cast<std::size_t>(status)];
    if (!line.empty()) log_.Write(line);
}

void Run::Finish() {
    if (std::string error = batch_.Finish(); report_.Result.Error.empty()) report_.Result.Error = error;
    report_.Result.Changed = batch_.Committed();
    log_.Write("");
    if (report_.Result.Cancelled) log_.Write("Cancelled.");
    if (!report_.Result.Error.empty()) log_.Write("Stopped: " + report_.Result.Error);
    log_.Write(VerifyTotals(report_) + ".");
    if (report_.NotDue > 0)
        log_.Write(std::to_string(report_.NotDue) + " records verified within " + std::to_string(request_.OlderThanDays) +
                   " days were left out.");
    if (report_.Result.Error.empty()) report_.Result.Error = log_.Error();
    report_.Result.LogPath = log_.Path();
    host_.ShowLog(log_.Path());
}

}  // namespace

VerifyReport Verify(Catalogue& catalogue, const VerifyRequest& request, ToolHost& host) {
    return Run(catalogue, request, host).Go();
}

std::string VerifyTotals(const VerifyReport& report) {
    std::string text;
    for (const auto& [status, name] : kTotals) {
        if (report.Count(status) == 0) continue;
        text += (text.empty() ? "" : ", ") + std::to_string(report.Count(status)) + " " + name;
    }
    return text.empty() ? "No file verified" : text;
}

ToolResult AcceptContents(Catalogue& catalogue, const std::vector<VerifyFinding>& findings, ToolHost& host) {
    ToolResult result;
    ToolLog log("verify.log", false);
    Batch batch(catalogue.Store, kScatteredUnits);
    const std::int64_t now = Now();
    for (std::size_t i = 0; i < findings.size() && result.Error.empty(); ++i) {
        const VerifyFinding& finding = findings[i];
        if (!host.Progress(static_cast<std::int64_t>(i), static_cast<std::int64_t>(findings.size()), finding.Path)) {
            result.Cancelled = true;
            break;
        }
        const std::optional<FileStamp> there = StampOfPath(finding.Path);
        if (!catalogue.Files.GotoFileID(finding.FileID) || catalogue.Files.FileName() != finding.Path || !there ||
            *there != finding.Read.Stamp) {
            ++result.Skipped;
            log.Write("Not updated " + finding.Path + ": it changed again since it was verified");
            continue;
        }
        FileRecord record = *catalogue.Files.Current();
        record.CRC = finding.Read.Text;
        record.Size = finding.Read.Bytes;
        result.Error = batch.Begin();
        if (result.Error.empty()) {
            clsSQLite::Transaction unit(catalogue.Store);  // the record and its hash, or neither
            result.Error = unit.BeginError();
            if (result.Error.empty()) result.Error = UpdateFile(catalogue, record);
            if (result.Error.empty())
                result.Error = StoreHash(catalogue.Store, RowOfRead(record.FileID, record.FileName, finding.Read, now));
            if (result.Error.empty()) result.Error = unit.Commit();
        }
        if (result.Error.empty()) result.Error = batch.UnitDone();
        if (result.Error.empty()) log.Write("Updated the record of " + finding.Path + " to its contents now");
    }
    if (std::string error = batch.Finish(); result.Error.empty()) result.Error = error;
    result.Changed = batch.Committed();
    if (result.Error.empty()) result.Error = log.Error();
    result.LogPath = log.Path();
    return result;
}
