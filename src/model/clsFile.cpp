// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clsFile.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <unordered_map>
#include <utility>

#include "model/Cursor.h"
#include "model/NameOrder.h"
#include "store/OwnTables.h"

namespace {

const std::string kNone;
constexpr int kProgressEvery = 256;

int ToInt(std::int64_t number) { return static_cast<int>(number); }

// The catalogue's keyword texts, each held once while the links are read, in byte order (the
// order the catalogue's own ORDER BY Keyword gives), with the rank of each keyword ID.
struct KeywordTexts {
    std::vector<std::string> Sorted;
    std::unordered_map<int, int> RankOfID;
};

// A small catalogue may keep a large vocabulary: with fewer links than keywords, only the keywords
// the links name are read. Both maxima are read off the end of their tables, not counted.
std::string KeywordQuery(clsSQLite& store) {
    store.Execute("SELECT (SELECT max(rowid) FROM tblFileKeywordJunction) < (SELECT max(KeywordID) FROM tblKeyword);");
    if (store.Field(0).AsInt() == 1)
        return "SELECT KeywordID, Keyword FROM tblKeyword WHERE KeywordID IN (SELECT KeywordID FROM tblFileKeywordJunction);";
    return "SELECT KeywordID, Keyword FROM tblKeyword;";
}

// Starting a thread costs more than a small set's work on it.
std::launch SecondCore(std::size_t records) {
    constexpr std::size_t kWorthAThread = 10'000;
    return records >= kWorthAThread ? std::launch::async | std::launch::deferred : std::launch::deferred;
}

std::string ReadKeywordTexts(clsSQLite& store, KeywordTexts& texts) {
    std::vector<std::pair<std::string, int>> rows;
    const std::string error = store.Query(KeywordQuery(store), [&](const clsSQLite::Row& row) {
        rows.emplace_back(row.Text(1), ToInt(row.Int(0)));
    });
    std::sort(rows.begin(), rows.end());
    texts.Sorted.reserve(rows.size());
    texts.RankOfID.reserve(rows.size());
    for (auto& [text, id] : rows) {
        texts.RankOfID.emplace(id, static_cast<int>(texts.Sorted.size()));
        texts.Sorted.push_back(std::move(text));
    }
    return error;
}

// Each position's keyword ranks in ascending order: a counting sort of the links by position.
struct LinksByPosition {
    std::vector<int> Start;  // position p's ranks are Ranks[Start[p]] .. Ranks[Start[p + 1] - 1]
    std::vector<int> Ranks;
};

LinksByPosition GroupLinks(const std::vector<std::pair<int, int>>& links, int positions) {
    LinksByPosition grouped;
    grouped.Start.assign(static_cast<std::size_t>(positions) + 1, 0);
    for (const auto& link : links) ++grouped.Start[link.first + 1];
    for (int p = 0; p < positions; ++p) grouped.Start[p + 1] += grouped.Start[p];
    grouped.Ranks.resize(links.size());
    std::vector<int> next(grouped.Start.begin(), grouped.Start.end() - 1);
    for (const auto& [position, rank] : links) grouped.Ranks[next[position]++] = rank;
    for (int p = 0; p < positions; ++p)
        std::sort(grouped.Ranks.begin() + grouped.Start[p], grouped.Ranks.begin() + grouped.Start[p + 1]);
    return grouped;
}

// The position of the record with this ID in records sorted by ID, or -1. A file's links mostly
// follow those of the file before it, so the next position is tried first.
int PositionOfID(const std::vector<FileRecord>& records, int id, int previous) {
    const int next = previous + 1;
    if (next >= 0 && next < static_cast<int>(records.size()) && records[next].FileID == id) return next;
    const auto found = std::lower_bound(records.begin(), records.end(), id,
                                        [](const FileRecord& record, int key) { return record.FileID < key; });
    return found != records.end() && found->FileID == id ? static_cast<int>(found - records.begin()) : -1;
}

// The position of each record by its ID, for records in ID order; a table as long as the largest
// ID when IDs are dense enough (as SQLite gives them), otherwise a binary search.
class PositionsByID {
public:
    explicit PositionsByID(const std::vector<FileRecord>& records) : records_(records) {
        const int largest = records.empty() ? 0 : records.back().FileID;
        if (largest < 0 || static_cast<std::size_t>(largest) > 4 * records.size() + 1024) return;
        table_.assign(static_cast<std::size_t>(largest) + 1, -1);
        for (int p = 0; p < static_cast<int>(records.size()); ++p) {
            if (records[p].FileID >= 0) table_[records[p].FileID] = p;
        }
    }
    int Of(std::int64_t id) const {
        if (!table_.empty()) return id >= 0 && id < static_cast<std::int64_t>(table_.size()) ? table_[id] : -1;
        return id < 0 || id > INT32_MAX ? -1 : PositionOfID(records_, static_cast<int>(id), -1);
    }

private:
    const std::vector<FileRecord>& records_;
    std::vector<int> table_;
};

// Moves each row to its place: order[i] names the row that belongs at i. Follows each cycle of
// the permutation, so no second copy of the rows is made.
template <class Row>
void Permute(std::vector<Row>& rows, std::vector<int>& order) {
    for (int start = 0; start < static_cast<int>(order.size()); ++start) {
        if (order[start] == start) continue;
        Row held = std::move(rows[start]);
        int at = start;
        while (order[at] != start) {
            const int from = order[at];
            rows[at] = std::move(rows[from]);
            order[at] = at;
            at = from;
        }
        rows[at] = std::move(held);
        order[at] = at;
    }
}

}  // namespace

