// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempFolder.h"

TEST(LoadSettings, FirstRunWritesTheDefaults) {
    TempFolder folder;
    ScopedEnv config("XDG_CONFIG_HOME", folder.Root());
    clsINIParse ini;
    Settings settings{true, "stale", {}};
    ASSERT_EQ(LoadSettings(ini, settings), "");
    const std::string appPath = folder.Root() + "/reelvault/";
    EXPECT_EQ(ini.INIFileName(), appPath + "rv.ini");
    EXPECT_EQ(folder.Read("reelvault/rv.ini"), "AutoCalculateCRC=false\nLastDir=" + appPath + "\n");
    EXPECT_FALSE(settings.AutoCalculateCRC);
    EXPECT_EQ(settings.LastDir, "stale");  // left alone in memory until a catalogue is opened

    clsINIParse again;
    Settings read;
    ASSERT_EQ(LoadSettings(again, read), "");
    EXPECT_EQ(read.LastDir, appPath);
}

TEST(LoadSettings, ReadsTheCrcFlagAsABoolean) {
    TempFolder folder;
    ScopedEnv config("XDG_CONFIG_HOME", folder.Root());
    std::filesystem::create_directory(folder.Path("reelvault"));
    const std::pair<const char*, bool> cases[] = {{"TRUE", true}, {"False", false}, {"1", true},
                                                  {"0", false},   {"-2.5", true},   {"yes", false}};
    for (const auto& [text, expected] : cases) {
        folder.Write("reelvault/rv.ini", std::string("[Old]\nLastDir=/films/\n[]\nAutoCalculateCRC=") + text);
        clsINIParse ini;
        Settings settings;
        ASSERT_EQ(LoadSettings(ini, settings), "");
        EXPECT_EQ(settings.AutoCalculateCRC, expected) << text;
        EXPECT_EQ(settings.LastDir, "/films/");
    }
}
