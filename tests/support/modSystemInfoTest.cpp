// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modSystemInfo.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <algorithm>
#include <filesystem>

#include "common/TempFolder.h"

namespace {

bool HasLine(const SystemFacts& facts, const std::string& line) {
    return std::find(facts.Lines.begin(), facts.Lines.end(), line) != facts.Lines.end();
}

}  // namespace

TEST(SystemFacts, NameTheSystemTheLibrariesAndTheSettingsFolder) {
    TempFolder folder;
    ScopedEnv config("XDG_CONFIG_HOME", folder.Path("config"));
    const std::string missing = folder.Path("missing");
    const std::string fallback =
        folder.Write("os-release", "NAME=Test\nPRETTY_NAME=\"Test OS 2 (\\\"dev\\\")\"\nID=test\n");
    const std::string plain = folder.Write("plain", "PRETTY_NAME=Plain OS\n");
    const std::string nameless = folder.Write("nameless", "NAME=Nameless\n");

    EXPECT_EQ(OsPrettyName(std::vector{missing, nameless, fallback}), "Test OS 2 (\"dev\")");
    EXPECT_EQ(OsPrettyName(std::vector{plain, fallback}), "Plain OS");
    EXPECT_EQ(OsPrettyName(std::vector{missing, nameless}), "");

    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    const std::string kernel = std::string("Kernel: ") + system.sysname + " " + system.release + " " + system.machine;
    const SystemFacts facts = GatherSystemFacts(std::vector{missing, fallback});
    ASSERT_TRUE(facts) << facts.Error;
    EXPECT_TRUE(HasLine(facts, "Operating system: Test OS 2 (\"dev\")"));
    EXPECT_TRUE(HasLine(facts, kernel));
    EXPECT_TRUE(HasLine(facts, "Settings and logs: " + folder.Path("config/reelvault/")));
    for (const char* label : {"SQLite: 3.", "FFmpeg: ", "CRC-32: "}) {
        EXPECT_TRUE(std::any_of(facts.Lines.begin(), facts.Lines.end(), [label](const std::string& line) {
            return line.starts_with(label) && line.size() > std::string(label).size() + 2;
        })) << label;
    }
    // A kernel that names itself is enough for a report.
    EXPECT_TRUE(HasLine(GatherSystemFacts(std::vector{missing}), "Operating system: unknown"));
}

TEST(SystemFacts, ReadTheOperatingSystemsOwnName) {
    if (!std::filesystem::exists("/etc/os-release")) GTEST_SKIP() << "no /etc/os-release here";
    const SystemFacts facts = GatherSystemFacts();
    ASSERT_TRUE(facts) << facts.Error;
    ASSERT_FALSE(facts.Lines.empty());
    EXPECT_TRUE(facts.Lines.front().starts_with("Operating system: "));
    EXPECT_NE(facts.Lines.front(), "Operating system: unknown");
    EXPECT_EQ(facts.Lines.front().find('"'), std::string::npos) << "quotes are not part of the name";
}
