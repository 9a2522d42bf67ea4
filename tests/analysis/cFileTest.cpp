// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/cFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "common/TempFolder.h"

TEST(cFile, NeverLeaksADescriptor) {
    TempFolder folder;
    const std::string path = folder.Write("a", "12345");
    int handle = -1;
    {
        cFile file;
        file.Error = [](int, const std::string& text) { ADD_FAILURE() << text; };
        EXPECT_EQ(file.OpenFile("", O_RDONLY), -1);  // silently
        handle = file.OpenFile(path, O_RDONLY);
        ASSERT_GE(handle, 0);
        // Opening again gets the lowest free number back only when the first one was closed.
        EXPECT_EQ(file.OpenFile(path, O_RDONLY), handle);
    }
    EXPECT_EQ(fcntl(handle, F_GETFD), -1);
}