void clsFile::Deleteall() {
    orphanLinks_ = 0;
    records_.clear();
    byID_.Clear();
    byName_.Clear();
    byCRC_.Clear();
    current_ = -1;
}

bool clsFile::MoveFirst() { return MoveToFirst(current_, records_); }

bool clsFile::MoveNext() { return MoveToNext(current_, records_); }

const FileRecord* clsFile::Current() const { return IsOn(current_, records_) ? &records_[current_] : nullptr; }

int clsFile::FileID() const { return Current() ? Current()->FileID : -1; }
const std::string& clsFile::FileName() const { return Current() ? Current()->FileName : kNone; }
const std::string& clsFile::Title() const { return Current() ? Current()->Title : kNone; }
int clsFile::TypeID() const { return Current() ? Current()->TypeID : -1; }
int clsFile::CategoryID() const { return Current() ? Current()->CategoryID : -1; }
const std::string& clsFile::CRC() const { return Current() ? Current()->CRC : kNone; }
std::int64_t clsFile::Size() const { return Current() ? Current()->Size : -1; }
int clsFile::Length() const { return Current() ? Current()->Length : -1; }
const std::string& clsFile::FourCC() const { return Current() ? Current()->FourCC : kNone; }
int clsFile::Rating() const { return Current() ? Current()->Rating : -1; }

int clsFile::LengthS() const {
    return Current() ? static_cast<int>(std::nearbyint(Current()->Length / 1000.0)) : -1;  // halves to even
}

double clsFile::LengthM() const { return Current() ? Current()->Length / 1000.0 / 60.0 : -1.0; }

int clsFile::NumKeyword() const { return Current() ? static_cast<int>(Current()->Keywords.size()) : -1; }

const std::string& clsFile::Keyword(int index) const {
    return index >= 0 && index < NumKeyword() ? Current()->Keywords[index] : kNone;
}

std::vector<std::string> clsFile::KeywordList() const { return Current() ? Current()->Keywords : std::vector<std::string>(); }

bool clsFile::Goto(int position) {
    current_ = position;
    return true;
}

bool clsFile::GotoFileID(int id) {
    const int position = byID_.Find(records_, id);
    return position >= 0 && Goto(position);
}

bool clsFile::GotoFileName(const std::string& fileName) {
    const int position = byName_.Find(records_, fileName);
    return position >= 0 && Goto(position);
}

bool clsFile::GotoCRC(const std::string& crc) {
    const int position = byCRC_.Find(records_, crc);
    return position >= 0 && Goto(position);
}

void clsFile::IndexRecord(int position) {
    byID_.Remember(records_, position);
    byName_.Remember(records_, position);
    byCRC_.Remember(records_, position);
}

void clsFile::ForgetRecord(int position) {
    byID_.Forget(records_, position);
    byName_.Forget(records_, position);
    byCRC_.Forget(records_, position);
}

bool clsFile::Modify(const FileRecord& record) {
    if (!GotoFileID(record.FileID)) return false;
    // Forgetting a key many records share (every CRC not yet calculated is "") looks through the
    // records before it: left out when the keys stay, as a change of fields alone leaves them.
    FileRecord& held = records_[current_];
    if (held.FileName == record.FileName && held.CRC == record.CRC) {
        held = record;
        return true;
    }
    ForgetRecord(current_);
    held = record;
    IndexRecord(current_);
    return true;
}

bool clsFile::SetDriveID(int fileID, int driveID) {
    const int position = byID_.Find(records_, fileID);
    if (position < 0) return false;
    records_[position].DriveID = driveID;
    return true;
}

