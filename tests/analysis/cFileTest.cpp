// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/cFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "common/TempFolder.h"

namespace {

bool IsOpenDescriptor(int handle) { return fcntl(handle, F_GETFD) != -1; }

}  // namespace

TEST(cFile, FailedOpensRaiseErrorExceptForAnEmptyName) {
    TempFolder folder;
    cFile file;
    int errNumber = 0;
    std::string errString;
    file.Error = [&](int number, const std::string& text) { errNumber = number, errString = text; };

    EXPECT_EQ(file.OpenFile("", O_RDONLY), -1);
    EXPECT_EQ(errNumber, 0);
    EXPECT_EQ(file.OpenFile(folder.Path("missing"), O_RDONLY), -1);
    EXPECT_EQ(errNumber, ENOENT);
    EXPECT_EQ(errString, "No such file or directory");
    EXPECT_EQ(file.FileHandle(), -1);
    EXPECT_EQ(file.FileSize(), 0);
    EXPECT_EQ(file.ReadFromFile({}), -1);
}

TEST(cFile, NeverLeaksADescriptor) {
    TempFolder folder;
    const std::string path = folder.Write("a", "12345");
    int first = -1;
    {
        cFile file;
        first = file.OpenFile(path, O_RDONLY);
        ASSERT_GE(first, 0);
        EXPECT_EQ(file.FileSize(), 5);
        EXPECT_TRUE(file.IsRegularFile());
        EXPECT_NE(fcntl(first, F_GETFD) & FD_CLOEXEC, 0);
        // The lowest free number comes back only when the first descriptor was closed.
        EXPECT_EQ(file.OpenFile(path, O_RDONLY), first);
    }
    EXPECT_FALSE(IsOpenDescriptor(first));
}
