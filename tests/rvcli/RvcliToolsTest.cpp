// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <nlohmann/json.hpp>

#include "analysis/media/MediaProbeAbi.h"
#include "rvcli/RvcliFixture.h"

namespace {

// A second of silence: 8000 samples of 8-bit mono sound at 8 kHz.
std::string Wave() {
    const auto number = [](std::uint32_t value, int bytes) {
        std::string text;
        for (int i = 0; i < bytes; ++i) text += static_cast<char>(value >> (8 * i) & 0xFF);
        return text;
    };
    return "RIFF" + number(36 + 8000, 4) + "WAVEfmt " + number(16, 4) + number(1, 2) + number(1, 2) + number(8000, 4) +
           number(8000, 4) + number(1, 2) + number(8, 2) + "data" + number(8000, 4) + std::string(8000, '\x80');
}

class Tools : public Rvcli {
protected:
    void SetUp() override {
        Ok({"new", cat});
        Ok({"type", cat, "save", "Video", "--ext", "avi"});
        for (const char* name : {"in/a.avi", "in/b.AVI", "in/sub/c.avi", "in/notes.txt"}) Make(name, name);
    }
    void Make(const std::string& name, const std::string& contents) {
        std::filesystem::create_directories(std::filesystem::path(Path(name)).parent_path());
        folder.Write(name, contents);
    }
    std::string Log(const std::string& name) { return "Log: " + Path("config/reelvault/" + name) + "\n"; }
};

}  // namespace

TEST_F(Tools, LoadAndTheMaintenanceToolsPrintTheirTotals) {
    const std::string added = "0 possible duplicates not added\n0 files could not be read\n" + Log("load.log");
    EXPECT_EQ(Run({"load", "c.rvd", "in", "*.avi", "--crc"}).Out, "2 files added\n" + added);
    Make("in/copy.avi", "in/a.avi");  // the same contents as a.avi
    EXPECT_EQ(Ok({"load", cat, Path("in/"), "*.AVI;*.txt", "--recursive", "--crc"}),
              "2 files added\n3 possible duplicates not added\n0 files could not be read\n" + Log("load.log"));

    std::filesystem::rename(Path("in/sub"), Path("elsewhere"));
    EXPECT_EQ(Run({"detect-moved", "c.rvd", "elsewhere"}).Out,
              "1 records re-pointed\n0 records not moved: see the log\n" + Log("move.log"));
    std::filesystem::remove(Path("in/notes.txt"));
    EXPECT_EQ(Run({"remove-missing", "c.rvd"}).Out, "1 records of missing files deleted\n"
                                                    "0 records kept: their drive is not plugged in\n"
                                                    "0 records kept: their folder is out of reach\n" + Log("delete.log"));
    Ok({"type", cat, "save", "Video", "--ext", "mpg"});
    Ok({"type", cat, "save", "Clips", "--ext", "avi"});
    EXPECT_EQ(Run({"detect-types", "c.rvd"}).Out, "3 records given a new file type\n");
    EXPECT_EQ(Run({"replace", "c.rvd", Path("in/"), Path("out/")}).Out, "2 records changed\n");
    const nlohmann::json found = nlohmann::json::parse(Ok({"search", cat, "--type", "Clips", "--format", "json"}));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0]["FileName"], Path("out/a.avi"));
    EXPECT_EQ(found[1]["FileName"], Path("out/b.AVI"));
    EXPECT_EQ(found[2]["FileName"], Path("elsewhere/c.avi"));
}

TEST_F(Tools, CtrlCCancelsCleanlyAndSaysSo) {
    EXPECT_EQ(Run({"load", "c.rvd", "in", "*", "--recursive"}, true),
              (Ran{1, "0 files added\n0 possible duplicates not added\n0 files could not be read\n" + Log("load.log"),
                   "Cancelled; what was done before stays done\n"}));
    EXPECT_EQ(Ok({"list", cat, "--format", "json"}), "[]\n");
    EXPECT_EQ(Run({"crc", "in/a.avi"}, true), (Ran{1, "", "Cancelled: in/a.avi\n"}));
}

