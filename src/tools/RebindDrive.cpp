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
    int FileID = 0;
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

// The drive's records as the links keep them, those whose paths are still the ones linked.
std::string Moves(clsSQLite& store, const Drive& drive, const std::string& to, std::vector<Move>& moves) {
    return store.Query(
        "SELECT l.FileID, l.Path, l.PathKey, f.FileName FROM rvFileDrive l JOIN tblFile f ON f.FileID = l.FileID "
        "WHERE l.DriveID = " + std::to_string(drive.DriveID) + " ORDER BY f.FileName;",
        [&](const clsSQLite::Row& row) {
            const std::string_view from = row.Text(3);
            std::string path = PathOnDrive(to, row.Text(1));
            if (PathKey(from) == row.Int(2) && from != path)
                moves.push_back({static_cast<int>(row.Int(0)), std::string(from), std::move(path)});
        });
}

// A drive re-pointed to where it is mounted could be unplugged meanwhile: its place would then be
// an empty folder of the disk beneath.
bool StillMounted(const Drive& drive, const std::string& place, const std::string& to) {
    struct stat info {};
    return !place.empty() || (stat(to.c_str(), &info) == 0 && info.st_dev == drive.Device);
}

std::string Repoint(clsSQLite& store, const Drive& drive, const std::vector<Move>& moves, const std::string& to,
                    ToolHost& host, ToolResult& result) {
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (!host.Progress(static_cast<std::int64_t>(i), static_cast<std::int64_t>(moves.size()), moves[i].From)) {
            result.Cancelled = true;
            return {};
        }
        const Move& move = moves[i];
        std::string error = store.Execute("UPDATE tblFile SET FileName=?1 WHERE FileID=?2;", {move.To, move.FileID});
        if (error.empty())
            error = store.Execute("UPDATE rvFileDrive SET PathKey=?1 WHERE FileID=?2;", {PathKey(move.To), move.FileID});
        if (!error.empty()) return error;
    }
    return store.Execute("UPDATE rvDrive SET MountPoint=?1 WHERE DriveID=?2;", {to, drive.DriveID});
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
    std::vector<Move> moves;
    if (std::string error = Moves(catalogue.Store, drive, to, moves); !error.empty()) return Refused(error);
    ToolResult result;
    {
        clsSQLite::Transaction unit(catalogue.Store);
        result.Error = unit.BeginError();
        if (result.Error.empty()) result.Error = Repoint(catalogue.Store, drive, moves, to, host, result);
        if (result.Error.empty() && !result.Cancelled && !StillMounted(drive, place, to))
            result.Error = "The drive " + drive.Name + " was unplugged while its records were re-pointed: nothing was changed";
        if (result.Error.empty() && !result.Cancelled) result.Error = unit.Commit();
    }
    if (!result.Error.empty() || result.Cancelled) return result;
    result.Changed = static_cast<int>(moves.size());
    ToolLog log("rebind.log", true);
    log.Write("Reelvault");
    log.Write("The records of the drive " + drive.Name + " have been re-pointed to " + to);
    for (const Move& move : moves) log.Write(move.From + " RE-POINTED TO " + move.To);
    result.Error = log.Error();
    result.LogPath = log.Path();
    host.ShowLog(log.Path());
    return result;
}
