// SPDX-License-Identifier: GPL-3.0-or-later
// A real drive for a test: an ext4 image with a chosen UUID and label, loop-mounted in the test's
// folder, and unmounted, its loop device freed, whatever the outcome. Declare it after the folder
// it lies in, so it goes first.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/TempFolder.h"

extern char** environ;

// Runs a program with its output thrown away; true when it exits 0.
inline bool RunQuietly(const std::vector<std::string>& command) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = -1;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class LoopDrive {
public:
    LoopDrive(const TempFolder& folder, const std::string& label, const std::string& uuid)
        : image_(folder.Path(label + ".img")), place_(folder.Path(label)) {
        std::filesystem::create_directories(place_);
        if (!RunQuietly({"truncate", "-s", "16M", image_}) ||
            !RunQuietly({"mkfs.ext4", "-q", "-F", "-U", uuid, "-L", label, image_})) {
            skipReason_ = "mkfs.ext4 could not make a filesystem image";
            return;
        }
        mounted_ = RunQuietly({"mount", "-o", "loop", image_, place_});
        if (!mounted_) skipReason_ = "mount -o loop was refused (not root, or no loop devices)";
    }
    LoopDrive(const LoopDrive&) = delete;
    LoopDrive& operator=(const LoopDrive&) = delete;
    ~LoopDrive() { Unplug(); }

    // "" when the drive is mounted; otherwise why a test cannot have it.
    const std::string& SkipReason() const { return skipReason_; }
    // Where it is mounted; an empty folder of the disk beneath once it is unplugged.
    std::string Path(const std::string& relative = {}) const { return place_ + "/" + relative; }

    bool Unplug() {
        if (mounted_ && RunQuietly({"umount", place_})) mounted_ = false;
        return !mounted_;
    }
    bool PlugIn() {
        if (!mounted_) mounted_ = RunQuietly({"mount", "-o", "loop", image_, place_});
        return mounted_;
    }

private:
    std::string image_;
    std::string place_;
    std::string skipReason_;
    bool mounted_ = false;
};
