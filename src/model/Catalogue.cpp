// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Catalogue.h"

#include <sys/stat.h>

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "drives/DriveLinks.h"

namespace {

// The allocator keeps freed pages for the next allocation; after a load, whose working tables
// and page cache are freed by then, that is tens of megabytes held for nothing.
void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// Only a file that is there tells which filesystem holds it: a folder where a drive was mounted
// by hand is an empty folder of the disk beneath once the drive is away. Records come in name
// order, so the files of a folder that is not there (a catalogue from another machine) cost one
// look between them.
class Presence {
public:
    bool IsThere(const std::string& path) {
        const std::size_t slash = path.find_last_of('/');
        const std::string_view folder = std::string_view(path).substr(0, slash == std::string::npos ? 0 : slash + 1);
        if (folder != folder_) {
            folder_ = folder;
            struct stat info {};
            folderThere_ = !folder_.empty() && stat(folder_.c_str(), &info) == 0;
        }
        struct stat info {};
        return folderThere_ && stat(path.c_str(), &info) == 0;
    }

private:
    std::string folder_;
    bool folderThere_ = false;
};

// The program's own bookkeeping does not wait for another program's write: it is done at a later
// load, while a read goes on at once.
class WithoutWaiting {
public:
    explicit WithoutWaiting(clsSQLite& store) : store_(store), wait_(store.BusyTimeout()) { store_.SetBusyTimeout(0); }
    WithoutWaiting(const WithoutWaiting&) = delete;
    WithoutWaiting& operator=(const WithoutWaiting&) = delete;
    ~WithoutWaiting() { store_.SetBusyTimeout(wait_); }

private:
    clsSQLite& store_;
    const int wait_;
};

bool Allowed(const std::function<std::string()>& mayWrite) { return !mayWrite || mayWrite().empty(); }

}  // namespace

std::string Catalogue::Reload(const clsFile::LoadProgress& progress, const std::function<std::string()>& mayWrite) {
    OwnTables = ReadOwnTables(Store);  // waits for a writer: a busy catalogue's tables are not known
    if (!Store.ReadOnly() && OwnTables.State != OwnTablesState::Current && Allowed(mayWrite)) {
        const WithoutWaiting now(Store);
        OwnTables = MakeOwnTables(Store);
    }
    if (OwnTables.Note == kCatalogueBusy) OwnTables.Note.clear();  // read again at the next load
    std::string error = Categories.LoadFromDatabase(Store);
    if (std::string next = FileTypes.LoadFromDatabase(Store); error.empty()) error = next;
    if (std::string next = Drives.LoadFromDatabase(Store); error.empty()) error = next;
    Drives.SeeMounts(MountedVolumes::Read());
    if (std::string next = Files.LoadFromDatabase(Store, progress); error.empty()) error = next;
    if (error.empty() && !Store.ReadOnly() && OwnTables.Usable()) {
        const WithoutWaiting now(Store);
        const std::string failed = ReconcileDrives(mayWrite);
        if (!failed.empty() && failed != kCatalogueBusy && OwnTables.Note.empty())
            OwnTables.Note = "The drives of the records could not be noted in the catalogue: " + failed;
    }
    Store.ReleaseCache();
    ReturnFreedMemory();
    return error;
}

std::string Catalogue::ReconcileDrives(const std::function<std::string()>& mayWrite) {
    std::vector<RecordPath> unlinked;
    Presence presence;
    for (const FileRecord& record : Files.Records()) {
        if (record.DriveID >= 0) continue;
        const bool there = presence.IsThere(record.FileName);
        if (there || Drives.AwayAt(record.FileName)) unlinked.push_back({record.FileID, record.FileName, there});
    }
    const bool orphans = Files.OrphanLinks() > 0;
    const bool moved = std::any_of(Drives.All().begin(), Drives.All().end(),
                                   [](const Drive& drive) { return !drive.Place().empty() && drive.Place() != drive.MountPoint; });
    if (unlinked.empty() && !orphans && !moved) return {};
    if (!Allowed(mayWrite)) return {};
    clsSQLite::Transaction unit(Store);
    if (!unit.BeginError().empty()) return unit.BeginError();
    const LinkOutcome linked = LinkRecords(Store, Drives, unlinked);
    if (!linked.Error.empty()) return linked.Error;
    if (std::string error = orphans ? DeleteOrphanRows(Store) : ""; !error.empty()) return error;
    if (std::string error = NoteDrivesSeen(Store, Drives); !error.empty()) return error;
    if (std::string error = unit.Commit(); !error.empty()) return error;
    for (std::size_t i = 0; i < unlinked.size(); ++i) {
        if (linked.DriveIDs[i] >= 0) Files.SetDriveID(unlinked[i].FileID, linked.DriveIDs[i]);
    }
    return {};
}
