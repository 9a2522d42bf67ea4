// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/clsINIParse.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"

namespace {

class IniFile : public ::testing::Test {
protected:
    void Load(const std::string& text) {
        ini.SetINIFileName(folder.Write("rv.ini", text));
        ASSERT_EQ(ini.LoadINI(), "");
    }

    TempFolder folder;
    clsINIParse ini;
};

}  // namespace

TEST_F(IniFile, ReadsNamesValuesSectionsAndCommentsAsWritten) {
    Load("a = b\nkey=x=y\n[Sec\n  [Sec]\nv=1\n#[x]\n[S p]\nLastDir=/m/\n'quote\n");
    EXPECT_EQ(ini.GetVariableValue("a "), " b");
    EXPECT_EQ(ini.GetVariableValue("a"), "");
    EXPECT_EQ(ini.GetVariableValue("key"), "x=y");
    EXPECT_EQ(ini.GetSectionVariableValue("", "v"), "1");  // neither bracket line opened a section
    EXPECT_EQ(ini.GetSectionVariableValue("S p", "LastDir"), "/m/");
    EXPECT_EQ(ini.GetVariableValue("LastDir"), "/m/");  // found in any section
    EXPECT_EQ(ini.GetSectionVariableValue("", "LastDir"), "");
    EXPECT_EQ(ini.GetVariableValue("lastdir"), "");
    EXPECT_EQ(ini.SaveINI(), "");
    // "#[x]" was line 6 of the input; saving brings the section's empty line before it.
    EXPECT_EQ(folder.Read("rv.ini"), "a = b\nkey=x=y\nv=1\n\n[S p]\n#[x]\nLastDir=/m/\n");
}

// Any line end reads; saving sorts the names of each section, puts an empty line before each
// section and brings each comment back to its line number, or drops it past the last line.
TEST_F(IniFile, SavesWhatItReadSortedWithItsComments) {
    const std::pair<const char*, const char*> cases[] = {
        {"x=1\n# c\ny=2\n", "x=1\n# c\ny=2\n"},
        {"x=1\r\n# c\r\ny=2\r\n", "x=1\n# c\ny=2\n"},
        {"x=1\r# c\ry=2", "x=1\n# c\ny=2\n"},
        {"\xEF\xBB\xBFx=1\n\n\n# c\ny=2", "x=1\n# c\ny=2\n"},
        {"[B]\nb=2\n[A]\na=1\n", "\n[A]\na=1\n\n[B]\nb=2\n"},
        {"[S]\nz=1\nb=0\n[T]\nt=1\n[S]\na=2\nB=3\n", "\n[S]\nB=3\na=2\nb=0\nz=1\n\n[T]\nt=1\n"},
        {"x=1\n# c\ny=2\n# after the last line\n", "x=1\n# c\ny=2\n"},
        {"[S]\n# one\ny=2\n", "\n# one\n[S]\ny=2\n"},
    };
    for (const auto& [text, saved] : cases) {
        clsINIParse fresh;
        fresh.SetINIFileName(folder.Write("any.ini", text));
        ASSERT_EQ(fresh.LoadINI(), "");
        ASSERT_EQ(fresh.SaveINI(), "");
        EXPECT_EQ(folder.Read("any.ini"), saved) << text;
    }
}

TEST_F(IniFile, AddChangeAndDeleteFollowTheirRules) {
    Load("a=1\n[X]\nk=x\n[Y]\nk=y\n");
    EXPECT_FALSE(ini.AddVariable("a", "2"));
    EXPECT_EQ(ini.GetVariableValue("a"), "1");
    EXPECT_TRUE(ini.AddSectionVariable("Z", "a", "3"));
    EXPECT_FALSE(ini.ChangeVariable("missing", "v"));
    EXPECT_TRUE(ini.ChangeSectionVariable("Y", "k", "why"));
    EXPECT_FALSE(ini.ChangeSectionVariable("", "k", "v"));
    EXPECT_FALSE(ini.DeleteVariable("k"));  // only outside sections
    EXPECT_TRUE(ini.DeleteVariable("a"));
    EXPECT_EQ(ini.GetVariableValue("a"), "3");  // the last row took the first place
    EXPECT_TRUE(ini.DeleteSectionVariable("Z", "a"));
    EXPECT_EQ(ini.GetVariableValue("k"), "why");  // [Y] moved up past [X]
    EXPECT_TRUE(ini.ChangeVariable("k", "first"));
    EXPECT_EQ(ini.GetSectionVariableValue("Y", "k"), "first");
    EXPECT_EQ(ini.GetSectionVariableValue("X", "k"), "x");
}

TEST_F(IniFile, MissingFileIsEmptyAndAnUnwritableOneIsReported) {
    ini.SetINIFileName(folder.Path("none.ini"));
    EXPECT_EQ(ini.LoadINI(), "");
    EXPECT_EQ(ini.GetVariableValue("x"), "");
    ini.SetINIFileName(folder.Path("no folder/rv.ini"));
    ini.AddVariable("x", "1");
    EXPECT_NE(ini.SaveINI(), "");
}
