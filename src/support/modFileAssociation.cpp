// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modFileAssociation.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "data/DesktopFiles.h"
#include "support/modAtomicFile.h"
#include "support/modUtilities.h"

extern char** environ;

namespace {

using namespace desktop_files;

// The installed entry starts the program from PATH; a per-user one names the program itself.
constexpr std::string_view kInstalledExec = "\nExec=rv %f\n";
static_assert(kDesktopEntry.find(kInstalledExec) != std::string_view::npos);

// Launchers split Exec= like a shell would, so a path with any of these must be quoted.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

std::string QuoteExecArgument(const std::string& argument) {
    const bool quoted = argument.find_first_of(kReservedInExec) != std::string::npos;
    std::string text = quoted ? "\"" : "";
    for (const char c : argument) {
        if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) text += '\\';
        text += c;
        if (c == '%') text += '%';  // a lone "%" would begin a field code
    }
    return quoted ? text + '"' : text;
}

// Every value of a desktop entry is read as a string first, which undoes one level of escapes.
std::string EscapeDesktopString(const std::string& value) {
    std::string text;
    for (const char c : value) {
        switch (c) {
            case '\\': text += "\\\\"; break;
            case '\n': text += "\\n"; break;
            case '\t': text += "\\t"; break;
            case '\r': text += "\\r"; break;
            default: text += c;
        }
    }
    return text;
}

std::string DesktopEntryFor(const std::string& programPath) {
    std::string entry(kDesktopEntry);
    const std::string exec = "\nExec=" + EscapeDesktopString(QuoteExecArgument(programPath)) + " %f\n";
    return entry.replace(entry.find(kInstalledExec), kInstalledExec.size(), exec);
}

std::string WriteWithFolders(const std::filesystem::path& path, const std::string& contents) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) return "Could not create " + path.parent_path().string() + ": " + error.message();
    return WriteFileAtomically(path.string(), contents);
}

struct ChildResult {
    bool absent = false;
    std::string error;  // "" when it ran and exited with 0
};

ChildResult RunToEnd(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string& program = arguments[0];
    pid_t child = 0;
    const int error = posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ);
    if (error == ENOENT) return {true, program + " was not found"};
    if (error != 0) return {false, program + " could not start: " + std::strerror(error)};
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return {false, program + " could not be waited for: " + std::strerror(errno)};
    if (WIFSIGNALED(status)) return {false, program + " was ended by signal " + std::to_string(WTERMSIG(status))};
    const int exitStatus = WEXITSTATUS(status);
    if (exitStatus != 0) return {false, program + " failed with status " + std::to_string(exitStatus)};
    return {};
}

// Without these caches the desktop learns of the new files only at its next scan, which is fine.
std::string RefreshCaches(const std::string& dataHome) {
    for (const auto& [program, folder] :
         {std::pair{"update-mime-database", "mime"}, std::pair{"update-desktop-database", "applications"}}) {
        const ChildResult result = RunToEnd({program, dataHome + folder});
        if (!result.absent && !result.error.empty())
            return "Could not refresh " + dataHome + folder + ": " + result.error;
    }
    return {};
}

std::string MakeDefault() {
    const ChildResult result =
        RunToEnd({"xdg-mime", "default", std::string(kAppId) + ".desktop", std::string(kMimeType)});
    if (result.error.empty()) return {};
    return "Could not make Reelvault the default program for .rvd files: " + result.error +
           (result.absent ? " (it comes with xdg-utils)" : "");
}

}  // namespace

std::string CreateFileAssociation(const std::string& programPath) {
    if (programPath.empty()) return "Could not write the desktop entry: the program's path is empty";
    const std::string dataHome = DataHome();
    const std::string id(kAppId);
    const std::pair<std::string, std::string> files[] = {
        {"applications/" + id + ".desktop", DesktopEntryFor(programPath)},
        {"mime/packages/" + id + ".xml", std::string(kMimePackage)},
        {"icons/hicolor/scalable/apps/" + id + ".svg", std::string(kIcon)},
    };
    for (const auto& [relativePath, contents] : files)
        if (std::string error = WriteWithFolders(dataHome + relativePath, contents); !error.empty()) return error;
    if (std::string error = RefreshCaches(dataHome); !error.empty()) return error;
    return MakeDefault();
}
