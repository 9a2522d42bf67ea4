// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/RemoveCopies.h"

#include <fstream>

#include "identity/ContentsFixture.h"

namespace {

class RemoveCopiesTest : public ContentsTest {
protected:
    void SetUp() override {
        ContentsTest::SetUp();
        for (const char* name : {"one", "one copy", "two", "two copy", "three", "three copy", "alone"}) {
            const std::string contents = std::string(name).substr(0, std::string(name).find(' '));
            AddCopy(Make(name, contents));
        }
    }
    int ID(const std::string& name) {
        Reload();
        EXPECT_TRUE(catalogue.Files.GotoFileName(media + name)) << name;
        return catalogue.Files.FileID();
    }
    ToolResult Remove(const std::vector<std::string>& names, bool toTrash) {
        RemovalRequest request{{}, toTrash};
        for (const std::string& name : names) request.FileIDs.push_back(ID(name));
        Reload();
        return RemoveCopies(catalogue, request, mover, host);
    }

    std::vector<std::string> trashed;
    TrashMover mover = [this](const std::string& path) {
        trashed.push_back(path);
        std::filesystem::remove(path);
        return std::string();
    };
};

}  // namespace

TEST_F(RemoveCopiesTest, MoveToTrashNeverTakesTheLastCopy) {
    std::ofstream(media + "three copy", std::ios::app) << " edited";  // no longer a copy of three
    const ToolResult result = Remove({"one", "one copy", "two", "alone", "three"}, true);
    EXPECT_EQ(trashed, std::vector<std::string>{media + "two"});
    EXPECT_EQ(result.Changed, 1);
    EXPECT_EQ(result.Skipped, 4);
    const std::string log = Log("copies.log");
    for (const std::string& line : {"Not moved " + media + "one: no other copy of it would stay",
                                    "Not moved " + media + "one copy: no other copy of it would stay",
                                    "Not moved " + media + "alone: no other copy of it would stay",
                                    "Not moved " + media + "three: no other copy of it would stay",
                                    "Moved to the trash " + media + "two"})
        EXPECT_NE(log.find(line + "\n"), std::string::npos) << line;
    EXPECT_EQ(Paths().size(), 6u);

    // Now that two is gone, its copy is the last. A copy edited since it was hashed is no longer a
    // copy: it is not moved, and it keeps the other from being moved.
    std::ofstream(media + "one", std::ios::app) << " edited";
    EXPECT_EQ(Remove({"two copy"}, true).Skipped, 1);
    EXPECT_EQ(Remove({"one"}, true).Skipped, 1);
    EXPECT_NE(Log("copies.log").find("Not moved " + media + "one: it changed since it was hashed, or is gone\n"), std::string::npos);
    EXPECT_EQ(Remove({"one copy"}, true).Skipped, 1);
    EXPECT_NE(Log("copies.log").find("Not moved " + media + "one copy: no other copy of it would stay\n"), std::string::npos);
    EXPECT_EQ(trashed.size(), 1u);

    // The records alone may all go: the files stay.
    EXPECT_EQ(Remove({"three", "three copy", "alone"}, false).Changed, 3);
    EXPECT_EQ(Paths(), (std::vector<std::string>{media + "one", media + "one copy", media + "two copy"}));
    EXPECT_TRUE(std::filesystem::exists(media + "alone"));
}
