// SPDX-License-Identifier: GPL-3.0-or-later
// The facts the probe reads, against ffprobe's own account of the same clips; their rows in the
// catalogue; and searching by them.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "analysis/modMediaInfo.h"
#include "common/FactClips.h"
#include "facts/FactRows.h"
#include "facts/FactSearch.h"
#include "facts/FactText.h"
#include "listing/modSearch.h"
#include "model/modCatalogue.h"
#include "store/modSchema.h"

namespace {

nlohmann::json Ffprobe(const std::string& path) {
    const std::string command = "ffprobe -v error -show_streams -show_format -of json '" + path + "'";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t count; pipe && (count = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, count);
    if (pipe) pclose(pipe);
    return nlohmann::json::parse(out);
}

// A tag in any letter case, from the container or else from its first sound track, as players look.
std::string Tag(const nlohmann::json& probed, const std::string& key) {
    const auto find = [&](const nlohmann::json& owner) -> std::string {
        if (!owner.contains("tags")) return {};
        for (const auto& [name, value] : owner["tags"].items()) {
            if (strcasecmp(name.c_str(), key.c_str()) == 0) return value.get<std::string>();
        }
        return {};
    };
    if (std::string value = find(probed["format"]); !value.empty()) return value;
    for (const nlohmann::json& stream : probed["streams"])
        if (stream["codec_type"] == "audio") return find(stream);
    return {};
}

double Rate(const std::string& fraction) {
    int num = 0, den = 0;
    return std::sscanf(fraction.c_str(), "%d/%d", &num, &den) == 2 && num > 0 && den > 0 ? double(num) / den : 0;
}

std::int64_t Number(const nlohmann::json& owner, const char* key) {
    return owner.contains(key) ? std::stoll(owner[key].get<std::string>()) : 0;
}

void ExpectSameAsFfprobe(const std::string& name) {
    SCOPED_TRACE(name);
    const MediaInfo info = GetMediaInfo(FactClips().Path(name));
    ASSERT_TRUE(info.IsMedia && info.Facts) << info.Reason;
    const MediaFacts& facts = *info.Facts;
    const nlohmann::json probed = Ffprobe(FactClips().Path(name));
    EXPECT_EQ(facts.Container, probed["format"]["format_name"]);
    std::vector<MediaStream> audio;
    std::vector<std::string> subtitles;
    bool video = false;
    for (const nlohmann::json& stream : probed["streams"]) {
        const std::string language = stream.contains("tags") && stream["tags"].contains("language") ? stream["tags"]["language"] : "";
        if (stream["codec_type"] == "audio")
            audio.push_back({stream["codec_name"], language, stream["channels"], std::stoi(stream["sample_rate"].get<std::string>())});
        if (stream["codec_type"] == "subtitle") subtitles.push_back(language);
        if (stream["codec_type"] != "video" || stream["disposition"]["attached_pic"] == 1 || video) continue;
        video = true;
        EXPECT_EQ(facts.VideoCodec, stream["codec_name"]);
        EXPECT_EQ(facts.Width, stream["width"]);
        EXPECT_EQ(facts.Height, stream["height"]);
        const double rate = Rate(stream["avg_frame_rate"]);
        EXPECT_NEAR(facts.FrameRate, rate > 0 ? rate : Rate(stream["r_frame_rate"]), 0.001);
        const std::int64_t bitRate = Number(stream, "bit_rate");
        EXPECT_EQ(facts.BitRate, bitRate > 0 ? bitRate : Number(probed["format"], "bit_rate"));
        const std::string transfer = stream.value("color_transfer", "");
        EXPECT_EQ(facts.HDR, transfer == "smpte2084" || transfer == "arib-std-b67");
    }
    if (!video) {
        EXPECT_EQ(facts.VideoCodec, "");
    }
    EXPECT_EQ(facts.Audio, audio);
    EXPECT_EQ(facts.SubtitleCount, static_cast<int>(subtitles.size()));
    for (std::size_t i = 0; i < subtitles.size() && i < facts.Subtitles.size(); ++i) EXPECT_EQ(facts.Subtitles[i].Language, subtitles[i]);
    for (const auto& [key, value] : {std::pair{"title", &facts.Title}, {"artist", &facts.Artist}, {"album", &facts.Album},
                                     {"date", &facts.Date}, {"comment", &facts.Comment}})
        EXPECT_EQ(*value, Tag(probed, key)) << key;
}

}  // namespace

