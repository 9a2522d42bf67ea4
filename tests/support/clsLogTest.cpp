// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/clsLog.h"

#include <gtest/gtest.h>

#include <regex>

#include "common/TempFolder.h"

TEST(clsLog, AppendsOneLinePerCall) {
    TempFolder folder;
    ScopedEnv config("XDG_CONFIG_HOME", folder.Root());
    clsLog log;
    EXPECT_EQ(log.FileName(), folder.Root() + "/reelvault/error.log");
    log.SetFileName(folder.Write("load.log", "before\n"));
    EXPECT_EQ(log.WriteLog("a"), "");
    EXPECT_EQ(log.WriteLog("b"), "");
    EXPECT_EQ(folder.Read("load.log"), "before\na\nb\n");

    log.SetAddDate(true);
    EXPECT_EQ(log.WriteLog("dated"), "");
    const std::string text = folder.Read("load.log");
    EXPECT_TRUE(std::regex_search(text, std::regex("\n\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d, dated\n$"))) << text;
}

TEST(clsLog, ReportsALogItCannotWrite) {
    TempFolder folder;
    clsLog log;
    log.SetFileName(folder.Path("no folder/move.log"));
    EXPECT_EQ(log.WriteLog("x").rfind("Could not write the log " + log.FileName() + ": ", 0), 0u);
}
