// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modUtilities.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/TempFolder.h"

TEST(PathTexts, CutAtTheLastSeparator) {
    EXPECT_EQ(GetFileName("/media/song.mp3"), "song.mp3");
    EXPECT_EQ(GetFileName("song.mp3"), "song.mp3");
    EXPECT_EQ(GetFileName("/media/"), "");
    EXPECT_EQ(GetDirectory("/media/song.mp3"), "/media/");
    EXPECT_EQ(GetDirectory("song.mp3"), "song.mp3");
    EXPECT_EQ(GetDirectory("/song.mp3"), "/");
    EXPECT_EQ(GetExtension("/media/song.MP3"), ".MP3");
    EXPECT_EQ(GetExtension("/media/song"), "");
    EXPECT_EQ(GetExtension("/my.media/song"), ".media/song");
    EXPECT_EQ(GetExtension("archive.tar.gz"), ".gz");
}

TEST(AppPath, IsTheConfigFolderOfTheDesktop) {
    TempFolder folder;
    {
        ScopedEnv config("XDG_CONFIG_HOME", folder.Path("config/"));
        EXPECT_EQ(AppPath(), folder.Path("config/reelvault/"));
        EXPECT_TRUE(std::filesystem::is_directory(folder.Path("config/reelvault")));
    }
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
    ScopedEnv home("HOME", folder.Path("home"));
    EXPECT_EQ(AppPath(), folder.Path("home/.config/reelvault/"));
}

TEST(ShellOpen, HandsTheTargetToXdgOpenAsOneArgument) {
    TempFolder folder;
    const std::string record = folder.Path("args.txt");
    folder.Write("xdg-open", "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" \"$PWD\" > '" + record + ".part'\nmv '" +
                                 record + ".part' '" + record + "'\n");
    std::filesystem::permissions(folder.Path("xdg-open"), std::filesystem::perms::owner_all);
    ScopedEnv path("PATH", folder.Root() + ":/usr/bin:/bin");

    const std::string target = folder.Path("it's a $(film).mkv");
    ASSERT_EQ(ShellOpen(target), "");
    for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(folder.Read("args.txt"), "1|" + target + "|" + folder.Root() + "|");

    ScopedEnv nowhere("PATH", folder.Path("empty"));
    EXPECT_EQ(ShellOpen(target).rfind("Could not start xdg-open: ", 0), 0u);
}
