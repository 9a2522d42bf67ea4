// SPDX-License-Identifier: GPL-3.0-or-later
// Duplicates and single copies over two real drives, plugged in and not.
#include "identity/ContentsFixture.h"
#include "identity/Duplicates.h"
#include "identity/LabelledDrive.h"
#include "identity/SingleCopies.h"
#include "identity/Verify.h"

namespace {

class ContentGroupsTest : public ContentsTest {
protected:
    void SetUp() override {
        ContentsTest::SetUp();
        for (LabelledDrive* drive : {&films, &backup}) {
            if (!drive->SkipReason().empty()) GTEST_SKIP() << drive->SkipReason();
        }
    }
    std::vector<std::string> Paths(const std::vector<Copy>& copies) {
        std::vector<std::string> paths;
        for (const Copy& copy : copies) paths.push_back(copy.FileName);
        return paths;
    }
    std::vector<std::string> Paths(const SingleCopyReport& report) {
        std::vector<std::string> paths;
        for (const SingleCopy& single : report.Copies) paths.push_back(single.Of.FileName);
        return paths;
    }

    LabelledDrive films{folder, "FILMS", "0b6f7c1e-1111-4a2b-9c3d-5e6f7a8b9c0d"};
    LabelledDrive backup{folder, "BACKUP", "0b6f7c1e-2222-4a2b-9c3d-5e6f7a8b9c0d"};
};

}  // namespace

TEST_F(ContentGroupsTest, DuplicatesAcrossDrivesAndSingleCopiesStayKnownWhileADriveIsAway) {
    const std::string big(3000, 'b'), small(1000, 's');
    folder.Write("FILMS/big.mkv", big);
    folder.Write("FILMS/small.mkv", small);
    folder.Write("FILMS/only here.mkv", "on FILMS alone");
    folder.Write("BACKUP/big.mkv", big);
    folder.Write("BACKUP/small.mkv", small);
    folder.Write("BACKUP/only there.mkv", "on BACKUP alone");
    ASSERT_EQ(Load(films.Path()).Changed, 3);
    ASSERT_EQ(Load(backup.Path()).Changed, 1);  // two of BACKUP's files are copies of FILMS'
    // Records of the copies, as a catalogue has them when they were added by hand or by an older load.
    std::filesystem::create_directories(films.Path("sub"));
    folder.Write("FILMS/big again.mkv", big);
    folder.Write("FILMS/twice.mkv", "twice on FILMS");
    folder.Write("FILMS/sub/twice.mkv", "twice on FILMS");
    for (const std::string& path : {backup.Path("big.mkv"), backup.Path("small.mkv"), films.Path("big again.mkv"),
                                    films.Path("twice.mkv"), films.Path("sub/twice.mkv")})
        AddCopy(path);
    Reload();
    const Drive* onFilms = catalogue.Drives.ByName("FILMS");
    const Drive* onBackup = catalogue.Drives.ByName("BACKUP");
    ASSERT_TRUE(onFilms && onBackup);

    const DuplicateReport duplicates = FindDuplicates(catalogue.Store);
    ASSERT_EQ(duplicates.Groups.size(), 3u);
    const ContentGroup& first = duplicates.Groups[0];  // the biggest waste: two extra copies of 3000 bytes
    EXPECT_EQ(first.Hash, Hash(films.Path("big.mkv"))->Hash);
    EXPECT_EQ(Paths(first.Copies), (std::vector<std::string>{backup.Path("big.mkv"), films.Path("big again.mkv"),
                                                             films.Path("big.mkv")}));
    EXPECT_EQ(first.Copies[0].DriveID, onBackup->DriveID);
    EXPECT_EQ(first.Copies[1].DriveID, onFilms->DriveID);
    EXPECT_EQ(Paths(duplicates.Groups[1].Copies), (std::vector<std::string>{backup.Path("small.mkv"), films.Path("small.mkv")}));
    EXPECT_EQ(duplicates.Waste, 6000 + 1000 + 14);
    EXPECT_EQ(DuplicateTotals(duplicates), "3 groups, 6.8 KiB in extra copies");
    EXPECT_EQ(duplicates.NotHashed, 0);

    // Two copies on one drive are still that drive's loss, counted once.
    const SingleCopyReport singles = FindSingleCopies(catalogue.Store);
    EXPECT_EQ(Paths(singles), (std::vector<std::string>{films.Path("only here.mkv"), films.Path("sub/twice.mkv"),
                                                        films.Path("twice.mkv"), backup.Path("only there.mkv")}));
    EXPECT_EQ(SingleCopyTotals(singles), "4 records on one drive only, 43 bytes");
    EXPECT_EQ(Paths(FindSingleCopies(catalogue.Store, onBackup->DriveID)), std::vector<std::string>{backup.Path("only there.mkv")});

    // Away, BACKUP keeps its records' hashes through a verify, a load and the next look.
    ASSERT_TRUE(backup.Unplug());
    Reload();
    ASSERT_TRUE(catalogue.Drives.Unplugged(onBackup->DriveID));
    const VerifyReport verified = Verify(catalogue, {}, host);
    EXPECT_EQ(verified.Result.Error, "");
    EXPECT_EQ(verified.Count(VerifyStatus::DriveAway), 3);
    EXPECT_EQ(verified.Count(VerifyStatus::Unchanged), 6);
    Load(films.Path(), true);
    EXPECT_EQ(Rows(), 9);
    const DuplicateReport stillThere = FindDuplicates(catalogue.Store);
    ASSERT_EQ(stillThere.Groups.size(), 3u);
    EXPECT_EQ(stillThere.Groups[0].Copies[0].DriveID, onBackup->DriveID);
    EXPECT_EQ(Paths(FindSingleCopies(catalogue.Store, onBackup->DriveID)), std::vector<std::string>{backup.Path("only there.mkv")});
}
