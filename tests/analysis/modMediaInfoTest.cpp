// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modMediaInfo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "common/TempFolder.h"

namespace {

// Made once per test program by the ffmpeg command: 2.5 s of sound and a moving test picture in
// the common containers, and pictures that are not media.
const TempFolder& Media() {
    static const std::unique_ptr<TempFolder> folder = [] {
        auto made = std::make_unique<TempFolder>();
        const std::string command =
            "cd '" + made->Root() + "' && ffmpeg -hide_banner -loglevel error -y"
            " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=2.5"
            " -f lavfi -i testsrc=size=160x120:rate=25:duration=2.5"
            " -f lavfi -i anoisesrc=d=1.25:a=0.5:r=44100,apad=whole_dur=2.5"
            " -map 0:a -c:a pcm_s16le tone.wav"
            " -map 0:a -c:a libmp3lame -b:a 128k cbr.mp3"
            " -map 2:a -c:a libmp3lame -q:a 2 -write_xing 0 vbr_noxing.mp3"
            " -map 1:v -map 0:a -c:v mpeg4 -vtag DIVX -q:v 5 -c:a libmp3lame divx.avi"
            " -map 1:v -map 0:a -c:v libxvid -vtag XVID -q:v 5 -c:a libmp3lame xvid.avi"
            " -map 1:v -map 0:a -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac h264.mp4"
            " -map 1:v -map 0:a -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a libopus h264.mkv"
            " -map 0:a -c:a flac tone.flac"
            " -map 0:a -c:a libvorbis tone.ogg"
            " -map 0:a -t 0 -c:a pcm_s16le zero.wav"
            " -map 1:v -frames:v 1 still.png"
            " -map 1:v -frames:v 1 photo.jpg"
            " -map 1:v -r 10 anim.gif";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return made;
    }();
    return *folder;
}

std::string RandomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    unsigned state = 12345;
    for (char& byte : bytes) byte = static_cast<char>((state = state * 1103515245 + 12345) >> 16);
    return bytes;
}

// A RIFF header of size bytes with text written at offset.
std::string Riff(std::size_t size, std::size_t offset, const std::string& text) {
    std::string bytes = "RIFF" + std::string(size - 4, 'x');
    return bytes.replace(offset, text.size(), text);
}

}  // namespace

TEST(modMediaInfo, PlayableFilesHaveTheirLengthInMilliseconds) {
    const struct {
        const char* name;
        int length;  // what the encoders make of 2.5 s: whole frames, delay and padding
        const char* fourCC;
    } files[] = {
        {"tone.wav", 2500, ""},    {"cbr.mp3", 2534, ""},  {"vbr_noxing.mp3", 2534, ""},
        {"divx.avi", 2560, "DIVX"}, {"xvid.avi", 2560, "XVID"}, {"h264.mp4", 2520, ""},
        {"h264.mkv", 2527, ""},    {"tone.flac", 2500, ""}, {"tone.ogg", 2500, ""},
    };
    for (const auto& file : files) {
        const std::string path = Media().Path(file.name);
        const MediaInfo info = GetMediaInfo(path);
        EXPECT_TRUE(info.IsMedia) << info.Reason;
        EXPECT_NEAR(info.Length, file.length, 30) << file.name;
        EXPECT_EQ(info.FourCC, file.fourCC) << file.name;
        EXPECT_EQ(info.Reason, "");
        EXPECT_EQ(GetMediaLength(path), info.Length);
        EXPECT_EQ(GetFourCC(path), file.fourCC);
    }
    // Only a path, never an address, whatever characters it has.
    const std::string colon = Media().Path("data:tone.wav");
    std::filesystem::copy_file(Media().Path("tone.wav"), colon);
    EXPECT_TRUE(IsMediaFile(colon));
}

TEST(modMediaInfo, OtherFilesAreNotMediaAndSayWhy) {
    TempFolder folder;
    folder.Write("notes.txt", "Two lines\nof text\n");
    folder.Write("empty.mp3", "");
    folder.Write("random.avi", RandomBytes(4096));
    // Playlists naming a media file: the probe must not open what they name.
    Media().Write("list.ffconcat", "ffconcat version 1.0\nfile tone.wav\n");
    Media().Write("list.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:3\n#EXTINF:2.5,\ntone.wav\n#EXT-X-ENDLIST\n");
    ASSERT_EQ(mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    const std::string notMedia[] = {
        Media().Path("still.png"), Media().Path("photo.jpg"), Media().Path("anim.gif"),
        Media().Path("zero.wav"),  folder.Path("notes.txt"),  folder.Path("empty.mp3"),
        folder.Path("random.avi"), Media().Path("list.ffconcat"), Media().Path("list.m3u8"),
        folder.Path("pipe"),       folder.Root(),
    };
    for (const std::string& path : notMedia) {
        const MediaInfo info = GetMediaInfo(path);
        EXPECT_FALSE(info.IsMedia) << path;
        EXPECT_LT(info.Length, 0) << path;
        EXPECT_FALSE(info.ProbeFailed) << info.Reason;
        EXPECT_TRUE(info.Reason.starts_with(path + " is not a media file: ")) << info.Reason;
        EXPECT_FALSE(IsMediaFile(path));
    }

    const MediaInfo missing = GetMediaInfo(folder.Path("missing.wav"));
    EXPECT_TRUE(missing.ProbeFailed);
    EXPECT_LT(missing.Length, 0);
    EXPECT_EQ(missing.Reason, "Could not probe " + folder.Path("missing.wav") + ": No such file or directory");
}

TEST(modMediaInfo, AProbeThatTakesTooLongGivesUp) {
    const MediaInfo info = GetMediaInfo(Media().Path("tone.wav"), std::chrono::milliseconds(0));
    EXPECT_FALSE(info.IsMedia);
    EXPECT_TRUE(info.ProbeFailed);
    EXPECT_LT(info.Length, 0);
    EXPECT_EQ(info.Reason, "Could not probe " + Media().Path("tone.wav") + ": gave up after 0 ms");
    EXPECT_TRUE(IsMediaFile(Media().Path("tone.wav")));  // nothing left behind
}

TEST(modMediaInfo, FourCCIsTheHandlerAfterTheFirstAlignedVids) {
    TempFolder folder;
    const auto fourCC = [&](const std::string& contents) { return GetFourCC(folder.Write("f", contents)); };
    EXPECT_EQ(fourCC(Riff(600, 108, "vidsDIVX")), "DIVX");
    EXPECT_EQ(fourCC(Riff(600, 108, "vidsDIVX").replace(0, 4, "RIFX")), "");
    EXPECT_EQ(fourCC(Riff(600, 110, "vidsDIVX")), "");             // not at a multiple of 4
    EXPECT_EQ(fourCC(Riff(600, 512, "vidsXVID")), "XVID");         // the last group scanned
    EXPECT_EQ(fourCC(Riff(600, 516, "vidsXVID")), "");             // one group too far
    EXPECT_EQ(fourCC(Riff(600, 8, "vidsDIVXvidsXVID")), "DIVX");   // the first one wins
    EXPECT_EQ(fourCC(Riff(600, 8, std::string("vids\0\0\0\0", 8))), std::string(4, '\0'));
    EXPECT_EQ(fourCC(Riff(14, 8, "vidsDI")), "");                   // no whole handler behind it
    EXPECT_EQ(fourCC("RIF"), "");
    EXPECT_EQ(GetFourCC(folder.Path("missing")), "");
}
