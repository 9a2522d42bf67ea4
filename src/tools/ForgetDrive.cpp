// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ForgetDrive.h"

#include <algorithm>
#include <vector>

#include "model/modCatalogue.h"

namespace {

std::vector<int> FileIDsOn(const Catalogue& catalogue, int driveID) {
    std::vector<int> ids;
    for (const FileRecord& record : catalogue.Files.Records()) {
        if (record.DriveID == driveID) ids.push_back(record.FileID);
    }
    return ids;
}

std::string Forget(Catalogue& catalogue, const Drive& drive, const std::vector<int>& ids, ToolHost& host, ToolResult& result) {
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (!host.Progress(static_cast<std::int64_t>(i), static_cast<std::int64_t>(ids.size()), drive.Name)) {
            result.Cancelled = true;
            return {};
        }
        if (std::string error = DeleteFile(catalogue, ids[i]); !error.empty()) return error;
    }
    // Links a program without our tables left stale point here too; they must not outlive the drive.
    std::string error = catalogue.Store.Execute("DELETE FROM rvFileDrive WHERE DriveID=?1;", {drive.DriveID});
    return error.empty() ? catalogue.Store.Execute("DELETE FROM rvDrive WHERE DriveID=?1;", {drive.DriveID}) : error;
}

}  // namespace

int RecordsOnDrive(const Catalogue& catalogue, int driveID) {
    const auto& records = catalogue.Files.Records();
    return static_cast<int>(
        std::count_if(records.begin(), records.end(), [&](const FileRecord& record) { return record.DriveID == driveID; }));
}

ToolResult ForgetDrive(Catalogue& catalogue, const std::string& name, ToolHost& host) {
    ToolResult result;
    const Drive* found = catalogue.Drives.ByName(name);
    if (!found) {
        result.Error = "No drive named " + name;
        return result;
    }
    const Drive drive = *found;
    const std::vector<int> ids = FileIDsOn(catalogue, drive.DriveID);
    {
        clsSQLite::Transaction unit(catalogue.Store);
        result.Error = unit.BeginError();
        if (result.Error.empty()) result.Error = Forget(catalogue, drive, ids, host, result);
        if (result.Error.empty() && !result.Cancelled) result.Error = unit.Commit();
    }
    if (result.Error.empty() && !result.Cancelled) {
        result.Changed = static_cast<int>(ids.size());
        catalogue.Drives.Remove(drive.DriveID);
    }
    return result;
}
