// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clsFileType.h"

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"

namespace {

class FileTypes : public CatalogueTest {
protected:
    int Save(int id, const std::string& description, const std::string& app, const std::vector<std::string>& extensions) {
        const NewKey saved = SaveFileType(catalogue, id, description, app, extensions);
        EXPECT_EQ(saved.Error, "");
        EXPECT_EQ(catalogue.FileTypes.LoadFromDatabase(catalogue.Store), "");
        return saved.ID;
    }
    std::vector<std::string> ExtensionsOf(const std::string& description) {
        clsFileType& types = catalogue.FileTypes;
        std::vector<std::string> extensions;
        if (types.GotoFileType(description)) {
            for (int i = 0; i < types.NumExtension(); ++i) extensions.push_back(types.Extension(i));
        }
        return extensions;
    }
};

}  // namespace

TEST_F(FileTypes, ExtensionsFindTheirTypeIgnoringCaseAndTheLastTypeWins) {
    Save(-1, "MPEG Audio", "", {"mp3", "MP2", "mpa"});
    Save(-1, "Audio", "/usr/bin/it's player", {"mp3", "wav"});
    clsFileType& types = catalogue.FileTypes;
    EXPECT_EQ(types.FileTypeID(), -1);  // nothing is current after a load
    EXPECT_EQ(types.FileType(), "");
    EXPECT_EQ(types.NumExtension(), -1);

    for (const char* extension : {"mp3", "MP3", "Mp3"}) {
        EXPECT_TRUE(types.GotoExtension(extension));
        EXPECT_EQ(types.FileType(), "MPEG Audio") << extension;
    }
    EXPECT_FALSE(types.GotoExtension(".mp3"));
    EXPECT_TRUE(types.GotoExtension("mp2"));
    EXPECT_EQ(ExtensionsOf("MPEG Audio"), (std::vector<std::string>{"MP2", "mp3", "mpa"}));
    EXPECT_EQ(types.ExtensionID(-1), -1);
    EXPECT_EQ(types.Extension(3), "");
    EXPECT_EQ(types.ExternalApp(), "");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFileType WHERE ExternalApp IS NULL"), "1");
    ASSERT_TRUE(types.GotoFileType("Audio"));
    EXPECT_EQ(types.ExternalApp(), "/usr/bin/it's player");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFileExtension WHERE Extension='mp3'"), "1");  // shared row
}

TEST_F(FileTypes, SavingATypeReplacesItsLinksAndKeepsEveryExtension) {
    std::vector<std::string> many;
    for (int i = 10; i < 70; ++i) many.push_back("x" + std::to_string(i));
    const int id = Save(-1, "Video", "/usr/bin/player", many);
    EXPECT_EQ(ExtensionsOf("Video").size(), 60u);

    EXPECT_EQ(Save(id, "Films", "", {"mkv", "avi", "mkv"}), id);
    EXPECT_EQ(ExtensionsOf("Films"), (std::vector<std::string>{"avi", "mkv", "mkv"}));
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFileType WHERE ExternalApp IS NULL"), "1");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFileExtension"), "62");  // unlinked extensions stay

    const NewKey unknown = SaveFileType(catalogue, id + 1, "Other", "", {"ogg"});
    EXPECT_EQ(unknown.Error, "No file type with ID " + std::to_string(id + 1));
    Refuse("INSERT", "tblFileExtensionJunction");
    EXPECT_NE(SaveFileType(catalogue, id, "Renamed", "/bin/x", {"ts"}).Error, "");
    EXPECT_NE(SaveFileType(catalogue, -1, "New", "", {"ts"}).Error, "");
    EXPECT_EQ(Ask("SELECT group_concat(FileType) FROM tblFileType"), "Films");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFileExtensionJunction"), "3");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFileExtension WHERE Extension IN ('ogg', 'ts')"), "0");
}
