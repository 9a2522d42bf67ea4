// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modFrame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "common/TempFolder.h"

namespace {

// Clips of several sizes and codecs, a cover-art MP3, sound alone, a huge picture and a cut film:
// made by the ffmpeg command once per test program.
const TempFolder& Clips() {
    static const auto folder = [] {
        auto made = std::make_unique<TempFolder>();
        const std::string command = "cd '" + made->Root() + "' && F='ffmpeg -hide_banner -loglevel error -y'"
            " && $F -f lavfi -i sine=duration=3 -f lavfi -i testsrc=size=640x360:duration=3"
            " -f lavfi -i testsrc=size=160x120:duration=3 -f lavfi -i smptebars=size=1920x1080:duration=3"
            " -map 1:v -map 0:a -c:v libx264 -preset ultrafast -c:a aac wide.mp4"
            " -map 2:v -c:v mpeg4 -vtag DIVX small.avi"
            " -map 3:v -c:v mpeg2video -q:v 10 full-hd.ts"
            " -map 1:v -c:v libvpx -deadline realtime -cpu-used 8 wide.webm"
            " -map 0:a -c:a libmp3lame sound.mp3"
            " -map 2:v -frames:v 1 cover.png"
            " && $F -f lavfi -i color=c=red:size=7680x4320 -frames:v 1 -q:v 20 huge.jpg"
            " && $F -f lavfi -i testsrc2=size=1280x720:duration=1,noise=alls=40:allf=t -c:v libx264 -preset ultrafast grain.mp4"
            " && $F -i sound.mp3 -i cover.png -map 0:a -map 1:v -c:a copy -c:v png -disposition:v attached_pic cover.mp3"
            " && $F -i sound.mp3 -i huge.jpg -map 0:a -map 1:v -c:a copy -c:v copy -disposition:v attached_pic huge-cover.mp3"
            " && head -c 20000 wide.mp4 > cut.mp4 && cp small.avi damaged.avi"
            " && head -c 3000 /dev/urandom | dd of=damaged.avi bs=1 seek=6000 conv=notrunc status=none"
            " && $F -f lavfi -i testsrc=size=320x240:rate=25 -frames:v 50 -c:v mpeg4 -f m4v raw.m4v";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return made;
    }();
    return *folder;
}

bool IsJpeg(const std::vector<unsigned char>& bytes) {
    return bytes.size() > 4 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[bytes.size() - 2] == 0xFF && bytes.back() == 0xD9;
}

}  // namespace

TEST(modFrame, FilmsAndCoversGiveASmallJpegOfTheirShape) {
    // The width is capped and the shape kept (rounded to even sizes); a small picture is not enlarged.
    // Even a grainy picture stays small.
    for (const auto& [name, width, height] : {std::tuple{"wide.mp4", 320, 180}, {"small.avi", 160, 120},
                                              {"full-hd.ts", 320, 180}, {"wide.webm", 320, 180},
                                              {"cover.mp3", 160, 120}, {"huge-cover.mp3", 320, 180},
                                              {"huge.jpg", 320, 180}, {"raw.m4v", 320, 240},
                                              {"grain.mp4", 320, 180}}) {
        const Frame frame = MakeFrame(Clips().Path(name), 256);
        ASSERT_TRUE(frame.Made()) << frame.Reason;
        EXPECT_TRUE(IsJpeg(frame.Jpeg)) << name;
        EXPECT_EQ(frame.Width, width) << name;
        EXPECT_EQ(frame.Height, height) << name;
        EXPECT_LT(frame.Jpeg.size(), 12u * 1024) << name;
        EXPECT_LE(std::max(frame.RgbWidth, frame.RgbHeight), 256) << name;
        EXPECT_EQ(frame.Rgb.size(), static_cast<std::size_t>(frame.RgbWidth) * frame.RgbHeight * 3) << name;
    }
    // The cover of a file, not its last decoded picture: the red of the huge cover, not bars.
    const Frame red = MakeFrame(Clips().Path("huge-cover.mp3"), 16);
    ASSERT_FALSE(red.Rgb.empty());
    EXPECT_GT(red.Rgb[0], 200);
    EXPECT_LT(red.Rgb[1], 60);
    EXPECT_TRUE(MakeFrame(Clips().Path("wide.mp4")).Rgb.empty());  // none asked for
}

TEST(modFrame, FilesWithoutAPictureSayWhy) {
    const TempFolder& clips = Clips();
    clips.Write("notes.txt", "Two lines\nof text\n");
    clips.Write("empty.avi", "");
    // Sound alone, a film cut short before its index, text, nothing at all, no file, a folder.
    for (const auto& [name, failed] : {std::pair{"sound.mp3", false}, {"cut.mp4", false}, {"notes.txt", false},
                                       {"empty.avi", false}, {"missing.mkv", true}}) {
        const Frame frame = MakeFrame(clips.Path(name));
        EXPECT_FALSE(frame.Made()) << name;
        EXPECT_NE(frame.Reason.find(clips.Path(name)), std::string::npos) << frame.Reason;
        EXPECT_EQ(frame.Failed, failed) << frame.Reason;
    }
    EXPECT_FALSE(MakeFrame(clips.Root()).Made());
    // Damaged pictures: a frame from what survives, or a reason; never a crash.
    const Frame damaged = MakeFrame(clips.Path("damaged.avi"), 256);
    EXPECT_TRUE(damaged.Made() ? IsJpeg(damaged.Jpeg) : !damaged.Reason.empty());
    // A time-out is a failure to try again, not a file without pictures.
    const Frame late = MakeFrame(clips.Path("wide.mp4"), 0, std::chrono::milliseconds(0));
    EXPECT_FALSE(late.Made());
    EXPECT_TRUE(late.Failed) << late.Reason;
}
