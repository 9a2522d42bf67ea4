// SPDX-License-Identifier: GPL-3.0-or-later
#include "refresh/RefreshPlan.h"

#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string_view>
#include <unordered_map>

#include "identity/FileHashes.h"
#include "support/modUtilities.h"
#include "tools/DirectoryScan.h"
#include "tools/FileFacts.h"

namespace {

constexpr std::array<const char*, 7> kKindNames = {"new", "moved", "changed", "missing", "unchanged", "unreadable", "ambiguous"};

struct InodeKey {
    std::uint64_t Device;
    std::uint64_t Inode;
    friend auto operator<=>(const InodeKey&, const InodeKey&) = default;
};

struct ContentsKey {
    std::int64_t Size;
    ContentHash Hash;
    friend auto operator<=>(const ContentsKey&, const ContentsKey&) = default;
};

// A file no record has by its path, until the plan says what it is.
struct Stranger {
    const WalkedFile* File = nullptr;
    bool Wanted = false;  // new if nothing claims it: its name matches what is catalogued
    bool Claimed = false;
    std::string CRC;
    std::optional<ContentHash> Hash;
    FileStamp ReadStamp;
    std::string ReadError;
};

// A record whose file is not at its path, until a new place is found for it.
struct Lost {
    const FileRecord* Record;
    const HashRow* Hashed;   // null when its contents were never hashed: it can then move by inode alone
    std::uint64_t Device;    // of its drive now; 0 when not known
    bool Found = false;
};

class Planner {
public:
    Planner(Catalogue& catalogue, const RefreshRequest& request, ToolHost& host)
        : catalogue_(catalogue), request_(request), host_(host) {}

    RefreshPlan Make() {
        if (!ChooseRoots()) return plan_;
        if (plan_.Error = hashes_.LoadFromDatabase(catalogue_.Store, catalogue_.Files); !plan_.Error.empty()) return plan_;
        for (const std::string& root : plan_.Roots) {
            struct stat info {};
            plan_.RootDevices.push_back(stat(root.c_str(), &info) == 0 ? info.st_dev : 0);
            TreeListing listing = WalkTree(root, request_.OpenFolder);
            if (!listing.Error.empty()) {
                plan_.Error = listing.Error;
                return plan_;
            }
            for (const UnreadableFolder& folder : listing.Unreadable)
                Add({RefreshKind::Unreadable, -1, "", folder.Path, {}, "", {}, "Cannot read the folder: " + folder.Reason, false});
            unreadable_.insert(unreadable_.end(), listing.Unreadable.begin(), listing.Unreadable.end());
            for (WalkedFile& file : listing.Files) walked_.push_back(std::move(file));
            // Pulled out during the walk, a drive leaves its mount point the empty folder beneath.
            if (stat(root.c_str(), &info) != 0 || info.st_dev != plan_.RootDevices.back()) {
                plan_.Error = "The drive of " + root + " was unplugged during the walk: nothing was planned";
                return plan_;
            }
        }
        CompareRecords();
        SortStrangers();
        MatchByInode();
        if (!ReadFiles()) {
            plan_.Cancelled = true;
            return plan_;
        }
        MatchByContents();
        Settle();
        return plan_;
    }

private:
    bool ChooseRoots();
    void CompareRecords();
    void SortStrangers();
    void MatchByInode();
    bool ReadFiles();
    void MatchByContents();
    void Settle();
    void Moved(Lost& lost, Stranger& stranger);
    bool Away(const FileRecord& record) const;
    bool InUnreadable(const std::string& path) const;
    bool Wanted(const std::string& path) const;
    bool Catalogued(const WalkedFile& file) const { return catalogued_[static_cast<std::size_t>(&file - walked_.data())]; }
    void Add(PlanRow row) { byKind_[static_cast<std::size_t>(row.Kind)].push_back(std::move(row)); }

