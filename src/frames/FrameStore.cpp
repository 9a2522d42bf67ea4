// SPDX-License-Identifier: GPL-3.0-or-later
#include "frames/FrameStore.h"

#include <chrono>

#include "store/OwnTables.h"

namespace {

bool Writable(clsSQLite& store) { return store.DBOpen() && !store.ReadOnly() && ReadOwnTables(store).Usable(); }

}  // namespace

std::string ReadFrame(clsSQLite& store, int fileID, const std::string& path, std::optional<StoredFrame>& found) {
    found.reset();
    if (!store.DBOpen() || !ReadOwnTables(store).Usable()) return {};
    return store.Query("SELECT PathKey, Width, Height, Picture, Note FROM rvFrame WHERE FileID = " + std::to_string(fileID) + ";",
                       [&](const clsSQLite::Row& row) {
                           if (row.Int(0) != PathKey(path)) return;
                           found = StoredFrame{std::string(row.Text(3)), static_cast<int>(row.Int(1)),
                                               static_cast<int>(row.Int(2)), std::string(row.Text(4))};
                       });
}

std::string StoreFrame(clsSQLite& store, int fileID, const std::string& path, const Frame& frame) {
    if (frame.Failed || !Writable(store)) return {};
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    // Bound as text, kept as the bytes they are.
    const std::string picture(frame.Jpeg.begin(), frame.Jpeg.end());
    // Only for the record as it still is: a pass on another connection may have made the frame of
    // a record deleted or re-pointed meanwhile.
    return store.Execute(
        "INSERT OR REPLACE INTO rvFrame(FileID, PathKey, Width, Height, Picture, Note, MadeAt) "
        "SELECT ?1, ?2, ?3, ?4, CAST(?5 AS BLOB), ?6, ?7 WHERE EXISTS (SELECT 1 FROM tblFile WHERE FileID = ?1 AND FileName = ?8);",
        {fileID, PathKey(path), frame.Width, frame.Height, picture, frame.Made() ? std::string() : frame.Reason, now, path});
}

std::string MissingFrames(clsSQLite& store, std::vector<FrameWanted>& wanted) {
    wanted.clear();
    if (!store.DBOpen() || !ReadOwnTables(store).Usable()) return {};
    return store.Query(
        "SELECT f.FileID FROM tblFile f LEFT JOIN rvFrame r ON r.FileID = f.FileID "
        "AND r.PathKey = rv_path_key(f.FileName) WHERE r.FileID IS NULL ORDER BY f.FileID;",
        [&](const clsSQLite::Row& row) { wanted.push_back({static_cast<int>(row.Int(0)), {}}); });
}

std::string PathOf(clsSQLite& store, int fileID, std::string& path) {
    path.clear();
    const std::string error = store.Execute("SELECT FileName FROM tblFile WHERE FileID = ?1;", {fileID});
    if (error.empty() && store.RecordCount() == 1) path = store.Field(0).AsText();
    return error;
}
