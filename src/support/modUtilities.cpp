// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modUtilities.h"

#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

extern char** environ;

namespace {

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/tmp";
}

std::string XdgFolder(const char* variable, const char* underHome) {
    // Relative values are to be ignored, by the desktop's own rules.
    if (const char* folder = std::getenv(variable); folder && folder[0] == '/') return folder;
    return HomeDirectory() + underHome;
}

struct SpawnActions {
    posix_spawn_file_actions_t actions;
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
};

struct SpawnAttributes {
    posix_spawnattr_t attributes;
    SpawnAttributes() { posix_spawnattr_init(&attributes); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
};

}  // namespace

std::string AppPath() {
    std::string folder = XdgFolder("XDG_CONFIG_HOME", "/.config");
    if (!folder.ends_with('/')) folder += '/';
    folder += "reelvault/";
    std::error_code ignored;  // reported where a file is written there
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

std::string DataHome() {
    std::string folder = XdgFolder("XDG_DATA_HOME", "/.local/share");
    return folder.ends_with('/') ? folder : folder + '/';
}

std::string GetFileName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetDirectory(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

std::string GetExtension(const std::string& path) {
    const auto dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string ShellOpen(const std::string& target) {
    // A name starting with "-" would be read as an option.
    const std::string argument = target.starts_with('-') ? "./" + target : target;
    SpawnActions actions;
    const std::string directory = GetDirectory(target);
    std::error_code ignored;
    // A relative target must stay relative to our own folder.
    if (target.starts_with('/') && std::filesystem::is_directory(directory, ignored))
        posix_spawn_file_actions_addchdir_np(&actions.actions, directory.c_str());
    SpawnAttributes attributes;
    // Its own session, so the opened program outlives a terminal that started us.
    posix_spawnattr_setflags(&attributes.attributes, POSIX_SPAWN_SETSID);

    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(argument.c_str()), nullptr};
    pid_t child = 0;
    const int error = posix_spawnp(&child, "xdg-open", &actions.actions, &attributes.attributes, argv, environ);
    if (error != 0) return std::string("Could not start xdg-open: ") + std::strerror(error);
    // Reap it when it ends, without waiting here.
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
    return {};
}
