// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modMediaInfo.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "common/TempFolder.h"

namespace {

// Made by the ffmpeg command once per test program: 2.5 s of sound and of a moving test picture.
const TempFolder& Media() {
    static const auto folder = [] {
        auto made = std::make_unique<TempFolder>();
        const std::string command = "cd '" + made->Root() + "' && ffmpeg -hide_banner -loglevel error"
            " -f lavfi -i sine=duration=2.5 -f lavfi -i testsrc=size=160x120:duration=2.5"
            " -f lavfi -i anoisesrc=d=1.25,apad=whole_dur=2.5 -map 0:a -c:a pcm_s16le tone.wav"
            " -map 2:a -c:a libmp3lame -q:a 2 -write_xing 0 vbr.mp3"  // length only guessed from the bit rate
            " -map 1:v -map 0:a -c:v mpeg4 -vtag DIVX -c:a libmp3lame divx.avi"
            " -map 1:v -map 0:a -c:v libxvid -vtag XVID -c:a libmp3lame xvid.avi"
            " -map 1:v -map 0:a -c:v libx264 -preset ultrafast -c:a aac h264.mp4"
            " -map 1:v -map 0:a -c:v libx264 -preset ultrafast -c:a libopus h264.mkv"
            " -map 0:a -c:a flac tone.flac -map 0:a -c:a libvorbis tone.ogg -map 0:a -t 0 zero.wav"
            " -map 1:v -frames:v 1 still.png -map 1:v -frames:v 1 photo.jpg";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return made;
    }();
    return *folder;
}

}  // namespace

TEST(modMediaInfo, PlayableFilesHaveTheirLengthInMilliseconds) {
    // Encoders round 2.5 s up to whole frames and add their delay.
    for (const auto& [name, length, fourCC] : {std::tuple{"tone.wav", 2500, ""}, {"vbr.mp3", 2534, ""},
                                               {"divx.avi", 2560, "DIVX"}, {"xvid.avi", 2560, "XVID"},
                                               {"h264.mp4", 2520, ""}, {"h264.mkv", 2527, ""},
                                               {"tone.flac", 2500, ""}, {"tone.ogg", 2500, ""}}) {
        const MediaInfo info = GetMediaInfo(Media().Path(name));
        EXPECT_TRUE(info.IsMedia) << info.Reason;
        EXPECT_NEAR(info.Length, length, 30) << name;
        EXPECT_EQ(info.FourCC, fourCC) << name;
        EXPECT_EQ(GetFourCC(Media().Path(name)), fourCC) << name;
    }
    // A path, never an address, whatever characters it holds; and the contents, not the name, decide.
    for (const auto& [from, to] : {std::pair{"tone.wav", "data:tone.wav"}, {"vbr.mp3", "song"},
                                   {"h264.mkv", "film.dat"}, {"divx.avi", "clip.bin"}}) {
        std::filesystem::copy_file(Media().Path(from), Media().Path(to));
        EXPECT_EQ(GetMediaLength(Media().Path(to)), GetMediaLength(Media().Path(from))) << to;
    }
}

TEST(modMediaInfo, OtherFilesAreNotMediaAndSayWhy) {
    const TempFolder& folder = Media();
    folder.Write("notes.txt", "Two lines\nof text\n");
    folder.Write("empty.mp3", "");
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 2654435761u >> 13);
    folder.Write("noise.avi", noise);
    folder.Write("noise.bin", noise);
    // Playlists naming a media file: the probe must not open what they name.
    folder.Write("list.ffconcat", "ffconcat version 1.0\nfile tone.wav\n");
    folder.Write("list.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:3\n#EXTINF:2.5,\ntone.wav\n#EXT-X-ENDLIST\n");
    ASSERT_EQ(mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    folder.Write("icon.svg", "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\"/>\n");
    folder.Write("subtitles.srt", "1\n00:00:01,000 --> 00:00:02,500\nHello\n");
    std::filesystem::copy_file(Media().Path("still.png"), Media().Path("still.mp4"));
    // Pictures and text are told by the content check or by FFmpeg's first look, with no time at all
    // to open the file. A name a media demuxer claims is FFmpeg's to judge, whatever the bytes, and
    // FFmpeg opens the file. Either way the facts are FFmpeg's alone.
    using std::chrono::milliseconds;
    for (const auto& [name, why, time] : {std::tuple{"still.png", "a PNG picture", milliseconds(0)},
                                          {"photo.jpg", "a JPEG picture", milliseconds(0)},
                                          {"icon.svg", "an XML document", milliseconds(0)},
                                          {"subtitles.srt", "a picture or text format (srt)", milliseconds(0)},
                                          {"still.mp4", "a picture or text format (png_pipe)", kMediaProbeTimeout},
                                          {"zero.wav", "", kMediaProbeTimeout}, {"notes.txt", "", kMediaProbeTimeout},
                                          {"empty.mp3", "", kMediaProbeTimeout}, {"noise.avi", "", kMediaProbeTimeout},
                                          {"noise.bin", "", kMediaProbeTimeout}, {"list.ffconcat", "", kMediaProbeTimeout},
                                          {"list.m3u8", "", kMediaProbeTimeout}, {"pipe", "", kMediaProbeTimeout}}) {
        const std::string path = folder.Path(name), reason = path + " is not a media file: " + why;
        const MediaInfo info = GetMediaInfo(path, time);
        EXPECT_TRUE(*why ? info.Reason == reason : info.Reason.starts_with(reason)) << info.Reason;
        EXPECT_LT(info.Length, 0) << name;
        EXPECT_FALSE(info.IsMedia || info.ProbeFailed || IsMediaFile(path)) << name;
        const MediaInfo alone = GetMediaInfo(path, kMediaProbeTimeout, MediaDetection::FFmpegOnly);
        EXPECT_FALSE(alone.IsMedia) << name;
        EXPECT_EQ(GetMediaInfo(path).Length, alone.Length) << name;
    }
    EXPECT_EQ(GetMediaInfo(folder.Path("missing")).Reason,
              "Could not read " + folder.Path("missing") + ": No such file or directory");
    const MediaInfo late = GetMediaInfo(folder.Path("tone.wav"), std::chrono::milliseconds(0));
    EXPECT_EQ(late.Reason, "Could not read " + folder.Path("tone.wav") + ": gave up after 0 ms");
    EXPECT_TRUE(late.ProbeFailed && late.Length < 0);
}