namespace {

int Clear(std::vector<FileRecord>& records, int FileRecord::*field, int id) {
    int changed = 0;
    for (FileRecord& record : records) {
        if (record.*field != id) continue;
        record.*field = 0;
        ++changed;
    }
    return changed;
}

}  // namespace

int clsFile::ClearTypeID(int typeID) { return Clear(records_, &FileRecord::TypeID, typeID); }

int clsFile::ClearCategoryID(int categoryID) { return Clear(records_, &FileRecord::CategoryID, categoryID); }

void clsFile::AddTemporarily(const std::string& fileName, const std::string& crc) {
    FileRecord record;
    record.FileName = fileName;
    record.CRC = crc;
    record.TypeID = 0;
    record.CategoryID = 0;
    records_.push_back(std::move(record));
    IndexRecord(Count() - 1);
}

std::string clsFile::LoadFromDatabase(clsSQLite& store, const LoadProgress& progress) {
    if (!store.DBOpen()) return {};
    Deleteall();
    clsSQLite::Transaction snapshot(store);  // records and links read from one state of the file
    // Progress counts records; the keyword pass, which follows, keeps reporting the last count.
    std::string error = store.Execute("SELECT count(*) FROM tblFile;");
    const std::int64_t total = store.Field(0).AsInt();
    std::future<DriveLinks> linkReading = ReadDriveLinks(store, total);
    std::vector<std::uint8_t> nameClasses;
    if (error.empty()) error = LoadRecords(store, total, progress, nameClasses);
    if (!error.empty()) {
        Deleteall();
        return error;
    }
    DriveLinks links = linkReading.get();
    if (error.empty()) error = links.Error;
    // The name order, and which drive links still hold, are worked out on the second core while the
    // keyword links are read: the sort reads only the names, the links' check the names and the
    // drives, the keyword pass writes only the keyword lists.
    std::vector<std::string_view> names;
    names.reserve(records_.size());
    for (const FileRecord& record : records_) names.emplace_back(record.FileName);
    auto sorting = std::async(SecondCore(records_.size()), [this, &links, &nameClasses, names = std::move(names)] {
        TakeDriveLinks(links.Rows);
        return NameOrder(nameClasses, names);
    });
    if (error.empty()) error = LoadKeywords(store, total, progress);
    if (progress) progress(total, total);
    std::vector<int> order = sorting.get();
    if (!error.empty()) {
        Deleteall();
        return error;
    }
    Permute(records_, order);
    IndexAll();
    return {};
}

std::string clsFile::LoadFirst(clsSQLite& store, int count) {
    Deleteall();
    clsSQLite::Transaction snapshot(store);
    std::vector<std::uint8_t> nameClasses;
    const std::string limit = " LIMIT " + std::to_string(count);
    std::string error = LoadRecords(store, count, {}, nameClasses, "ORDER BY FileName" + limit);
    std::string ids;
    for (const FileRecord& record : records_) ids += (ids.empty() ? "" : ",") + std::to_string(record.FileID);
    if (error.empty())
        error = store.Query("SELECT j.FileID, k.Keyword FROM tblFileKeywordJunction j JOIN tblKeyword k USING (KeywordID) "
                            "WHERE j.FileID IN (" + ids + ") ORDER BY k.Keyword;",
                            [&](const clsSQLite::Row& row) {
                                const auto record = std::find_if(records_.begin(), records_.end(),
                                                                 [&](const FileRecord& r) { return r.FileID == row.Int(0); });
                                if (record != records_.end()) record->Keywords.emplace_back(row.Text(1));
                            });
    if (!error.empty()) Deleteall();
    else IndexAll();
    return error;
}

// The paths, the longest keys to hash, are indexed on the second core while the IDs and CRCs are
// indexed here.
void clsFile::IndexAll() {
    const auto indexAll = [this](auto& index) {
        index.Reserve(records_.size());
        for (int position = 0; position < Count(); ++position) index.Remember(records_, position);
    };
    auto names = std::async(SecondCore(records_.size()), [&] { indexAll(byName_); });
    indexAll(byID_);
    indexAll(byCRC_);
    names.get();
}

