// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/Verify.h"

#include <sys/stat.h>

#include <fstream>

#include "identity/ContentsFixture.h"
#include "identity/LabelledDrive.h"

namespace {

class VerifyTest : public ContentsTest {
protected:
    VerifyReport Run(const VerifyRequest& request = {}) {
        Reload();
        return Verify(catalogue, request, host);
    }
    std::vector<std::string> Found(const VerifyReport& report, VerifyStatus status) {
        std::vector<std::string> paths;
        for (const VerifyFinding& finding : report.Findings) {
            if (finding.Status == status) paths.push_back(finding.Path);
        }
        return paths;
    }
    bool Logged(const std::string& line) { return Log("verify.log").find(line + "\n") != std::string::npos; }
};

// Stops the run by unplugging the drive once the run reaches the file named.
class UnpluggingHost : public RecordingHost {
public:
    UnpluggingHost(LabelledDrive& drive, std::string at) : drive_(drive), at_(std::move(at)) {}
    bool Progress(std::int64_t done, std::int64_t total, const std::string& current) override {
        if (current == at_) drive_.Unplug();
        return RecordingHost::Progress(done, total, current);
    }

private:
    LabelledDrive& drive_;
    std::string at_;
};

}  // namespace

TEST_F(VerifyTest, TellsDamageFromEditsAndNeverCallsWhatWasNotHashedDamaged) {
    for (const char* name : {"damaged", "edited", "restored", "touched", "gone", "same", "pipe"})
        Make(name, std::string("the file ") + name);
    ASSERT_EQ(Load(media).Changed, 7);
    // One flipped byte, the time put back: what decay or a bad copy leaves.
    folder.Write("media/time", "");
    SameTimeAs(media + "time", media + "damaged");
    folder.Write("media/damaged", "the filE damaged");
    SameTimeAs(media + "damaged", media + "time");
    std::filesystem::remove(media + "time");
    std::ofstream(media + "edited", std::ios::app) << " and more";
    // Another version put back with its own, earlier time: not newer, and still no damage.
    folder.Write("media/restored", "the file RESTORED");
    const timespec earlier[2] = {{0, UTIME_OMIT}, {1'000'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (media + "restored").c_str(), earlier, 0), 0);
    const timespec later[2] = {{0, UTIME_OMIT}, {1'900'000'000, 7}};
    ASSERT_EQ(utimensat(AT_FDCWD, (media + "touched").c_str(), later, 0), 0);
    std::filesystem::remove(media + "gone");
    std::filesystem::remove(media + "pipe");
    ASSERT_EQ(mkfifo((media + "pipe").c_str(), 0600), 0);  // a special file where a film was
    // Records another program made: no hash, and a CRC that matches the file or does not.
    Make("older", "made by an older version");
    Make("older edited", "edited since an older version catalogued it");
    ASSERT_EQ(InsertFile(catalogue, {-1, media + "older", "", -1, -1, "", 0, 0, "", 0, {}, -1}).Error, "");
    ASSERT_EQ(InsertFile(catalogue, {-1, media + "older edited", "", -1, -1, "1234ABCD", 0, 0, "", 0, {}, -1}).Error, "");

    const VerifyReport report = Run();
    EXPECT_EQ(report.Result.Error, "");
    EXPECT_EQ(Found(report, VerifyStatus::Damaged), std::vector<std::string>{media + "damaged"});
    EXPECT_EQ(Found(report, VerifyStatus::Changed), (std::vector<std::string>{media + "edited", media + "restored"}));
    EXPECT_EQ(VerifyTotals(report), "1 damaged, 2 changed, 1 missing, 1 unreadable, 1 touched, 2 first seen, 1 unchanged");
    EXPECT_TRUE(Logged("Damaged " + media + "damaged: other contents with the size and time it was hashed with"));
    EXPECT_TRUE(Logged("Missing " + media + "gone"));
    EXPECT_TRUE(Logged("Could not read " + media + "pipe: Not a regular file"));
    EXPECT_TRUE(Logged("First seen " + media + "older edited; its CRC is " + CalculateFileCRC(media + "older edited").Text +
                       ", the record's 1234ABCD"));
    EXPECT_EQ(host.shownLogs.back(), report.Result.LogPath);
    // The damaged file's hash stays as it was; the touched one's new time is kept.
    EXPECT_EQ(Hash(media + "damaged")->Hash, HashOfBytes(std::span(reinterpret_cast<const unsigned char*>("the file damaged"), 16)));
    EXPECT_EQ(Hash(media + "touched")->Stamp.MTimeNs, 1'900'000'000'000'000'007);
    EXPECT_GT(Hash(media + "same")->VerifiedAt, 0);

    // Once hashed, the files of older versions are judged like the others; the user takes the edit.
    Reload();
    const ToolResult accepted = AcceptContents(catalogue, report.Findings, host);
    EXPECT_EQ(accepted.Changed, 3);
    Reload();
    ASSERT_TRUE(catalogue.Files.GotoFileName(media + "edited"));
    EXPECT_EQ(catalogue.Files.Size(), 24);
    EXPECT_EQ(catalogue.Files.CRC(), CalculateFileCRC(media + "edited").Text);
    const VerifyReport again = Run();
    EXPECT_EQ(again.Count(VerifyStatus::Unchanged), 7);
    EXPECT_EQ(again.Count(VerifyStatus::FirstSeen), 0);
    // Files read or hashed within the last day are left out when only older ones are asked for.
    EXPECT_EQ(Run({std::nullopt, 1}).NotDue, 9);
}

TEST_F(VerifyTest, ADriveUnpluggedDuringTheRunStopsItAndWhatWasVerifiedStays) {
    LabelledDrive drive(folder, "FILMS", "0b6f7c1e-3333-4a2b-9c3d-5e6f7a8b9c0d");
    if (!drive.SkipReason().empty()) GTEST_SKIP() << drive.SkipReason();
    for (const char* name : {"a.mkv", "b.mkv", "c.mkv"}) folder.Write(std::string("FILMS/") + name, name);
    ASSERT_EQ(Load(drive.Path()).Changed, 3);
    Reload();
    UnpluggingHost unplugging(drive, drive.Path("b.mkv"));
    const VerifyReport report = Verify(catalogue, {}, unplugging);
    EXPECT_EQ(report.Result.Error, "The drive FILMS was unplugged during the verify, which stopped at " + drive.Path("b.mkv") +
                                       "; what was verified until then is recorded");
    EXPECT_EQ(report.Count(VerifyStatus::Unchanged), 1);
    EXPECT_EQ(report.Count(VerifyStatus::Missing), 0);
    EXPECT_TRUE(Logged("Stopped: " + report.Result.Error));
    ASSERT_TRUE(drive.PlugIn());
    EXPECT_GT(Hash(drive.Path("a.mkv"))->VerifiedAt, 0);
    EXPECT_EQ(Hash(drive.Path("b.mkv"))->VerifiedAt, 0);
    EXPECT_EQ(Rows(), 3);
}

TEST_F(VerifyTest, HashesLostWithTheirTableAreMadeAgainAsTheFilesAreRead) {
    Make("a.mkv", "one film");
    Make("b.mkv", "another film");
    ASSERT_EQ(Load(media).Changed, 2);
    Ask("DROP TABLE rvFileHash;");  // another program, or a broken copy
    const VerifyReport report = Run();
    EXPECT_EQ(report.Result.Error, "");
    EXPECT_EQ(report.Count(VerifyStatus::FirstSeen), 2);
    EXPECT_EQ(report.Count(VerifyStatus::Damaged), 0);
    EXPECT_TRUE(Logged("Reelvault's own tables in this catalogue were damaged and have been made anew: drives are found "
                       "again from the paths, and hashes as the files are read again"));
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Run().Count(VerifyStatus::Unchanged), 2);
}
