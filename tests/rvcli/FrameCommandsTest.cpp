// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <filesystem>

#include "rvcli/RvcliFixture.h"

namespace {

class Frames : public Rvcli {
protected:
    void SetUp() override {
        const std::string command = "cd '" + folder.Root() + "' && ffmpeg -hide_banner -loglevel error"
            " -f lavfi -i sine=duration=2 -f lavfi -i testsrc=size=640x480:duration=2"
            " -map 1:v -c:v libx264 -preset ultrafast film.mp4 -map 0:a -c:a libmp3lame song.mp3";
        ASSERT_EQ(std::system(command.c_str()), 0);
        Ok({"new", cat});
        for (const char* name : {"film.mp4", "song.mp3"}) Ok({"add", cat, Path(name), "--no-crc"});
    }
    ScopedEnv thumbnails{"XDG_CACHE_HOME", folder.Path("cache")};
};

}  // namespace

TEST_F(Frames, FramesMakesTheMissingOnesAndFrameWritesOne) {
    EXPECT_EQ(Run({"frames", "c.rvd"}), (Ran{0, "1 frame made, 1 without a picture, 0 not readable\n",
                                             "No frame in " + Path("song.mp3") + ": it has no pictures\n"}));
    EXPECT_EQ(Ok({"frames", cat}), "0 frames made, 0 without a picture, 0 not readable\n");
    EXPECT_TRUE(std::filesystem::is_directory(Path("cache/thumbnails/large")));

    // By FileID or by path; the stored frame stays when the film goes, as with a drive unplugged.
    EXPECT_EQ(Ok({"frame", cat, "1", "-o", Path("one.jpg")}), "");
    std::filesystem::remove(Path("film.mp4"));
    EXPECT_EQ(Run({"frame", "c.rvd", "film.mp4", "-o", "two.jpg"}).Status, 0);
    const std::string jpeg = folder.Read("two.jpg");
    EXPECT_EQ(jpeg, folder.Read("one.jpg"));
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");

    EXPECT_EQ(Call({"frame", cat, "2", "-o", Path("x.jpg")}),
              (Ran{1, "", "No frame in " + Path("song.mp3") + ": it has no pictures\n"}));
    EXPECT_EQ(Call({"frame", cat, "7", "-o", Path("x.jpg")}), (Ran{1, "", "No record with FileID 7\n"}));
    EXPECT_EQ(Call({"frame", cat, Path("none.mkv"), "-o", Path("x.jpg")}),
              (Ran{1, "", "No record of " + Path("none.mkv") + "\n"}));
    EXPECT_FALSE(std::filesystem::exists(Path("x.jpg")));
}