TEST_F(Tools, CrcAndInfoReadFilesWithoutACatalogue) {
    folder.Write("digits", "123456789");
    folder.Write("empty", "");
    folder.Write("tone.wav", Wave());
    Make("clip.avi", std::string("RIFF\0\0\0\0AVI LIST\0\0\0\0hdrlavih\0\0\0\0vidsDIVX", 40));
    EXPECT_EQ(Run({"crc", "digits", Path("empty")}).Out, "CBF43926  digits\n0  " + Path("empty") + "\n");
    const std::string info = Run({"info", "tone.wav", "clip.avi"}).Out;
    EXPECT_EQ(info.substr(0, info.find("CRC:")), "File: tone.wav\nSize (bytes): 8044\nLength (ms): 1000\nFourCC: \nMedia: yes\n");
    EXPECT_NE(info.find("File: clip.avi\nSize (bytes): 40\nLength (ms): 0\nFourCC: DIVX\nMedia: no\nCRC: "), std::string::npos);
    EXPECT_EQ(Ok({"add", cat, Path("tone.wav"), "--crc"}), "1\n");
    EXPECT_EQ(Ok({"add", cat, Path("clip.avi")}), "2\n");
    const nlohmann::json tone = nlohmann::json::parse(Ok({"search", cat, "--length", "=", "1000", "--format", "json"}));
    ASSERT_EQ(tone.size(), 1u);
    EXPECT_EQ(tone[0]["Size"], 8044);
    EXPECT_NE(tone[0]["CRC"], "");
    const nlohmann::json clip = nlohmann::json::parse(Ok({"search", cat, "--fourcc", "div", "--format", "json"}));
    ASSERT_EQ(clip.size(), 1u);
    EXPECT_EQ(clip[0]["FileID"], 2);
    EXPECT_EQ(clip[0]["Type"], "Video");
}

// FFmpeg missing, or a media module left from another build: everything but the media facts works,
// the files are simply not media, and the reason is given once per run and in the load log.
TEST_F(Tools, WithoutTheMediaModuleFilesAreCataloguedWithoutMediaFacts) {
    Make("in/tone.wav", Wave());
    const std::string missing = Path("missing.so");
    const std::string unavailable =
        "Media facts unavailable: " + missing + ": cannot open shared object file: No such file or directory";
    Ran load, info, crc;
    {
        const ScopedEnv module("RV_MEDIA_MODULE", missing);  // only the processes below see it
        load = Run({"load", "c.rvd", "in", "*.wav;*.avi", "--recursive", "--crc"});
        info = Run({"info", "in/tone.wav", "in/a.avi"});
        crc = Run({"crc", "in/tone.wav"});
    }
    const ScopedEnv stale("RV_MEDIA_MODULE", STALE_MEDIA_MODULE);
    EXPECT_EQ(Run({"info", "in/tone.wav"}).Err, std::string("Media facts unavailable: ") + STALE_MEDIA_MODULE +
                                                    " is version 0 of the media module; this program needs version " +
                                                    std::to_string(RV_MEDIA_PROBE_VERSION) + "\n");

    EXPECT_EQ(load, (Ran{0, "4 files added\n0 possible duplicates not added\n0 files could not be read\n" + Log("load.log"),
                         unavailable + "\n"}));
    EXPECT_NE(folder.Read("config/reelvault/load.log").find("No media facts for " + Path("in/tone.wav") + ". " + unavailable),
              std::string::npos);
    EXPECT_EQ(info.Err, unavailable + "\n");
    EXPECT_NE(info.Out.find("Length (ms): 0\nFourCC: \nMedia: no\nCRC: "), std::string::npos);
    EXPECT_EQ(crc, (Ran{0, Ok({"crc", Path("in/tone.wav")}).substr(0, 8) + "  in/tone.wav\n", ""}));
    const nlohmann::json files = nlohmann::json::parse(Ok({"search", cat, "--format", "json"}));
    ASSERT_EQ(files.size(), 4u);
    for (const auto& file : files) {
        EXPECT_EQ(file["Length"], 0) << file["FileName"];
        EXPECT_EQ(file["FourCC"], "") << file["FileName"];
        EXPECT_EQ(file["CRC"].get<std::string>().size(), 8u) << file["FileName"];
    }
}
