// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/LoadDirectory.h"

#include <sys/stat.h>

#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "tools/Batch.h"
#include "tools/DirectoryScan.h"
#include "tools/FileFacts.h"
#include "tools/ToolLog.h"

namespace {

// No CRC text is ever "Z", so without CRCs the look-up by CRC finds nothing.
const std::string kNoCRC = "Z";

class Run {
public:
    Run(Catalogue& catalogue, const LoadDirectoryRequest& request, ToolHost& host)
        : catalogue_(catalogue), request_(request), host_(host), log_("load.log", true),
          folder_(request.Folder.empty() || request.Folder.ends_with('/') ? request.Folder : request.Folder + "/"),
          batch_(catalogue.Store, kAppendedUnits) {}

    ToolResult Go();

private:
    std::int64_t Total() const { return static_cast<std::int64_t>(paths_.size()); }
    bool Stopped() const { return result_.Cancelled || !result_.Error.empty(); }
    void LoadFile(std::size_t index, FactGatherer& gatherer);
    FileRecord Describe(const std::string& path, const std::string& crc, const FileFacts& facts);
    void Add(const FileRecord& record);
    void Finish(bool anyFile);
    bool FolderGone() const;

    Catalogue& catalogue_;
    const LoadDirectoryRequest& request_;
    ToolHost& host_;
    ToolLog log_;
    std::string folder_;
    Batch batch_;
    ToolResult result_;
    std::vector<std::string> paths_;
    std::vector<bool> catalogued_;  // by path, before the run
    std::size_t gathered_ = 0;      // facts taken, of the files not catalogued
    std::int64_t done_ = 0;
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
    const FolderListing listing = ListMatchingFiles(request_.Folder, request_.Patterns, request_.ScanSubdirectories);
    result_.Error = listing.Error;
    for (const std::string& relative : listing.Files) {
        paths_.push_back(folder_ + relative);
        catalogued_.push_back(catalogue_.Files.GotoFileName(paths_.back()));
    }
    std::vector<std::string> uncatalogued;
    for (std::size_t index = 0; index < paths_.size(); ++index) {
        if (!catalogued_[index]) uncatalogued.push_back(paths_[index]);
    }
    FactGatherer gatherer(std::move(uncatalogued), request_.CalculateCRC);
    for (std::size_t index = 0; index < paths_.size() && !Stopped(); ++index, ++done_) {
        if (!host_.Progress(done_, Total(), paths_[index])) result_.Cancelled = true;
        if (!Stopped()) LoadFile(index, gatherer);
    }
    Finish(!paths_.empty());
    return result_;
}

void Run::LoadFile(std::size_t index, FactGatherer& gatherer) {
    const std::string& path = paths_[index];
    if (catalogued_[index]) {
        ++result_.Skipped;
        log_.Write("Not adding duplicate filename " + path);
        return;
    }
    host_.SetStatus("Loading " + path);
    const std::optional<FileFacts> facts = gatherer.Take(gathered_++, [&] { return host_.Progress(done_, Total(), path); });
    if (!facts) {
        result_.Cancelled = true;
        return;
    }
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
    if (catalogue_.Files.GotoCRC(crc)) {
        ++result_.Skipped;
        log_.Write("Not adding possible duplicate " + path + ".  Matches CRC of " + catalogue_.Files.FileName());
        return;
    }
    if (facts->Media.Unprobed) log_.Write(facts->Media.Reason);  // added all the same, without length or FourCC
    Add(Describe(path, crc == kNoCRC ? "" : crc, *facts));
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

void Run::Add(const FileRecord& record) {
    result_.Error = batch_.Begin();
    if (result_.Error.empty()) result_.Error = InsertFile(catalogue_, record).Error;
    if (!result_.Error.empty()) {
        log_.Write("Could not add " + record.FileName + ": " + result_.Error);
        return;
    }
    catalogue_.Files.AddTemporarily(record.FileName, record.CRC);
    result_.Error = batch_.UnitDone();
}

// A drive unplugged under the run leaves its mount point an empty folder of the disk beneath, or
// no folder at all: every file after would be unreadable, and none of them is.
bool Run::FolderGone() const {
    struct stat info {};
    return stat(folder_.c_str(), &info) != 0 || info.st_dev != device_;
}

void Run::Finish(bool anyFile) {
    if (std::string error = batch_.Finish(); result_.Error.empty()) result_.Error = error;
    result_.Changed = batch_.Committed();
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