TEST(MediaFacts, MatchFfprobeInEveryContainer) {
    for (const char* name : {"film.mkv", "hd.mp4", "small.avi", "clip.mov", "clip.ts", "song.mp3", "tone.ogg", "tone.flac", "cover.mp3"})
        ExpectSameAsFfprobe(name);
    // What the clips were made with, so that a comparison of two wrong readings cannot pass.
    const MediaFacts film = *GetMediaInfo(FactClips().Path("film.mkv")).Facts;
    EXPECT_EQ(film.AudioLanguages(), "fre, eng");
    EXPECT_EQ(film.Year(), 2004);
    EXPECT_EQ(film.SubtitleCount, 2);
    const MediaFacts hd = *GetMediaInfo(FactClips().Path("hd.mp4")).Facts;
    EXPECT_TRUE(hd.HDR);
    EXPECT_EQ(hd.Resolution(), "1920x1080");
    EXPECT_EQ(hd.Year(), 2010);
    EXPECT_EQ(GetMediaInfo(FactClips().Path("cover.mp3")).Facts->VideoCodec, "");  // a cover is no picture that moves
}

TEST(MediaFacts, DamagedFilesHaveNoneAndSayWhy) {
    for (const char* name : {"damaged.mp4", "noise.mkv"}) {
        const MediaInfo info = GetMediaInfo(FactClips().Path(name));
        EXPECT_FALSE(info.IsMedia) << name;
        EXPECT_FALSE(info.Facts) << name;
        EXPECT_NE(info.Reason, "") << name;
    }
}

TEST(MediaFacts, TextsForTheListAndTheMediaBox) {
    const MediaFacts film = *GetMediaInfo(FactClips().Path("film.mkv")).Facts;
    EXPECT_EQ(FactCellText(&film, ResolutionFact), "640x360");
    EXPECT_EQ(FactCellText(&film, VideoFact), "h264 25 fps");
    EXPECT_EQ(FactCellText(&film, AudioFact), "aac 2 ch (+1)");
    EXPECT_EQ(FactCellText(&film, LanguagesFact), "fre, eng");
    EXPECT_EQ(FactCellText(nullptr, YearFact), "");
    const MediaFacts hd = *GetMediaInfo(FactClips().Path("hd.mp4")).Facts;
    EXPECT_LT(FactSortKey(&film, ResolutionFact), FactSortKey(&hd, ResolutionFact));
    const std::string box = DescribeFacts(film);
    for (const char* line : {"Container: matroska,webm\n", "Audio 1: aac, 2 channels, 48000 Hz, fre\n", "Subtitles: 2 (eng, ger)\n",
                             "Title: Le film\n"})
        EXPECT_NE(box.find(line), std::string::npos) << line << " in " << box;
}