TEST(modMediaInfo, ChipTunesPlayGzippedOrNot) {
    // A VGM tune of two seconds of silence for the SN76489: FFmpeg plays it through the game-music
    // library, which scores what it knows at no more than FFmpeg's "retry" bar.
    std::string vgm(0x40, '\0');
    const auto put = [&vgm](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) vgm[at + i] = static_cast<char>(value >> (8 * i));
    };
    vgm.replace(0, 4, "Vgm ");
    put(0x08, 0x150);
    put(0x0c, 3579545);
    put(0x18, 88200);
    put(0x24, 60);
    put(0x28, 0x100009);
    put(0x34, 0x0c);
    vgm += std::string("\x61\x44\xac\x61\x44\xac\x66", 7);
    put(0x04, static_cast<std::uint32_t>(vgm.size() - 4));
    const TempFolder folder;
    folder.Write("tune.vgm", vgm);
    const std::string packed = "gzip -c '" + folder.Path("tune.vgm") + "' > '" + folder.Path("tune.bin") + "'";
    ASSERT_EQ(std::system(packed.c_str()), 0);
    for (const char* name : {"tune.vgm", "tune.bin"}) {
        const MediaInfo info = GetMediaInfo(folder.Path(name));
        EXPECT_TRUE(info.IsMedia) << info.Reason;
        EXPECT_EQ(info.Length, 2000) << name;
    }
}

TEST(modMediaInfo, FourCCIsTheHandlerAfterTheFirstAlignedVids) {
    TempFolder folder;
    const auto fourCC = [&](std::size_t offset, const std::string& text, const std::string& magic = "RIFF") {
        std::string bytes = magic + std::string(600, 'x');
        return GetFourCC(folder.Write("f", bytes.replace(offset, text.size(), text).substr(0, offset + text.size())));
    };
    EXPECT_EQ(fourCC(108, "vidsDIVX"), "DIVX");
    EXPECT_EQ(fourCC(108, "vidsDIVX", "RIFX"), "");
    EXPECT_EQ(fourCC(110, "vidsDIVX"), "");  // not at a multiple of 4
    EXPECT_EQ(fourCC(512, "vidsXVID"), "XVID");
    EXPECT_EQ(fourCC(516, "vidsXVID"), "");
    EXPECT_EQ(fourCC(8, "vidsDIVXvidsXVID"), "DIVX");
    EXPECT_EQ(fourCC(8, std::string("vids\0\0\0\0", 8)), std::string(4, '\0'));
    EXPECT_EQ(fourCC(8, "vidsDI"), "");  // no whole handler behind it
    EXPECT_EQ(fourCC(0, "RIF", ""), "");
}

TEST(modMediaInfo, ASizeStatedInAFileDoesNotDecideHowMuchMemoryTheProbeTakes) {
    // A WAV of a few hundred bytes whose INFO list claims 3.8 GB; the eight bytes behind its
    // samples, read as one more item of that list, then claim 1.9 GB, which FFmpeg would zero.
    const TempFolder folder;
    static constexpr char kHeader[] =
        "RIFF\xd6\x01\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00"
        "\x01\x00\x08\x00LIST\x1a\x00\x00\xe5INFOISFT\x0e\x00\x00\x00Lavf60.27.100\x00" "data\x90\x01\x00\x00";
    std::string wav(kHeader, sizeof kHeader - 1);
    wav.append(408, 'p');
    folder.Write("claims.wav", wav);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const MediaInfo info = GetMediaInfo(folder.Path("claims.wav"));
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 512L * 1024) << "kilobytes";
    EXPECT_FALSE(info.IsMedia);
}
