// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/LoadDirectory.h"

#include <sys/stat.h>

#include "facts/FactRows.h"
#include "identity/FileHashes.h"
#include "identity/KnownContents.h"
#include "identity/Verdict.h"
#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "tools/Batch.h"
#include "tools/DirectoryScan.h"
#include "tools/FileFacts.h"
#include "tools/ToolLog.h"

namespace {

// No CRC text is ever "Z", so without CRCs the look-up by CRC finds nothing.
const std::string kNoCRC = "Z";

std::optional<ContentHash> HashOf(const CRCResult& read) { return read.Hashed ? std::optional(read.Hash) : std::nullopt; }

class Run {
public:
    Run(Catalogue& catalogue, const LoadDirectoryRequest& request, ToolHost& host)
        : catalogue_(catalogue), request_(request), host_(host), log_("load.log", true),
          folder_(request.Folder.empty() || request.Folder.ends_with('/') ? request.Folder : request.Folder + "/"),
          batch_(catalogue.Store, kAppendedUnits),
          hashing_(request.CalculateCRC && request.HashContents && catalogue.OwnTables.Usable()) {}

    ToolResult Go();

private:
    std::int64_t Total() const { return static_cast<std::int64_t>(paths_.size()); }
    bool Stopped() const { return result_.Cancelled || !result_.Error.empty(); }
    bool ReadAgain(const std::string& path);
    std::optional<FileFacts> Facts(const std::string& path, FactGatherer& gatherer);
    void LoadFile(std::size_t index, FactGatherer& gatherer);
    void Recheck(const std::string& path, const FileFacts& facts);
    FileRecord Describe(const std::string& path, const std::string& crc, const FileFacts& facts);
    void Add(const FileRecord& record, const FileFacts& facts);
    std::string Write(const std::function<std::string()>& writes, bool adds);
    void Settle(std::string error);
    void Finish(bool anyFile);
    bool FolderGone() const;