    Catalogue& catalogue_;
    const RefreshRequest& request_;
    ToolHost& host_;
    RefreshPlan plan_;
    std::array<std::vector<PlanRow>, kRefreshKinds.size()> byKind_;  // the rows as they are found
    FileHashes hashes_;
    std::vector<WalkedFile> walked_;
    std::vector<UnreadableFolder> unreadable_;
    std::vector<bool> catalogued_;  // by the index of the walked file: a record has its path
    std::vector<Stranger> strangers_;
    std::vector<Lost> lost_;
    std::vector<std::pair<const FileRecord*, const WalkedFile*>> changed_;
};

bool Planner::ChooseRoots() {
    if (!request_.Drive.empty()) {
        const Drive* drive = catalogue_.Drives.ByName(request_.Drive);
        if (!drive) plan_.Error = "No drive named " + request_.Drive;
        else if (!drive->Plugged() || drive->Place().empty())
            plan_.Error = "The drive " + drive->Name + " is not plugged in: plug it in and refresh again";
        else if (drive->Cloned) plan_.Error = "Two devices that claim to be the drive " + drive->Name + " are plugged in";
        if (!plan_.Error.empty()) return false;
        plan_.DriveID = drive->DriveID;
        plan_.Roots.push_back(drive->Place().ends_with('/') ? drive->Place() : drive->Place() + "/");
    }
    for (const std::string& folder : request_.Folders) plan_.Roots.push_back(folder.ends_with('/') ? folder : folder + "/");
    // A folder inside another named too would be walked twice, its files each met under two roots.
    std::sort(plan_.Roots.begin(), plan_.Roots.end());
    plan_.Roots.erase(std::unique(plan_.Roots.begin(), plan_.Roots.end(),
                                  [](const std::string& outer, const std::string& inner) { return inner.starts_with(outer); }),
                      plan_.Roots.end());
    if (plan_.Roots.empty()) plan_.Error = "Choose the folders or the drive to refresh";
    return !plan_.Roots.empty();
}

// Records under the folders whose drive is away are left out of the plan, never taken as missing.
bool Planner::Away(const FileRecord& record) const {
    const Drive* drive = catalogue_.Drives.ByID(record.DriveID);
    if (drive) return drive->Cloned || !drive->Holds(record.FileName);
    return catalogue_.Drives.Mounted().InDrivePlaceLeftEmpty(record.FileName);
}

bool Planner::InUnreadable(const std::string& path) const {
    return std::any_of(unreadable_.begin(), unreadable_.end(), [&](const UnreadableFolder& folder) { return path.starts_with(folder.Path); });
}

bool Planner::Wanted(const std::string& path) const {
    const std::string name = GetFileName(path);
    if (name.starts_with('.')) return false;
    if (!request_.Patterns.empty()) return MatchesPatterns(name, request_.Patterns);
    const std::string extension = GetExtension(name);
    return extension.size() > 1 && catalogue_.FileTypes.GotoExtension(extension.substr(1));
}

void Planner::CompareRecords() {
    std::unordered_map<std::string_view, const WalkedFile*> byPath;
    byPath.reserve(walked_.size());
    for (const WalkedFile& file : walked_) byPath.emplace(file.Path, &file);
    catalogued_.assign(walked_.size(), false);
    for (const FileRecord& record : catalogue_.Files.Records()) {
        const bool under = std::any_of(plan_.Roots.begin(), plan_.Roots.end(), [&](const std::string& root) { return record.FileName.starts_with(root); });
        if (!under) continue;
        if (Away(record)) {
            ++plan_.DriveAway;
            continue;
        }
        const HashRow* hashed = hashes_.Of(record.FileID);
        const auto found = byPath.find(record.FileName);
        if (found != byPath.end()) {
            catalogued_[static_cast<std::size_t>(found->second - walked_.data())] = true;
            const FileStamp& now = found->second->Stamp;
            const bool same = hashed ? StillAsHashed(*hashed, now) : record.Size == now.Size;
            if (same) Add({RefreshKind::Unchanged, record.FileID, record.FileName, "", now, "", {}, "", false});
            else changed_.emplace_back(&record, found->second);
        } else if (InUnreadable(record.FileName)) {
            Add({RefreshKind::Unreadable, record.FileID, record.FileName, "", {}, "", {}, "Its folder cannot be read: kept", false});
        } else {
            const Drive* drive = catalogue_.Drives.ByID(record.DriveID);
            lost_.push_back({&record, hashed, drive ? drive->Device : 0});
        }
    }
}

// Files no record has by path; the second path of a file already met (a hard link) is only noted.
// Only the inodes of these files are looked for among the catalogued ones, which are most.
void Planner::SortStrangers() {
    std::vector<const WalkedFile*> candidates;
    for (const WalkedFile& file : walked_) {
        if (!Catalogued(file)) candidates.push_back(&file);
    }
    if (candidates.empty()) return;
    const auto key = [](const WalkedFile& file) { return InodeKey{file.Stamp.Device, file.Stamp.Inode}; };
    std::map<InodeKey, const std::string*> owner;  // the path that stands for the inode
    for (const WalkedFile* file : candidates) owner.emplace(key(*file), nullptr);
    for (const WalkedFile& file : walked_) {
        const auto found = owner.find(key(file));
        if (found != owner.end() && !found->second && Catalogued(file)) found->second = &file.Path;
    }
    for (const WalkedFile* file : candidates) {
        const std::string*& first = owner[key(*file)];
        if (first) {
            plan_.HardLinks.push_back(file->Path + " is the same file as " + *first);
            continue;
        }
        first = &file->Path;
        Stranger& stranger = strangers_.emplace_back();
        stranger.File = file;
        stranger.Wanted = Wanted(file->Path);
    }
}

void Planner::Moved(Lost& lost, Stranger& stranger) {
    lost.Found = stranger.Claimed = true;
    Add({RefreshKind::Moved, lost.Record->FileID, lost.Record->FileName, stranger.File->Path,
         stranger.CRC.empty() ? stranger.File->Stamp : stranger.ReadStamp, stranger.CRC, stranger.Hash, "", true});
}

// A record whose file was renamed or moved on its drive keeps its inode, size and time: no read is
// needed. An inode alone could be a new file's that took a deleted one's number.
void Planner::MatchByInode() {
    std::map<InodeKey, Stranger*> byInode;
    for (Stranger& stranger : strangers_) byInode.emplace(InodeKey{stranger.File->Stamp.Device, stranger.File->Stamp.Inode}, &stranger);
    std::map<std::uint64_t, int> lostPerInode;
    for (const Lost& lost : lost_) {
        if (lost.Hashed) ++lostPerInode[lost.Hashed->Stamp.Inode];
    }
    for (Lost& lost : lost_) {
        if (!lost.Hashed || lostPerInode[lost.Hashed->Stamp.Inode] > 1) continue;
        const FileStamp& was = lost.Hashed->Stamp;
        const auto found = byInode.find({lost.Device ? lost.Device : was.Device, was.Inode});
        if (found == byInode.end() || found->second->Claimed) continue;
        const FileStamp& now = found->second->File->Stamp;
        if (now.Size == was.Size && now.MTimeNs == was.MTimeNs) Moved(lost, *found->second);
    }
}

// Reads, in one pass on the gatherer's workers, the changed files, the new ones, and any other
// file as large as a lost record with a hash: only these can be a lost record's file.
bool Planner::ReadFiles() {
    std::map<std::int64_t, int> lostSizes;
    for (const Lost& lost : lost_) {
        if (!lost.Found && lost.Hashed) ++lostSizes[lost.Hashed->Stamp.Size];
    }
    std::vector<std::string> paths;
    std::vector<Stranger*> readers;
    for (const auto& [record, file] : changed_) paths.push_back(file->Path);
    for (Stranger& stranger : strangers_) {
        if (stranger.Claimed || (!stranger.Wanted && !lostSizes.contains(stranger.File->Stamp.Size))) continue;
        paths.push_back(stranger.File->Path);
        readers.push_back(&stranger);
    }
    const std::size_t changedCount = changed_.size();
    FactGatherer gatherer(paths, true, true, std::vector<bool>(paths.size(), true));
    const auto total = static_cast<std::int64_t>(paths.size());
    for (std::size_t index = 0; index < paths.size(); ++index) {
        if (!host_.Progress(static_cast<std::int64_t>(index), total, paths[index])) return false;
        const std::optional<FileFacts> facts =
            gatherer.Take(index, [&] { return host_.Progress(static_cast<std::int64_t>(index), total, paths[index]); });
        if (!facts) return false;
        plan_.BytesRead += facts->CRC.Bytes;
        const std::string crc = facts->Error.empty() ? facts->CRC.Text : "";
        const std::optional<ContentHash> hash = facts->Error.empty() && facts->CRC.Hashed ? std::optional(facts->CRC.Hash) : std::nullopt;
        if (index < changedCount) {
            const auto& [record, file] = changed_[index];
            Add({RefreshKind::Changed, record->FileID, record->FileName, file->Path, facts->Error.empty() ? facts->CRC.Stamp : file->Stamp,
                 crc, hash, facts->Error, facts->Error.empty()});
            continue;
        }
        Stranger& stranger = *readers[index - changedCount];
        stranger.CRC = crc;
        stranger.Hash = hash;
        stranger.ReadStamp = facts->CRC.Stamp;
        stranger.ReadError = facts->Error;
    }
    return true;
}

// Contents shared by one lost record and one file are a move; shared by more on either side, no
// guess is made and all of them are listed as ambiguous.
void Planner::MatchByContents() {
    std::map<ContentsKey, std::vector<Lost*>> lostBy;
    std::map<ContentsKey, std::vector<Stranger*>> foundBy;
    for (Lost& lost : lost_) {
        if (!lost.Found && lost.Hashed) lostBy[{lost.Hashed->Stamp.Size, lost.Hashed->Hash}].push_back(&lost);
    }
    for (Stranger& stranger : strangers_) {
        if (!stranger.Claimed && stranger.Hash) foundBy[{stranger.ReadStamp.Size, *stranger.Hash}].push_back(&stranger);
    }
    for (auto& [key, losts] : lostBy) {
        const auto found = foundBy.find(key);
        if (found == foundBy.end()) continue;
        std::vector<Stranger*>& files = found->second;
        Lost& lost = *losts.front();
        Stranger& file = *files.front();
        const bool sameDrive = lost.Device == 0 || file.ReadStamp.Device == lost.Device;
        if (losts.size() == 1 && files.size() == 1) {
            if (sameDrive) Moved(lost, file);
            continue;
        }
        const std::string note = std::to_string(losts.size()) + " missing records and " + std::to_string(files.size()) +
                                 " files have these contents: not guessed";
        for (Lost* each : losts) {
            each->Found = true;
            Add({RefreshKind::Ambiguous, each->Record->FileID, each->Record->FileName, "", {}, "", each->Hashed->Hash, note, false});
        }
        for (Stranger* each : files) {
            each->Claimed = true;
            Add({RefreshKind::Ambiguous, -1, "", each->File->Path, each->ReadStamp, each->CRC, each->Hash, note, false});
        }
    }
}

void Planner::Settle() {
    for (const Lost& lost : lost_) {
        if (!lost.Found) Add({RefreshKind::Missing, lost.Record->FileID, lost.Record->FileName, "", {}, "", {}, "", true});
    }
    for (const Stranger& stranger : strangers_) {
        if (stranger.Claimed || !stranger.Wanted) continue;
        const FileStamp& stamp = stranger.CRC.empty() ? stranger.File->Stamp : stranger.ReadStamp;
        Add({RefreshKind::New, -1, "", stranger.File->Path, stamp, stranger.CRC, stranger.Hash, stranger.ReadError,
             stranger.ReadError.empty()});
    }
    // Records come in name order and files in walk order, so most kinds are sorted already.
    const auto byPath = [](const PlanRow& a, const PlanRow& b) {
        return (a.OldPath.empty() ? a.NewPath : a.OldPath) < (b.OldPath.empty() ? b.NewPath : b.OldPath);
    };
    std::size_t total = 0;
    for (const auto& rows : byKind_) total += rows.size();
    plan_.Rows.reserve(total);
    for (auto& rows : byKind_) {
        if (!std::is_sorted(rows.begin(), rows.end(), byPath)) std::stable_sort(rows.begin(), rows.end(), byPath);
        std::move(rows.begin(), rows.end(), std::back_inserter(plan_.Rows));
        rows.clear();
    }
}

}  // namespace

const char* KindName(RefreshKind kind) { return kKindNames[static_cast<std::size_t>(kind)]; }

std::optional<RefreshKind> KindNamed(const std::string& name) {
    for (const RefreshKind kind : kRefreshKinds) {
        if (name == KindName(kind)) return kind;
    }
    return std::nullopt;
}

int RefreshPlan::Count(RefreshKind kind) const {
    return static_cast<int>(std::count_if(Rows.begin(), Rows.end(), [&](const PlanRow& row) { return row.Kind == kind; }));
}

RefreshPlan MakeRefreshPlan(Catalogue& catalogue, const RefreshRequest& request, ToolHost& host) {
    return Planner(catalogue, request, host).Make();
}
