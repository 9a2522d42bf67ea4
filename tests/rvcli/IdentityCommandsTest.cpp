// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "rvcli/RvcliFixture.h"

namespace {

class Identity : public Rvcli {
protected:
    void SetUp() override {
        Ok({"new", cat});
        std::filesystem::create_directories(Path("one"));
        std::filesystem::create_directories(Path("two"));
        folder.Write("one/film.avi", "the film");
        folder.Write("two/film copy.avi", "the film");
        folder.Write("one/alone.avi", "only one of these");
    }
    // Other contents of the same size, with the time put back: damage no tool meant.
    void Damage(const std::string& name, const std::string& contents) {
        struct stat info {};
        ASSERT_EQ(stat(Path(name).c_str(), &info), 0);
        folder.Write(name, contents);
        const timespec times[2] = {info.st_atim, info.st_mtim};
        ASSERT_EQ(utimensat(AT_FDCWD, Path(name).c_str(), times, 0), 0);
    }
};

}  // namespace

// Loaded without CRCs, as an older version would have: nothing is hashed until verify reads it.
TEST_F(Identity, VerifyHashesAndExitsOneOnDamageAndTheListsComeInEveryFormat) {
    Ok({"load", cat, Path("one"), "*", "--no-crc"});
    Ok({"load", cat, Path("two"), "*", "--no-crc"});
    EXPECT_EQ(Call({"duplicates", cat}).Err, "0 groups, 0 bytes in extra copies\n3 records are not hashed yet and left out: "
                                             "rvcli verify hashes them\n");
    const std::string log = Path("config/reelvault/verify.log");
    EXPECT_EQ(Call({"verify", cat}), (Ran{0, "3 first seen\nLog: " + log + "\n", ""}));

    const nlohmann::json groups = nlohmann::json::parse(Ok({"duplicates", cat, "--format", "json"}));
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0]["Size"], 8);
    EXPECT_EQ(groups[0]["Waste"], 8);
    ASSERT_EQ(groups[0]["Copies"].size(), 2u);
    EXPECT_EQ(groups[0]["Copies"][0]["FileName"], Path("one/film.avi"));
    EXPECT_EQ(groups[0]["Copies"][1]["FileName"], Path("two/film copy.avi"));
    EXPECT_EQ(groups[0]["Copies"][1]["PluggedIn"], true);
    const std::string csv = Ok({"duplicates", cat, "--format", "csv"});
    EXPECT_TRUE(csv.starts_with("Group,Size,Hash,Drive,Plugged In,FileID,File Name\r\n1,8,")) << csv;
    EXPECT_EQ(Call({"duplicates", cat}).Err, "1 group, 8 bytes in extra copies\n");
    const Ran singles = Call({"single-copies", cat, "--format", "json"});
    EXPECT_EQ(singles.Err, "3 records on one drive only, 25 bytes\n");  // the folders lie on one drive
    EXPECT_EQ(nlohmann::json::parse(singles.Out)[0]["FileName"], Path("one/alone.avi"));

    Damage("one/alone.avi", "ONLY one of these");
    const std::string damaged = "1 file is damaged: see " + log + "\n";
    EXPECT_EQ(Run({"verify", "c.rvd"}), (Ran{1, "1 damaged, 2 unchanged\nLog: " + log + "\n", damaged}));
    EXPECT_NE(folder.Read("config/reelvault/verify.log").find("Damaged " + Path("one/alone.avi")), std::string::npos);
    EXPECT_EQ(Call({"verify", cat}).Status, 1);  // the stored hash stays until the user says otherwise
    EXPECT_EQ(Call({"verify", cat, "--accept-damaged"}),
              (Ran{1, "1 damaged, 2 unchanged\n1 records updated to their files' contents\nLog: " + log + "\n", damaged}));
    EXPECT_EQ(Call({"verify", cat, "--older-than", "0"}).Status, 0);
    EXPECT_EQ(Call({"verify", cat, "--older-than", "1"}).Out, "No file verified\n3 verified within 1 days, left out\nLog: " + log + "\n");
}
