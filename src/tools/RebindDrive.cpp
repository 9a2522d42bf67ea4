// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RebindDrive.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "drives/DriveLinks.h"
#include "store/OwnTables.h"
#include "tools/ToolLog.h"

namespace {

struct Move {
    std::int64_t FileID = 0;
    std::string From;
    std::string To;
};

ToolResult Refused(std::string why) {
    ToolResult result;
    result.Error = std::move(why);
    return result;
}

// "/media/me/FILMS/" and "/media/me/FILMS" are one place; "/" stays "/".
std::string WithoutTrailingSlash(std::string place) {
    while (place.size() > 1 && place.ends_with('/')) place.pop_back();
    return place;
}

// Where the records go, or why they cannot go anywhere now.
std::string Destination(const Drive& drive, const std::string& place, std::string& to) {
    if (!place.empty()) {
        to = WithoutTrailingSlash(place);
        return place.starts_with('/') ? "" : "The new place of a drive must be an absolute path: " + place;
    }
    if (drive.Cloned)
        return "Two devices that claim to be the drive " + drive.Name +
               " are plugged in: unplug one of them before re-pointing its records";
    if (!drive.Plugged()) return "The drive " + drive.Name + " is not plugged in";
    to = drive.Place();
    return to.empty() ? "Only a folder of the drive " + drive.Name + " is mounted: name the place to re-point it to" : "";
}

// The drive's records whose paths are still the ones linked, with the paths they get: read once
// for the log, the count and the writing, in path order.
std::string Moves(clsSQLite& store, const Drive& drive, const std::string& to, std::vector<Move>& moves) {
    const std::string error = store.Query(
        "SELECT l.FileID, f.FileName, l.Path, l.PathKey FROM rvFileDrive l JOIN tblFile f ON f.FileID = l.FileID "
        "WHERE l.DriveID = " + std::to_string(drive.DriveID) + ";",
        [&](const clsSQLite::Row& row) {
            const std::string_view from = row.Text(1);
            std::string path = PathOnDrive(to, row.Text(2));
            if (PathKey(from) == row.Int(3) && from != path) moves.push_back({row.Int(0), std::string(from), std::move(path)});
        });
    std::sort(moves.begin(), moves.end(), [](const Move& a, const Move& b) { return a.From < b.From; });
    return error;
}

// The moves go to a table of this connection, so that the links, the hashes and media facts of the
// same files (which a new place does not change) and the records are each rewritten by one statement that
// finds its rows by FileID.
const char* const kMovesTable =
    "CREATE TEMP TABLE IF NOT EXISTS rvMoves(FileID INTEGER PRIMARY KEY, OldKey INTEGER, NewKey INTEGER, NewPath TEXT);";
const char* const kAddMove = "INSERT INTO temp.rvMoves VALUES (?1, ?2, ?3, ?4);";
// Each statement is led by the moves, so that a drive's records are found by FileID rather than
// by scanning an index the statement is changing.
const char* const kRepointLinks =
    "UPDATE rvFileDrive SET PathKey = (SELECT NewKey FROM temp.rvMoves m WHERE m.FileID = rvFileDrive.FileID) "
    "WHERE FileID IN (SELECT FileID FROM temp.rvMoves);";
const char* const kRepointHashes =
    "UPDATE rvFileHash SET PathKey = (SELECT NewKey FROM temp.rvMoves m WHERE m.FileID = rvFileHash.FileID) "
    "WHERE FileID IN (SELECT FileID FROM temp.rvMoves) AND "
    "PathKey = (SELECT OldKey FROM temp.rvMoves m WHERE m.FileID = rvFileHash.FileID);";
const char* const kRepointFacts =
    "UPDATE rvFileMedia SET PathKey = (SELECT NewKey FROM temp.rvMoves m WHERE m.FileID = rvFileMedia.FileID) "
    "WHERE FileID IN (SELECT FileID FROM temp.rvMoves) AND "
    "PathKey = (SELECT OldKey FROM temp.rvMoves m WHERE m.FileID = rvFileMedia.FileID);";
// A frame shows the same film wherever its drive is mounted.
const char* const kRepointFrames =
    "UPDATE rvFrame SET PathKey = (SELECT NewKey FROM temp.rvMoves m WHERE m.FileID = rvFrame.FileID) "
    "WHERE FileID IN (SELECT FileID FROM temp.rvMoves) AND "
    "PathKey = (SELECT OldKey FROM temp.rvMoves m WHERE m.FileID = rvFrame.FileID);";
const char* const kRepointRecords =
    "UPDATE tblFile SET FileName = (SELECT NewPath FROM temp.rvMoves m WHERE m.FileID = tblFile.FileID) "
    "WHERE FileID IN (SELECT FileID FROM temp.rvMoves);";

// In FileID order, so that the table grows at its end and the statements visit rows page by page.
std::string WriteMovesTable(clsSQLite& store, const std::vector<Move>& moves) {
    std::vector<const Move*> byID;
    byID.reserve(moves.size());
    for (const Move& move : moves) byID.push_back(&move);
    std::sort(byID.begin(), byID.end(), [](const Move* a, const Move* b) { return a->FileID < b->FileID; });
    std::string error = store.Execute(kMovesTable);
    if (error.empty()) error = store.Execute("DELETE FROM temp.rvMoves;");
    const std::string add = kAddMove;
    for (std::size_t i = 0; error.empty() && i < byID.size(); ++i)
        error = store.Execute(add, {byID[i]->FileID, PathKey(byID[i]->From), PathKey(byID[i]->To), byID[i]->To});
    return error;
}

// A drive re-pointed to where it is mounted could be unplugged meanwhile: its place would then be
// an empty folder of the disk beneath.
bool StillMounted(const Drive& drive, const std::string& place, const std::string& to) {
    struct stat info {};
    return !place.empty() || (stat(to.c_str(), &info) == 0 && info.st_dev == drive.Device);
}

// Asks host before the writing, which is a few statements over all the drive's records.
std::string Repoint(clsSQLite& store, const Drive& drive, const std::string& to, std::vector<Move>& moves, ToolHost& host,
                    bool& cancelled) {
    if (std::string error = Moves(store, drive, to, moves); !error.empty()) return error;
    if (!host.Progress(0, static_cast<std::int64_t>(moves.size()), moves.empty() ? to : moves.front().From)) {
        cancelled = true;
        return {};
    }
    if (std::string error = WriteMovesTable(store, moves); !error.empty()) return error;
    for (const char* sql : {kRepointLinks, kRepointHashes, kRepointFacts, kRepointFrames, kRepointRecords, "DELETE FROM temp.rvMoves;"}) {
        if (std::string error = store.Execute(sql); !error.empty()) return error;
    }
    return store.Execute("UPDATE rvDrive SET MountPoint=?1 WHERE DriveID=?2;", {to, drive.DriveID});
}

// One line per record, written a few thousand at a time rather than flushed one by one.
void WriteMoves(ToolLog& log, const std::vector<Move>& moves) {
    constexpr std::size_t kLinesAtOnce = 4096;
    std::string lines;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (!lines.empty()) lines += '\n';
        lines += moves[i].From + " RE-POINTED TO " + moves[i].To;
        if ((i + 1) % kLinesAtOnce == 0 || i + 1 == moves.size()) {
            log.Write(lines);
            lines.clear();
        }
    }
}

}  // namespace

