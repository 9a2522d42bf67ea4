// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/LoadDirectory.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "analysis/modMediaInfo.h"
#include "analysis/modReadFileEx.h"
#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "tools/Batch.h"
#include "tools/DirectoryScan.h"
#include "tools/ToolLog.h"

namespace {

// No CRC text is ever "Z", so without CRCs the look-up by CRC finds nothing.
const std::string kNoCRC = "Z";

class Run {
public:
    Run(Catalogue& catalogue, const LoadDirectoryRequest& request, ToolHost& host)
        : catalogue_(catalogue), request_(request), host_(host), log_("load.log", true),
          folder_(request.Folder.ends_with('/') ? request.Folder : request.Folder + "/"), batch_(catalogue.Store) {}

    ToolResult Go();

private:
    bool Stopped() const { return result_.Cancelled || !result_.Error.empty(); }
    void LoadFile(const std::string& path, const std::string& name);
    // The file's record, or the reason it could not be read or inspected.
    std::string Describe(const std::string& path, const std::string& name, const std::string& crc, FileRecord& record);
    void Add(const FileRecord& record);
    void Finish(bool anyFile);

    Catalogue& catalogue_;
    const LoadDirectoryRequest& request_;
    ToolHost& host_;
    ToolLog log_;
    std::string folder_;
    Batch batch_;
    ToolResult result_;
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
};

ToolResult Run::Go() {
    log_.Write("Reelvault");
    log_.Write("Loaded " + folder_ + request_.Patterns);
    log_.Write("");
    const FolderListing listing = ListMatchingFiles(folder_, request_.Patterns, request_.ScanSubdirectories);
    result_.Error = listing.Error;
    total_ = static_cast<std::int64_t>(listing.Files.size());
    for (const std::string& relative : listing.Files) {
        if (!host_.Progress(done_, total_, folder_ + relative)) result_.Cancelled = true;
        if (Stopped()) break;
        LoadFile(folder_ + relative, GetFileName(relative));
        ++done_;
    }
    Finish(!listing.Files.empty());
    return result_;
}

void Run::LoadFile(const std::string& path, const std::string& name) {
    if (catalogue_.Files.GotoFileName(path)) {
        ++result_.Skipped;
        log_.Write("Not adding duplicate filename " + path);
        return;
    }
    host_.SetStatus("Loading " + path);
    std::string crc = kNoCRC;
    if (request_.CalculateCRC) {
        const CRCResult computed = CalculateFileCRC(
            path, [&](std::int64_t, std::int64_t) { return host_.Progress(done_, total_, path); });
        if (computed.Cancelled) {
            result_.Cancelled = true;
            return;
        }
        if (!computed) {
            ++result_.Unreadable;
            log_.Write(computed.Error);
            return;
        }
        crc = computed.Text;
    }
    if (catalogue_.Files.GotoCRC(crc)) {
        ++result_.Skipped;
        log_.Write("Not adding possible duplicate " + path + ".  Matches CRC of " + catalogue_.Files.FileName());
        return;
    }
    FileRecord record;
    if (std::string reason = Describe(path, name, crc == kNoCRC ? "" : crc, record); !reason.empty()) {
        ++result_.Unreadable;
        log_.Write("Could not read " + path + ": " + reason);
        return;
    }
    Add(record);
}

std::string Run::Describe(const std::string& path, const std::string& name, const std::string& crc, FileRecord& record) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::strerror(errno);
    const MediaInfo media = GetMediaInfo(path);
    if (media.ProbeFailed) return media.Reason;
    record.FileName = path;
    record.CRC = crc;
    record.Size = info.st_size;
    if (media.IsMedia) {
        record.Length = media.Length;
        record.FourCC = media.FourCC;
    }
    const std::string extension = GetExtension(name);
    if (catalogue_.FileTypes.GotoExtension(extension.starts_with('.') ? extension.substr(1) : extension))
        record.TypeID = catalogue_.FileTypes.FileTypeID();
    return {};
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
