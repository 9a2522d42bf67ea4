// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modFileAssociation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "common/TempFolder.h"

namespace {

const std::string kId = "org.reelvault.Reelvault";
const std::string kMimeType = "application/x-reelvault-database";
const std::string kEntry = "applications/" + kId + ".desktop";
const std::string kPackage = "mime/packages/" + kId + ".xml";
const std::string kIcon = "icons/hicolor/scalable/apps/" + kId + ".svg";
const std::string kXdgMimeMissing =
    "Could not make Reelvault the default program for .rvd files: xdg-mime was not found (it comes with xdg-utils)";

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

// Standard output without its last line end; the test's own paths need no quoting.
std::string Output(const std::string& command) {
    std::string text;
    const std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
    for (int c; pipe && (c = std::fgetc(pipe.get())) != EOF;) text += static_cast<char>(c);
    return text.ends_with('\n') ? text.substr(0, text.size() - 1) : text;
}

bool Installed(const std::string& program) { return Output("command -v " + program) != ""; }

std::string ExecLine(const std::string& entry) {
    const auto start = entry.find("\nExec=") + 1;
    return entry.substr(start, entry.find('\n', start) - start);
}

// Every folder the desktop tools read or write is the test's own, and xdg-mime takes no desktop's side.
struct PrivateDesktop {
    TempFolder folder;
    ScopedEnv data{"XDG_DATA_HOME", folder.Path("data")};
    ScopedEnv dataDirs{"XDG_DATA_DIRS", folder.Path("data") + ":/usr/share"};
    ScopedEnv config{"XDG_CONFIG_HOME", folder.Path("config")};
    ScopedEnv desktop{"XDG_CURRENT_DESKTOP", "X-Generic"};
    std::string Read(const std::string& file) const { return folder.Read("data/" + file); }
};

}  // namespace

TEST(FileAssociation, InstallPutsTheProgramsAndTheSameDesktopFilesUnderThePrefix) {
    TempFolder prefix;
    const ScopedEnv searched("XDG_DATA_DIRS", prefix.Path("share"));  // else update-mime-database warns
    const std::string install = "'" RV_CMAKE_COMMAND "' --install '" RV_BUILD_DIR "' --prefix " + prefix.Root();
    ASSERT_EQ(std::system((install + " >/dev/null").c_str()), 0);
    std::vector<std::string> files = {"bin/rv", "bin/rvcli"};
    for (const std::string size : {"16", "32", "48", "64", "128", "256"})
        files.push_back("share/icons/hicolor/" + size + "x" + size + "/apps/" + kId + ".png");
    for (const std::string& file : files) EXPECT_TRUE(std::filesystem::is_regular_file(prefix.Path(file))) << file;
    if (Installed("desktop-file-validate")) {
        EXPECT_EQ(Output("desktop-file-validate " + prefix.Path("share/" + kEntry) + " 2>&1"), "");
    }
    if (Installed("update-mime-database")) {
        EXPECT_EQ(std::system(("update-mime-database " + prefix.Path("share/mime")).c_str()), 0);
        EXPECT_TRUE(std::filesystem::exists(prefix.Path("share/mime/" + kMimeType + ".xml")));
    }

    PrivateDesktop user;
    ScopedEnv noPrograms("PATH", user.folder.Path("none"));
    EXPECT_EQ(CreateFileAssociation("/usr/bin/rv"), kXdgMimeMissing);
    std::string entry = prefix.Read("share/" + kEntry);
    EXPECT_EQ(user.Read(kEntry), entry.replace(entry.find("\nExec=rv "), 8, "\nExec=/usr/bin/rv"));
    EXPECT_EQ(user.Read(kPackage), prefix.Read("share/" + kPackage));
    EXPECT_EQ(user.Read(kIcon), prefix.Read("share/" + kIcon));
}

TEST(FileAssociation, WritesOnlyItsThreeFilesWithTheProgramQuotedAndTheSameBytesTwice) {
    PrivateDesktop user;
    ScopedEnv noPrograms("PATH", user.folder.Path("none"));  // so no cache is refreshed either
    ASSERT_EQ(CreateFileAssociation("/opt/Reel Vault/rv"), kXdgMimeMissing);
    EXPECT_EQ(ExecLine(user.Read(kEntry)), R"(Exec="/opt/Reel Vault/rv" %f)");
    const std::string entry = user.Read(kEntry), package = user.Read(kPackage), icon = user.Read(kIcon);

    EXPECT_EQ(CreateFileAssociation("/opt/Reel Vault/rv"), kXdgMimeMissing);
    EXPECT_EQ(user.Read(kEntry), entry);
    EXPECT_EQ(user.Read(kPackage), package);
    EXPECT_EQ(user.Read(kIcon), icon);
    std::set<std::string> written;
    for (const auto& file : std::filesystem::recursive_directory_iterator(user.folder.Root()))
        if (file.is_regular_file()) written.insert(file.path().string().substr(user.folder.Root().size() + 1));
    EXPECT_EQ(written, (std::set<std::string>{"data/" + kEntry, "data/" + kPackage, "data/" + kIcon}));

    CreateFileAssociation(R"(/opt/My "Reel" $vault\bin/rv%)");
    EXPECT_EQ(ExecLine(user.Read(kEntry)), R"(Exec="/opt/My \\"Reel\\" \\$vault\\\\bin/rv%%" %f)");
    CreateFileAssociation("/usr/bin/rv");
    EXPECT_EQ(ExecLine(user.Read(kEntry)), "Exec=/usr/bin/rv %f");
}

TEST(FileAssociation, TheDesktopThenOpensCataloguesWithTheProgram) {
    if (!Installed("xdg-mime")) GTEST_SKIP() << "xdg-mime is not installed (it comes with xdg-utils)";
    PrivateDesktop user;
    ASSERT_EQ(CreateFileAssociation("/opt/Reel Vault/rv"), "");
    if (Installed("desktop-file-validate")) {
        EXPECT_EQ(Output("desktop-file-validate " + user.folder.Path("data/" + kEntry) + " 2>&1"), "");
    }
    // A generic desktop tells types with File::MimeInfo; without it xdg-mime knows only the system's.
    if (Installed("mimetype")) {
        // The glob and the SQLite magic must agree, so the file gets a real SQLite header.
        const std::string header = std::string("SQLite format 3\0", 16) + std::string(84, '\0');
        EXPECT_EQ(Output("xdg-mime query filetype " + user.folder.Write("films.rvd", header)), kMimeType);
    }
    EXPECT_EQ(Output("xdg-mime query default " + kMimeType), kId + ".desktop");
}