class FactStore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateNewDatabase(catalogue.Store, folder.Path("c.rvd")), "");
        ASSERT_EQ(catalogue.Reload(), "");
        ASSERT_TRUE(catalogue.OwnTables.Usable());
        for (const char* name : {"film.mkv", "hd.mp4", "song.mp3"}) {
            FileRecord record;
            record.FileName = FactClips().Path(name);
            const NewKey added = InsertFile(catalogue, record);
            ASSERT_EQ(added.Error, "");
            ASSERT_EQ(StoreFacts(catalogue.Store, added.ID, record.FileName, *GetMediaInfo(record.FileName).Facts), "");
        }
        ASSERT_EQ(catalogue.Reload(), "");
    }
    std::vector<int> Found(std::vector<FactCondition> facts) {
        SearchFields fields;
        fields.Facts = std::move(facts);
        const SearchResult result = RunSearch(catalogue, fields);
        EXPECT_EQ(result.Error, "");
        std::vector<int> ids;
        for (const FileRecord* record : result.Files) ids.push_back(record->FileID);
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    TempFolder folder;
    Catalogue catalogue;
};

TEST_F(FactStore, RowsComeBackWholeOnlyForTheirPathAndGoWithTheRecord) {
    std::string error;
    const std::optional<MediaFacts> read = ReadFactsOf(catalogue.Store, 1, FactClips().Path("film.mkv"), error);
    EXPECT_EQ(error, "");
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, *GetMediaInfo(FactClips().Path("film.mkv")).Facts);
    // Re-pointed by a program that knows only the seven tables: the facts are another file's.
    ASSERT_EQ(catalogue.Store.Execute("UPDATE tblFile SET FileName = '/elsewhere.mkv' WHERE FileID = 1"), "");
    EXPECT_FALSE(ReadFactsOf(catalogue.Store, 1, "/elsewhere.mkv", error));
    ASSERT_EQ(catalogue.Reload(), "");
    FactSet set;
    ASSERT_EQ(set.LoadFromDatabase(catalogue.Store, catalogue.Files), "");
    EXPECT_EQ(set.Count(), 2u);
    EXPECT_EQ(Found({{"width", ">", "0"}}), (std::vector<int>{2}));  // the sound alone has no width, the moved film no trust

    ASSERT_EQ(DeleteFile(catalogue, 2), "");
    ASSERT_EQ(catalogue.Store.Execute("SELECT count(*) FROM rvFileStream WHERE FileID = 2"), "");
    EXPECT_EQ(catalogue.Store.Field(0).AsInt(), 0);
    ASSERT_EQ(catalogue.Store.Execute("SELECT count(*) FROM rvFileMedia WHERE FileID = 2"), "");
    EXPECT_EQ(catalogue.Store.Field(0).AsInt(), 0);
}

TEST_F(FactStore, SearchesByEveryKindOfFact) {
    const std::vector<std::pair<std::vector<FactCondition>, std::vector<int>>> cases = {
        {{{"height", ">=", "1080"}}, {2}},
        {{{"height", "<", "1080"}}, {1}},
        {{{"audio_language", "=", "FRE"}}, {1}},
        {{{"audio_language", "=", "eng"}, {"video_codec", "=", "h264"}}, {1, 2}},
        {{{"audio_codec", "=", "mp3"}}, {3}},
        {{{"subtitle_language", "=", "ger"}}, {1}},
        {{{"year", "<=", "2004"}}, {1, 3}},
        {{{"artist", "=", "band"}}, {3}},
        {{{"hdr", "=", "1"}}, {2}},
        {{{"channels", ">=", "2"}}, {1}},
    };
    for (const auto& [facts, ids] : cases) EXPECT_EQ(Found(facts), ids) << facts[0].Name;
}

TEST(FactSearch, RefusesWhatItCannotSearchFor) {
    for (const auto& [condition, said] : {std::pair{FactCondition{"hieght", "=", "1"}, "No media fact named \"hieght\""},
                                          {{"height", "=>", "1"}, "Compare height with"},
                                          {{"height", ">=", "1080p"}, "must be a number"},
                                          {{"video_codec", ">", "h264"}, "compared with = only"}}) {
        EXPECT_NE(CheckFact(condition).find(said), std::string::npos) << CheckFact(condition);
        EXPECT_EQ(FactSQL(condition), "0");
    }
    EXPECT_EQ(CheckFact({"year", ">=", "1999"}), "");
}
