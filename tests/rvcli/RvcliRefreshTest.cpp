// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <nlohmann/json.hpp>

#include "rvcli/RvcliFixture.h"

namespace fs = std::filesystem;

namespace {

class Refresh : public Rvcli {
protected:
    void SetUp() override {
        Ok({"new", cat});
        Ok({"type", cat, "save", "Video", "--ext", "avi"});
        fs::create_directories(Path("in/sub"));
        folder.Write("in/a.avi", "first");
        folder.Write("in/gone.avi", "second one");
        Ok({"load", cat, Path("in"), "*.avi", "--recursive", "--crc"});
        fs::rename(Path("in/a.avi"), Path("in/sub/a.avi"));
        fs::remove(Path("in/gone.avi"));
        folder.Write("in/new.avi", "third");
        folder.Write("in/notes.txt", "not of a type");
    }
};

}  // namespace

TEST_F(Refresh, DryRunPrintsThePlanAndApplyCarriesOutTheChosenKinds) {
    const std::string in = Path("in/");
    const Ran plan = Run({"refresh", "c.rvd", "in", "--format", "csv"});
    EXPECT_EQ(plan.Status, 0) << plan.Err;
    EXPECT_EQ(plan.Out, "Kind,FileID,Path,New Path,Note\r\n"
                        "new,,," + in + "new.avi,\r\n"
                        "moved,1," + in + "a.avi," + in + "sub/a.avi,\r\n"
                        "missing,2," + in + "gone.avi,,\r\n");
    const std::string table = Ok({"refresh", cat, Path("in")});
    EXPECT_TRUE(table.starts_with("Kind     FileID  Path ")) << table;
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 4) << table;
    EXPECT_NE(plan.Err.find("1 new\n1 moved\n0 changed\n1 missing\n"), std::string::npos) << plan.Err;

    const auto json = nlohmann::json::parse(Ok({"refresh", cat, Path("in"), "--format", "json", "--kinds", "moved"}));
    ASSERT_EQ(json["Rows"].size(), 1u);
    EXPECT_EQ(json["Rows"][0]["NewPath"], in + "sub/a.avi");
    EXPECT_EQ(json["Counts"]["missing"], 1);

    EXPECT_EQ(Ok({"refresh", cat, Path("in"), "--apply", "--kinds", "new,moved"}),
              "2 rows applied\n0 rows skipped: they no longer held (see the log)\nLog: " + Path("config/reelvault/refresh.log") + "\n");
    EXPECT_EQ(Ok({"refresh", cat, Path("in"), "--format", "csv"}), "Kind,FileID,Path,New Path,Note\r\nmissing,2," + in + "gone.avi,,\r\n");
}

TEST_F(Refresh, WrongRequestsFailWithOneLine) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"refresh", cat, Path("in"), "--kinds", "unchanged"},
             {"refresh", cat},
             {"refresh", cat, "--drive", "NOSUCH"},
             {"refresh", cat, Path("nowhere")},
         }) {
        const Ran ran = Call(args);
        EXPECT_EQ(ran.Status, 1) << args.back() << ": " << ran.Err;
        EXPECT_EQ(ran.Out, "");
    }
}
