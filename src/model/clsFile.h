// SPDX-License-Identifier: GPL-3.0-or-later
// The file records of the open catalogue with their keywords, as last loaded, in file-name order,
// with a cursor. Look-ups by ID, path and CRC are hashed, and still leave the last match current.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "model/PositionIndex.h"
#include "store/clsSQLite.h"

struct FileRecord {
    int FileID = -1;
    std::string FileName;  // the full path
    std::string Title;
    int TypeID = -1;      // -1 for none; a record loaded with none reads 0
    int CategoryID = -1;  // likewise
    std::string CRC;
    std::int64_t Size = 0;  // bytes
    int Length = 0;         // milliseconds
    std::string FourCC;
    int Rating = 0;
    std::vector<std::string> Keywords;  // in text order once loaded
    int DriveID = -1;  // the drive the file lies on (see DriveSet); -1 while not known

    friend bool operator==(const FileRecord&, const FileRecord&) = default;
};

class clsFile {
public:
    // Told how far a load has come, between records, so a window can stay alive.
    using LoadProgress = std::function<void(std::int64_t done, std::int64_t total)>;

    void Deleteall();
    int Count() const { return static_cast<int>(records_.size()); }
    bool MoveFirst();
    bool MoveNext();

    // Fields of the current record; -1 (numbers) and "" (texts) when there is none.
    int FileID() const;
    const std::string& FileName() const;
    const std::string& Title() const;
    int TypeID() const;
    int CategoryID() const;
    const std::string& CRC() const;
    std::int64_t Size() const;
    int Length() const;
    int LengthS() const;     // whole seconds, halves to even
    double LengthM() const;  // minutes with their fraction; -1.0 with no current record
    const std::string& FourCC() const;
    int Rating() const;
    int NumKeyword() const;
    const std::string& Keyword(int index) const;  // "" outside 0..NumKeyword()-1
    std::vector<std::string> KeywordList() const;
    // The current record whole, or null.
    const FileRecord* Current() const;
    // Every record, in the set's order, for views that show them all.
    const std::vector<FileRecord>& Records() const { return records_; }

    // The last record (in the set's order) whose field equals the argument exactly becomes current;
    // with no match the cursor stays.
    bool GotoFileID(int id);
    bool GotoFileName(const std::string& fileName);
    bool GotoCRC(const std::string& crc);

    // Overwrites the record with record.FileID in memory, keywords and all; it keeps its place and
    // becomes current. False, and nothing changes, when no record has that ID.
    bool Modify(const FileRecord& record);
    // The drive of the record with this ID, once it is known; the cursor stays. False when no
    // record has that ID.
    bool SetDriveID(int fileID, int driveID);
    // Every record of this type, or this category, gets none, as a load reads a record whose type
    // or category was cleared: 0. For after the catalogue deleted the type or the category, so a
    // million records need not be loaded again. The cursor stays; returns how many changed.
    int ClearTypeID(int typeID);
    int ClearCategoryID(int categoryID);
    // Link rows of the last load that belong to no record: the records were deleted by a program
    // that does not know the catalogue's own tables.
    int OrphanLinks() const { return orphanLinks_; }
    // Appends a provisional record (FileID -1, no keywords) so that later look-ups of a bulk run
    // see it before the next load. The cursor stays.
    void AddTemporarily(const std::string& fileName, const std::string& crc);

    // Replaces the set with the catalogue's records ordered by file name, each with its keywords in
    // text order and, where the catalogue's own tables are usable and say so for the path it has
    // now, its drive; no record is current afterwards. With no catalogue open the set keeps what it
    // held. Returns "" or the engine's message, and the set is then empty: a record shown without
    // its keywords would lose them when saved.
    std::string LoadFromDatabase(clsSQLite& store, const LoadProgress& progress = {});
    // Replaces the set with the first count records in that order, with their keywords and without
    // drives: what can be shown while the whole set is read. "" or the engine's message.
    std::string LoadFirst(clsSQLite& store, int count);

private:
    std::string LoadRecords(clsSQLite& store, std::int64_t total, const LoadProgress& progress,
                            std::vector<std::uint8_t>& nameClasses, const std::string& order = "ORDER BY FileID");
    std::string LoadKeywords(clsSQLite& store, std::int64_t total, const LoadProgress& progress);
    struct DriveLink {
        std::int64_t FileID;
        int DriveID;
        std::int64_t PathKey;
    };
    struct DriveLinks {
        std::vector<DriveLink> Rows;
        std::string Error;
    };
    static std::future<DriveLinks> ReadDriveLinks(clsSQLite& store, std::int64_t records);
    void TakeDriveLinks(const std::vector<DriveLink>& links);
    void IndexAll();
    void IndexRecord(int position);
    void ForgetRecord(int position);
    bool Goto(int position);

    std::vector<FileRecord> records_;
    PositionIndex<FileRecord, &FileRecord::FileID> byID_;
    PositionIndex<FileRecord, &FileRecord::FileName> byName_;
    PositionIndex<FileRecord, &FileRecord::CRC> byCRC_;
    int current_ = -1;
    int orphanLinks_ = 0;
};