int RecordsToRepoint(const Catalogue& catalogue, const Drive& drive) {
    if (!drive.Plugged() || drive.Cloned || drive.Place().empty()) return 0;
    const auto& records = catalogue.Files.Records();
    return static_cast<int>(std::count_if(records.begin(), records.end(), [&](const FileRecord& record) {
        return record.DriveID == drive.DriveID && !drive.Holds(record.FileName);
    }));
}

ToolResult RebindDrive(Catalogue& catalogue, const std::string& name, const std::string& place, ToolHost& host) {
    const Drive* found = catalogue.Drives.ByName(name);
    if (!found) return Refused("No drive named " + name);
    const Drive drive = *found;
    std::string to;
    if (std::string why = Destination(drive, place, to); !why.empty()) return Refused(why);
    ToolResult result;
    std::vector<Move> moves;
    {
        clsSQLite::Transaction unit(catalogue.Store);
        result.Error = unit.BeginError();
        if (result.Error.empty() && !host.Progress(0, 1, drive.Name)) result.Cancelled = true;
        if (result.Error.empty() && !result.Cancelled) result.Error = Repoint(catalogue.Store, drive, to, moves, host, result.Cancelled);
        if (result.Error.empty() && !result.Cancelled && !StillMounted(drive, place, to))
            result.Error = "The drive " + drive.Name + " was unplugged while its records were re-pointed: nothing was changed";
        if (result.Error.empty() && !result.Cancelled) result.Error = unit.Commit();
    }
    if (!result.Error.empty() || result.Cancelled) return result;
    result.Changed = static_cast<int>(moves.size());
    ToolLog log("rebind.log", true);
    log.Write("Reelvault");
    log.Write("The records of the drive " + drive.Name + " have been re-pointed to " + to);
    WriteMoves(log, moves);
    result.Error = log.Error();
    result.LogPath = log.Path();
    host.ShowLog(log.Path());
    return result;
}
