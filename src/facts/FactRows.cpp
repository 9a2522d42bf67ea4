// SPDX-License-Identifier: GPL-3.0-or-later
#include "facts/FactRows.h"

#include <chrono>
#include <vector>

#include "store/OwnTables.h"

namespace {

enum StreamKind { kAudio = 1, kSubtitle = 2 };

constexpr const char* kMediaColumns =
    "FileID, PathKey, Container, VideoCodec, Width, Height, FrameRate, BitRate, HDR, AudioCount, SubtitleCount, "
    "Title, Artist, Album, Date, Year, Comment";

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string StoreStreams(clsSQLite& store, int fileID, StreamKind kind, const std::vector<MediaStream>& streams) {
    for (std::size_t position = 0; position < streams.size(); ++position) {
        const MediaStream& stream = streams[position];
        if (std::string error = store.Execute(
                "INSERT INTO rvFileStream(FileID, Kind, Position, Codec, Language, Channels, SampleRate) "
                "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7);",
                {fileID, static_cast<int>(kind), static_cast<int>(position), stream.Codec, stream.Language,
                 stream.Channels, stream.SampleRate});
            !error.empty())
            return error;
    }
    return {};
}

// NULL would bind for an empty text; the columns are NOT NULL.
Cell Text(const std::string& text) { return Cell(std::string_view(text.empty() ? "" : text.c_str())); }

MediaFacts FromRow(const clsSQLite::Row& row) {
    MediaFacts facts;
    facts.Container = row.Text(2);
    facts.VideoCodec = row.Text(3);
    facts.Width = static_cast<int>(row.Int(4));
    facts.Height = static_cast<int>(row.Int(5));
    facts.FrameRate = row.Real(6);
    facts.BitRate = row.Int(7);
    facts.HDR = row.Int(8) != 0;
    facts.SubtitleCount = static_cast<int>(row.Int(10));
    facts.Title = row.Text(11);
    facts.Artist = row.Text(12);
    facts.Album = row.Text(13);
    facts.Date = row.Text(14);
    facts.Comment = row.Text(16);
    return facts;
}

// The streams of the rows read, in order, added to their facts.
std::string AddStreams(clsSQLite& store, const std::string& where, std::unordered_map<int, MediaFacts>& rows) {
    return store.Query("SELECT FileID, Kind, Codec, Language, Channels, SampleRate FROM rvFileStream " + where +
                           " ORDER BY FileID, Kind, Position;",
                       [&](const clsSQLite::Row& row) {
                           const auto facts = rows.find(static_cast<int>(row.Int(0)));
                           if (facts == rows.end()) return;
                           MediaStream stream{std::string(row.Text(2)), std::string(row.Text(3)),
                                              static_cast<int>(row.Int(4)), static_cast<int>(row.Int(5))};
                           (row.Int(1) == kAudio ? facts->second.Audio : facts->second.Subtitles).push_back(std::move(stream));
                       });
}

}  // namespace

std::string StoreFacts(clsSQLite& store, int fileID, const std::string& path, const MediaFacts& facts) {
    if (std::string error = ForgetFacts(store, fileID); !error.empty()) return error;
    if (std::string error = store.Execute(
            "INSERT INTO rvFileMedia(" + std::string(kMediaColumns) +
                ", ReadAt) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18);",
            {fileID, PathKey(path), Text(facts.Container), Text(facts.VideoCodec), facts.Width, facts.Height,
             facts.FrameRate, facts.BitRate, facts.HDR ? 1 : 0, static_cast<int>(facts.Audio.size()), facts.SubtitleCount,
             Text(facts.Title), Text(facts.Artist), Text(facts.Album), Text(facts.Date), facts.Year(),
             Text(facts.Comment), Now()});
        !error.empty())
        return error;
    if (std::string error = StoreStreams(store, fileID, kAudio, facts.Audio); !error.empty()) return error;
    return StoreStreams(store, fileID, kSubtitle, facts.Subtitles);
}

std::string ForgetFacts(clsSQLite& store, int fileID) {
    if (std::string error = store.Execute("DELETE FROM rvFileStream WHERE FileID = ?1;", {fileID}); !error.empty())
        return error;
    return store.Execute("DELETE FROM rvFileMedia WHERE FileID = ?1;", {fileID});
}

std::string KeepFacts(clsSQLite& store, bool ownTablesUsable, int fileID, const std::string& path,
                      const std::optional<MediaFacts>& facts) {
    if (!ownTablesUsable || store.ReadOnly()) return {};
    return facts ? StoreFacts(store, fileID, path, *facts) : ForgetFacts(store, fileID);
}

std::optional<MediaFacts> ReadFactsOf(clsSQLite& store, int fileID, const std::string& path, std::string& error) {
    error.clear();
    if (!store.DBOpen() || !ReadOwnTables(store).Usable()) return std::nullopt;
    std::unordered_map<int, MediaFacts> rows;
    const std::string where = " WHERE FileID = " + std::to_string(fileID);
    const std::int64_t key = PathKey(path);
    error = store.Query("SELECT " + std::string(kMediaColumns) + " FROM rvFileMedia" + where + ";",
                        [&](const clsSQLite::Row& row) {
                            if (row.Int(1) == key) rows.emplace(fileID, FromRow(row));
                        });
    if (error.empty() && !rows.empty()) error = AddStreams(store, where, rows);
    if (!error.empty() || rows.empty()) return std::nullopt;
    return std::move(rows.begin()->second);
}

std::string FactSet::LoadFromDatabase(clsSQLite& store, const clsFile& files) {
    rows_.clear();
    if (!store.DBOpen() || !ReadOwnTables(store).Usable()) return {};
    std::unordered_map<int, std::int64_t> keys;
    keys.reserve(files.Records().size());
    for (const FileRecord& record : files.Records()) keys.emplace(record.FileID, PathKey(record.FileName));
    std::string error = store.Query(
        "SELECT " + std::string(kMediaColumns) + " FROM rvFileMedia;", [&](const clsSQLite::Row& row) {
            const auto key = keys.find(static_cast<int>(row.Int(0)));
            if (key != keys.end() && key->second == row.Int(1)) rows_[key->first] = FromRow(row);
        });
    if (error.empty()) error = AddStreams(store, "", rows_);
    if (!error.empty()) rows_.clear();
    return error;
}

const MediaFacts* FactSet::Of(int fileID) const {
    const auto found = rows_.find(fileID);
    return found == rows_.end() ? nullptr : &found->second;
}

void FactSet::Remember(int fileID, std::optional<MediaFacts> facts) {
    if (facts) rows_[fileID] = std::move(*facts);
    else rows_.erase(fileID);
}