    Catalogue& catalogue_;
    const LoadDirectoryRequest& request_;
    ToolHost& host_;
    ToolLog log_;
    std::string folder_;
    Batch batch_;
    // Files are hashed as they are read for their CRCs: the catalogue's own tables are ours to
    // write. Otherwise (a newer version's tables) the load judges by CRC alone, as always.
    const bool hashing_;
    FileHashes hashes_;
    KnownContents known_;
    ToolResult result_;
    std::vector<std::string> paths_;
    std::vector<bool> catalogued_;  // by path, before the run
    std::vector<bool> read_;        // the file is read: not catalogued, or catalogued and read again
    std::size_t gathered_ = 0;      // facts taken
    std::int64_t done_ = 0;
    // Of the units in the batch not yet committed, the records added; the others store hashes of
    // catalogued files. Changed counts only the added records that are committed.
    int pendingAdds_ = 0;
    int committedUnits_ = 0;
    dev_t device_ = 0;              // of the folder, as the run found it
};

ToolResult Run::Go() {
    log_.Write("Reelvault");
    log_.Write("Loaded " + folder_ + request_.Patterns);
    log_.Write("");
    // An empty folder would otherwise read as "/", and with sub-folders that is the whole disk.
    if (folder_.empty()) {
        result_.Error = "Choose the folder to load";
        return result_;
    }
    if (struct stat info {}; stat(folder_.c_str(), &info) == 0) device_ = info.st_dev;
    if (request_.CalculateCRC) {
        result_.Error = hashes_.LoadFromDatabase(catalogue_.Store, catalogue_.Files);
        known_.Build(catalogue_.Files, hashes_);
        if (!result_.Error.empty()) return result_;
    }
    const FolderListing listing = ListMatchingFiles(request_.Folder, request_.Patterns, request_.ScanSubdirectories);
    result_.Error = listing.Error;
    std::vector<std::string> toRead;
    std::vector<bool> contentsOnly;
    for (const std::string& relative : listing.Files) {
        const std::string& path = paths_.emplace_back(folder_ + relative);
        catalogued_.push_back(catalogue_.Files.GotoFileName(path));
        read_.push_back(!catalogued_.back() || ReadAgain(path));
        if (!read_.back()) continue;
        toRead.push_back(path);
        contentsOnly.push_back(catalogued_.back());
    }
    FactGatherer gatherer(std::move(toRead), request_.CalculateCRC, hashing_, std::move(contentsOnly));
    for (std::size_t index = 0; index < paths_.size() && !Stopped(); ++index, ++done_) {
        if (!host_.Progress(done_, Total(), paths_[index])) result_.Cancelled = true;
        if (!Stopped()) LoadFile(index, gatherer);
    }
    Finish(!paths_.empty());
    return result_;
}

// A catalogued file is read for its hash when the hash it has may no longer be its contents'. The
// look-up by path has just made its record current.
bool Run::ReadAgain(const std::string& path) {
    if (!hashing_) return false;
    const HashRow* row = hashes_.Of(catalogue_.Files.FileID());
    if (!row || request_.Rehash) return true;
    const std::optional<FileStamp> now = StampOfPath(path);
    return now && !StillAsHashed(*row, *now);
}

std::optional<FileFacts> Run::Facts(const std::string& path, FactGatherer& gatherer) {
    std::optional<FileFacts> facts = gatherer.Take(gathered_++, [&] { return host_.Progress(done_, Total(), path); });
    if (!facts) result_.Cancelled = true;
    return facts;
}

void Run::LoadFile(std::size_t index, FactGatherer& gatherer) {
    const std::string& path = paths_[index];
    if (catalogued_[index]) {
        ++result_.Skipped;
        log_.Write("Not adding duplicate filename " + path);
        if (!read_[index]) return;
        const std::optional<FileFacts> facts = Facts(path, gatherer);
        if (!facts) return;
        if (!facts->Error.empty()) log_.Write(facts->Error);
        else Recheck(path, *facts);
        return;
    }
    host_.SetStatus("Loading " + path);
    const std::optional<FileFacts> facts = Facts(path, gatherer);
    if (!facts) return;
    if (!facts->Error.empty()) {
        if (FolderGone()) {
            result_.Error = "The drive of " + folder_ + " was unplugged during the load";
            return;
        }
        ++result_.Unreadable;
        log_.Write(facts->Error);
        return;
    }
    const std::string crc = request_.CalculateCRC ? facts->CRC.Text : kNoCRC;
    const int match = request_.CalculateCRC ? known_.Match(facts->Size, HashOf(facts->CRC), crc) : -1;
    if (match >= 0) {
        ++result_.Skipped;
        log_.Write("Not adding possible duplicate " + path + ".  Matches CRC of " + catalogue_.Files.Records()[match].FileName);
        return;
    }
    if (facts->Media.Unprobed) log_.Write(facts->Media.Reason);  // added all the same, without length or FourCC
    Add(Describe(path, crc == kNoCRC ? "" : crc, *facts), *facts);
}

// What a catalogued file read again says of the hash its record keeps.
void Run::Recheck(const std::string& path, const FileFacts& facts) {
    catalogue_.Files.GotoFileName(path);
    const int id = catalogue_.Files.FileID();
    const HashRow* stored = hashes_.Of(id);
    switch (Judge(stored, facts.CRC)) {
    case Verdict::FirstSeen: {
        const HashRow row = RowOfRead(id, path, facts.CRC, Now());
        if (Write([&] { return StoreHash(catalogue_.Store, row); }, false).empty()) hashes_.Remember(row);
        return;
    }
    case Verdict::Unchanged:
    case Verdict::Touched:
        Write([&] { return NoteVerified(catalogue_.Store, id, facts.CRC.Stamp, Now()); }, false);
        return;
    case Verdict::Changed: log_.Write("Changed since it was hashed: " + path); return;
    case Verdict::Damaged: log_.Write("Contents differ from its hash, with the same size and time: " + path); return;
    }
}

FileRecord Run::Describe(const std::string& path, const std::string& crc, const FileFacts& facts) {
    FileRecord record;
    record.FileName = path;
    record.CRC = crc;
    record.Size = facts.Size;
    if (facts.Media.IsMedia) {
        record.Length = facts.Media.Length;
        record.FourCC = facts.Media.FourCC;
    }
    const std::string extension = GetExtension(GetFileName(path));
    if (catalogue_.FileTypes.GotoExtension(extension.starts_with('.') ? extension.substr(1) : extension))
        record.TypeID = catalogue_.FileTypes.FileTypeID();
    return record;
}

// The record, its hash and its media facts are one unit: all are written, or none.
void Run::Add(const FileRecord& record, const FileFacts& facts) {
    const std::string error = Write([&] {
        const NewKey inserted = InsertFile(catalogue_, record);
        if (!inserted.Error.empty()) return inserted.Error;
        if (request_.KeepFacts && facts.Media.Facts && catalogue_.OwnTables.Usable()) {
            if (std::string stored = StoreFacts(catalogue_.Store, inserted.ID, record.FileName, *facts.Media.Facts);
                !stored.empty())
                return stored;
        }
        if (!hashing_) return std::string();
        return StoreHash(catalogue_.Store, RowOfRead(inserted.ID, record.FileName, facts.CRC, Now()));
    }, true);
    if (!error.empty()) {
        log_.Write("Could not add " + record.FileName + ": " + error);
        return;
    }
    catalogue_.Files.AddTemporarily(record.FileName, record.CRC);
    known_.Add(catalogue_.Files.Count() - 1, facts.Size, HashOf(facts.CRC), record.CRC);
}

// One unit of the batch; a failure stops the run.
std::string Run::Write(const std::function<std::string()>& writes, bool adds) {
    result_.Error = batch_.Begin();
    if (!result_.Error.empty()) return result_.Error;
    {
        clsSQLite::Transaction unit(catalogue_.Store);  // undone alone when it fails, and the batch kept
        result_.Error = unit.BeginError();
        if (result_.Error.empty()) result_.Error = writes();
        if (result_.Error.empty()) result_.Error = unit.Commit();
    }
    if (!result_.Error.empty()) return result_.Error;
    pendingAdds_ += adds;
    Settle(batch_.UnitDone());
    return result_.Error;
}

// After the batch may have committed: a commit takes every pending unit with it.
void Run::Settle(std::string error) {
    if (error.empty() && batch_.Committed() > committedUnits_) {
        result_.Changed += pendingAdds_;
        pendingAdds_ = 0;
        committedUnits_ = batch_.Committed();
    }
    if (result_.Error.empty()) result_.Error = std::move(error);
}

// A drive unplugged under the run leaves its mount point an empty folder of the disk beneath, or
// no folder at all: every file after would be unreadable, and none of them is.
bool Run::FolderGone() const {
    struct stat info {};
    return stat(folder_.c_str(), &info) != 0 || info.st_dev != device_;
}

void Run::Finish(bool anyFile) {
    Settle(batch_.Finish());
    if (!anyFile) return;
    log_.Write("");
    if (result_.Cancelled) log_.Write("Cancelled.");
    if (!result_.Error.empty()) log_.Write("Stopped: " + result_.Error);
    log_.Write(std::to_string(result_.Skipped) + " possible duplicates not added.");
    log_.Write(std::to_string(result_.Changed) + " files added.");
    if (result_.Unreadable > 0) log_.Write(std::to_string(result_.Unreadable) + " files could not be read.");
    host_.SetStatus("Finished loading directory " + folder_);
    if (result_.Error.empty()) result_.Error = log_.Error();
    result_.LogPath = log_.Path();
    host_.ShowLog(log_.Path());
}

}  // namespace

ToolResult LoadDirectory(Catalogue& catalogue, const LoadDirectoryRequest& request, ToolHost& host) {
    return Run(catalogue, request, host).Go();
}
