// SPDX-License-Identifier: GPL-3.0-or-later
// rvcli on a real drive that goes away and comes back elsewhere.
#include <filesystem>
#include <nlohmann/json.hpp>

#include "common/LoopDrive.h"
#include "rvcli/RvcliFixture.h"

namespace {

class Drives : public Rvcli {
protected:
    void SetUp() override {
        if (!drive.Mount(place)) GTEST_SKIP() << drive.Skip();
        for (const char* name : {"a.avi", "b.avi", "c.avi"}) folder.Write(std::string("FILMS/") + name, name);
        Ok({"new", cat});
        Ok({"load", cat, place, "*.avi", "--no-crc"});
    }
    nlohmann::json Json(const std::vector<std::string>& args) { return nlohmann::json::parse(Ok(args)); }

    std::string place = Path("FILMS");
    LoopDrive drive{Path("films.img"), "5e1c0a2b-0031-4a2b-9c3d-5e6f7a8b9c0d", "FILMS"};
};

}  // namespace

TEST_F(Drives, AnUnpluggedDriveIsBrowsableAndKeptAndAMovedOneIsRepointed) {
    nlohmann::json drives = Json({"drives", cat, "--format", "json"});
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0]["Name"], "FILMS");
    EXPECT_EQ(drives[0]["Identity"], "uuid:5e1c0a2b-0031-4a2b-9c3d-5e6f7a8b9c0d");
    EXPECT_EQ(drives[0]["PluggedIn"], true);
    EXPECT_EQ(drives[0]["Records"], 3);

    drive.Unmount();
    EXPECT_EQ(Run({"remove-missing", "c.rvd"}).Out, "0 records of missing files deleted\n"
                                                    "3 records kept: their drive is not plugged in\n"
                                                    "0 records kept: their folder is out of reach\n"
                                                    "Log: " + Path("config/reelvault/delete.log") + "\n");
    const nlohmann::json away = Json({"list", cat, "--not-plugged-in", "--format", "json"});
    ASSERT_EQ(away.size(), 3u);
    EXPECT_EQ(away[1]["Drive"], "FILMS");
    EXPECT_EQ(Json({"search", cat, "--drive", "FILMS", "--name", "b.", "--format", "json"}).size(), 1u);
    EXPECT_EQ(Json({"list", cat, "--plugged-in", "--format", "json"}).size(), 0u);
    EXPECT_EQ(Call({"drive", cat, "rebind", "FILMS"}), (Ran{1, "", "The drive FILMS is not plugged in\n"}));

    const std::string elsewhere = Path("media/FILMS 1");
    ASSERT_TRUE(drive.Mount(elsewhere));
    const Ran listed = Call({"drives", cat});
    EXPECT_NE(listed.Err.find("FILMS is mounted at " + elsewhere + ": re-point its 3 records"), std::string::npos) << listed.Err;
    EXPECT_EQ(Run({"drive", "c.rvd", "rebind", "FILMS"}).Out,
              "3 records re-pointed\nLog: " + Path("config/reelvault/rebind.log") + "\n");
    EXPECT_EQ(Json({"list", cat, "--format", "json"})[0]["FileName"], elsewhere + "/a.avi");

    Ok({"drive", cat, "rename", "FILMS", "Old films"});
    EXPECT_EQ(Call({"drive", cat, "forget", "Old films"}),
              (Ran{1, "", "Forgetting Old films deletes its 3 records from the catalogue (not the files); add --yes to do it\n"}));
    EXPECT_EQ(Ok({"drive", cat, "forget", "Old films", "--yes"}), "3 records deleted\n");
    EXPECT_EQ(Json({"drives", cat, "--format", "json"}).size(), 0u);
}
