// SPDX-License-Identifier: GPL-3.0-or-later
// The media facts from the command line: written by load and add, read again by facts --refresh,
// shown as Media in list and search, and searched for with --fact.
#include <nlohmann/json.hpp>

#include "common/FactClips.h"
#include "rvcli/RvcliFixture.h"
#include "store/clsSQLite.h"

namespace {

class Facts : public Rvcli {
protected:
    void SetUp() override { Ok({"new", cat}); }
    nlohmann::json Json(const std::vector<std::string>& args) { return nlohmann::json::parse(Ok(args)); }
    std::vector<std::string> Names(const nlohmann::json& rows) {
        std::vector<std::string> names;
        for (const nlohmann::json& row : rows) names.push_back(std::filesystem::path(row["FileName"].get<std::string>()).filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    void Forget() {
        clsSQLite store;
        ASSERT_EQ(store.OpenDB(cat), "");
        ASSERT_EQ(store.Execute("DELETE FROM rvFileStream"), "");
        ASSERT_EQ(store.Execute("DELETE FROM rvFileMedia"), "");
    }
};

}  // namespace

TEST_F(Facts, LoadAddAndRefreshWriteThemAndSearchFindsByThem) {
    EXPECT_EQ(Run({"load", "c.rvd", FactClips().Root(), "*.mkv;*.mp4;*.ts;*.mp3", "--no-crc"}).Status, 0);
    EXPECT_EQ(Ok({"add", cat, FactClips().Path("small.avi")}), "8\n");  // after six clips and two damaged files
    const nlohmann::json all = Json({"facts", cat});
    EXPECT_EQ(Names(all), (std::vector<std::string>{"clip.ts", "cover.mp3", "film.mkv", "hd.mp4", "small.avi", "song.mp3"}));
    EXPECT_EQ(Names(Json({"search", cat, "--fact", "height", ">=", "1080", "--format", "json"})), (std::vector<std::string>{"hd.mp4"}));
    EXPECT_EQ(Names(Json({"search", cat, "--fact", "height", "<", "1080", "--fact", "audio_language", "=", "fre", "--format", "json"})),
              (std::vector<std::string>{"film.mkv"}));
    const nlohmann::json film = Json({"search", cat, "--fact", "subtitle_language", "=", "ger", "--format", "json"});
    ASSERT_EQ(film.size(), 1u);
    EXPECT_EQ(film[0]["Media"]["Video"]["Width"], 640);
    EXPECT_EQ(film[0]["Media"]["Audio"][0]["Language"], "fre");
    EXPECT_EQ(film[0]["Media"]["Subtitles"]["Count"], 2);
    EXPECT_EQ(film[0]["Media"]["Tags"]["Year"], 2004);
    for (const nlohmann::json& row : Json({"list", cat, "--format", "json"})) {
        const std::string name = row["FileName"];
        const bool damaged = name.ends_with("damaged.mp4") || name.ends_with("noise.mkv");
        EXPECT_EQ(row["Media"].is_null(), damaged) << row["FileName"];
    }

    // Records made before facts were kept get them from a refresh, and keep them as they were.
    Forget();
    EXPECT_EQ(Json({"facts", cat}).size(), 0u);
    const Ran refreshed = Run({"facts", "c.rvd", "--refresh"});
    EXPECT_EQ(refreshed.Status, 0) << refreshed.Err;
    // Every record's facts are written, or those of a file that is not media dropped.
    EXPECT_EQ(refreshed.Out.substr(0, refreshed.Out.find('\n')), "8 records' media facts read again");
    EXPECT_EQ(Json({"facts", cat}), all);
    const int hd = Json({"search", cat, "--name", "hd.mp4", "--format", "json"})[0]["FileID"];
    EXPECT_EQ(Json({"facts", cat, std::to_string(hd)})[0]["Media"]["Video"]["HDR"], true);
}

TEST_F(Facts, BadConditionsAreRefusedLikeOtherMistakes) {
    for (const auto& [args, said] :
         {std::pair{std::vector<std::string>{"--fact", "hieght", ">=", "1080"}, "No media fact named \"hieght\""},
          {{"--fact", "height", "=>", "1080"}, "Compare height with =, <, >, <= or >="},
          {{"--fact", "year", ">", "last"}, "must be a number"},
          {{"--fact", "video_codec", "<", "h264"}, "compared with = only"}}) {
        std::vector<std::string> command{"search", "c.rvd"};
        command.insert(command.end(), args.begin(), args.end());
        const Ran ran = Run(command);
        EXPECT_EQ(ran.Status, 1) << said;
        EXPECT_NE(ran.Err.find(said), std::string::npos) << ran.Err;
    }
    const Ran cut = Run({"search", "c.rvd", "--fact", "height", ">="});
    EXPECT_EQ(cut.Status, 1);
    EXPECT_NE(cut.Err.find("--fact takes three words"), std::string::npos) << cut.Err;
    EXPECT_NE(Run({"facts", "c.rvd", "9"}).Err.find("No record with FileID 9"), std::string::npos);
}
