// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clsFile.h"

#include <algorithm>
#include <cmath>

#include "model/Cursor.h"

namespace {

const std::string kNone;
constexpr int kProgressEvery = 256;

// Keeps the last position of the key, finding the one before when the record at position leaves.
template <class Key, class KeyOf>
void Forget(std::unordered_map<Key, int>& index, const std::vector<FileRecord>& records, int position, KeyOf keyOf) {
    const Key& key = keyOf(records[position]);
    const auto entry = index.find(key);
    if (entry == index.end() || entry->second != position) return;
    for (int earlier = position - 1; earlier >= 0; --earlier) {
        if (keyOf(records[earlier]) == key) {
            entry->second = earlier;
            return;
        }
    }
    index.erase(entry);
}

template <class Key>
void Remember(std::unordered_map<Key, int>& index, const Key& key, int position) {
    int& last = index.try_emplace(key, position).first->second;
    last = std::max(last, position);
}

int ToInt(std::int64_t number) { return static_cast<int>(number); }

}  // namespace

void clsFile::Deleteall() {
    records_.clear();
    byID_.clear();
    byName_.clear();
    byCRC_.clear();
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
    const auto match = byID_.find(id);
    return match != byID_.end() && Goto(match->second);
}

bool clsFile::GotoFileName(const std::string& fileName) {
    const auto match = byName_.find(fileName);
    return match != byName_.end() && Goto(match->second);
}

bool clsFile::GotoCRC(const std::string& crc) {
    const auto match = byCRC_.find(crc);
    return match != byCRC_.end() && Goto(match->second);
}

void clsFile::IndexRecord(int position) {
    const FileRecord& record = records_[position];
    Remember(byID_, record.FileID, position);
    Remember(byName_, record.FileName, position);
    Remember(byCRC_, record.CRC, position);
}

void clsFile::ForgetRecord(int position) {
    Forget(byID_, records_, position, [](const FileRecord& r) -> const int& { return r.FileID; });
    Forget(byName_, records_, position, [](const FileRecord& r) -> const std::string& { return r.FileName; });
    Forget(byCRC_, records_, position, [](const FileRecord& r) -> const std::string& { return r.CRC; });
}

bool clsFile::Modify(const FileRecord& record) {
    if (!GotoFileID(record.FileID)) return false;
    ForgetRecord(current_);
    records_[current_] = record;
    IndexRecord(current_);
    return true;
}

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
    if (error.empty()) error = LoadRecords(store, total, progress);
    if (error.empty()) error = LoadKeywords(store, total, progress);
    if (!error.empty()) {
        Deleteall();
        return error;
    }
    byName_.reserve(records_.size());
    byCRC_.reserve(records_.size());
    for (int position = 0; position < Count(); ++position) IndexRecord(position);
    return {};
}

std::string clsFile::LoadRecords(clsSQLite& store, std::int64_t total, const LoadProgress& progress) {
    records_.reserve(static_cast<std::size_t>(store.Field(0).AsInt()));
    return store.Query(
        "SELECT FileID,FileName,Title,Type,Category,CRC,Size,Length,FourCC,Rating FROM tblFile ORDER BY FileName;",
        [&](const clsSQLite::Row& row) {
            records_.push_back({ToInt(row.Int(0)), std::string(row.Text(1)), std::string(row.Text(2)),
                                ToInt(row.Int(3)), ToInt(row.Int(4)), std::string(row.Text(5)), row.Int(6),
                                ToInt(row.Int(7)), std::string(row.Text(8)), ToInt(row.Int(9)), {}});
            if (progress && records_.size() % kProgressEvery == 0) progress(Count(), total);
        });
}

// All links in one statement rather than one per record. Each record's keywords are then put in
// byte order, the order the catalogue's own ORDER BY Keyword gives.
std::string clsFile::LoadKeywords(clsSQLite& store, std::int64_t total, const LoadProgress& progress) {
    byID_.reserve(records_.size());
    for (int position = 0; position < Count(); ++position) Remember(byID_, records_[position].FileID, position);
    std::int64_t links = 0;
    const std::string error = store.Query(
        "SELECT tblFileKeywordJunction.FileID, tblKeyword.Keyword FROM tblKeyword, tblFileKeywordJunction "
        "WHERE tblKeyword.KeywordID=tblFileKeywordJunction.KeywordID;",
        [&](const clsSQLite::Row& row) {
            if (const auto owner = byID_.find(ToInt(row.Int(0))); owner != byID_.end())
                records_[owner->second].Keywords.emplace_back(row.Text(1));
            if (progress && ++links % kProgressEvery == 0) progress(Count(), total);
        });
    for (FileRecord& record : records_) std::sort(record.Keywords.begin(), record.Keywords.end());
    if (progress) progress(total, total);
    return error;
}