// In FileID order, which the table gives without sorting; the links are then found by ID quickly,
// and NameOrder sorts in memory what the engine would sort through its temporary files.
std::string clsFile::LoadRecords(clsSQLite& store, std::int64_t total, const LoadProgress& progress,
                                 std::vector<std::uint8_t>& nameClasses, const std::string& order) {
    records_.reserve(static_cast<std::size_t>(std::max<std::int64_t>(total, 0)));
    nameClasses.reserve(records_.capacity());
    return store.Query(
        "SELECT FileID,FileName,Title,Type,Category,CRC,Size,Length,FourCC,Rating FROM tblFile " + order + ";",
        [&](const clsSQLite::Row& row) {
            nameClasses.push_back(static_cast<std::uint8_t>(row.SortClass(1)));  // before Text converts it
            FileRecord& record = records_.emplace_back();
            record.FileID = ToInt(row.Int(0));
            record.FileName = row.Text(1);
            record.Title = row.Text(2);
            record.TypeID = ToInt(row.Int(3));
            record.CategoryID = ToInt(row.Int(4));
            record.CRC = row.Text(5);
            record.Size = row.Int(6);
            record.Length = ToInt(row.Int(7));
            record.FourCC = row.Text(8);
            record.Rating = ToInt(row.Int(9));
            if (progress && records_.size() % kProgressEvery == 0) progress(Count(), total);
        });
}

// The links alone, as numbers, rather than joined to their texts row by row: each distinct text
// is read once, and each record's list is made at its final size.
std::string clsFile::LoadKeywords(clsSQLite& store, std::int64_t total, const LoadProgress& progress) {
    KeywordTexts texts;
    std::string error = ReadKeywordTexts(store, texts);
    if (!error.empty()) return error;
    std::vector<std::pair<int, int>> links;  // position, rank
    std::int64_t rows = 0;
    int lastID = 0, lastPosition = PositionOfID(records_, 0, -1);
    error = store.Query("SELECT FileID, KeywordID FROM tblFileKeywordJunction;", [&](const clsSQLite::Row& row) {
        if (const int id = ToInt(row.Int(0)); id != lastID) lastID = id, lastPosition = PositionOfID(records_, id, lastPosition);
        const auto rank = texts.RankOfID.find(ToInt(row.Int(1)));
        if (lastPosition >= 0 && rank != texts.RankOfID.end()) links.emplace_back(lastPosition, rank->second);
        if (progress && ++rows % kProgressEvery == 0) progress(Count(), total);
    });
    if (!error.empty()) return error;
    const LinksByPosition grouped = GroupLinks(links, Count());
    std::vector<std::pair<int, int>>().swap(links);
    for (int p = 0; p < Count(); ++p) {
        std::vector<std::string>& keywords = records_[p].Keywords;
        keywords.reserve(static_cast<std::size_t>(grouped.Start[p + 1] - grouped.Start[p]));
        for (int i = grouped.Start[p]; i < grouped.Start[p + 1]; ++i) keywords.push_back(texts.Sorted[grouped.Ranks[i]]);
    }
    return {};
}


// Read through the index of the numbers wanted, a fraction of the table's size, on a connection of
// its own beside the records' reading where the file allows (see OpenBeside), else after it.
std::future<clsFile::DriveLinks> clsFile::ReadDriveLinks(clsSQLite& store, std::int64_t records) {
    const auto read = [records](clsSQLite& from) {
        DriveLinks links;
        links.Rows.reserve(static_cast<std::size_t>(std::max<std::int64_t>(records, 0)));
        links.Error = from.Query("SELECT FileID, DriveID, PathKey FROM rvFileDrive INDEXED BY rvFileDriveKeys;",
                                 [&](const clsSQLite::Row& row) { links.Rows.push_back({row.Int(0), ToInt(row.Int(1)), row.Int(2)}); });
        return links;
    };
    if (!ReadOwnTables(store).Usable()) return std::async(std::launch::deferred, [] { return DriveLinks{}; });
    auto beside = std::make_shared<clsSQLite>();
    if (beside->OpenBeside(store).empty())
        return std::async(std::launch::async, [read, beside] {
            DriveLinks links = read(*beside);
            beside->CloseDB();  // its read lock would hold back the reconciling writes that follow
            return links;
        });
    return std::async(std::launch::deferred, [read, &store] { return read(store); });
}

// A link stands only while the record keeps the path it was made for: another program may have
// changed the path, or given a deleted record's FileID to another file.
void clsFile::TakeDriveLinks(const std::vector<DriveLink>& links) {
    const PositionsByID positions(records_);
    for (const DriveLink& link : links) {
        const int position = positions.Of(link.FileID);
        if (position < 0) ++orphanLinks_;
        else if (FileRecord& record = records_[position]; PathKey(record.FileName) == link.PathKey) record.DriveID = link.DriveID;
    }
}
