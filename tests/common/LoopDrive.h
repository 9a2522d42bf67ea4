// SPDX-License-Identifier: GPL-3.0-or-later
// A real drive for a test: a filesystem image made with a chosen UUID and label, loop-mounted where
// the test says, unmounted again in every outcome. Needs root and loop devices; where mounting is
// refused, Skip() says why and the test should skip with it.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class LoopDrive {
public:
    enum class Kind { Ext4, Xfs };

    // Makes the image at image (ext4 16 MiB, xfs 300 MiB, the least it takes).
    LoopDrive(std::string image, std::string uuid, std::string label, Kind kind = Kind::Ext4)
        : image_(std::move(image)) {
        const bool xfs = kind == Kind::Xfs;
        if (!Run({"truncate", "-s", xfs ? "300M" : "16M", image_})) {
            Refuse("cannot make an image file");
            return;
        }
        const bool made = xfs ? Run({"mkfs.xfs", "-q", "-f", "-m", "uuid=" + uuid, "-L", label, image_})
                              : Run({"mkfs.ext4", "-q", "-F", "-U", uuid, "-L", label, image_});
        if (!made) Refuse(std::string(xfs ? "mkfs.xfs" : "mkfs.ext4") + " failed or is missing");
    }
    LoopDrive(const LoopDrive&) = delete;
    LoopDrive& operator=(const LoopDrive&) = delete;
    ~LoopDrive() { Unmount(); }

    // Mounts the image at place (made when missing). False, with Skip() saying why, when refused.
    bool Mount(const std::string& place) {
        if (!skip_.empty()) return false;
        OwnMountTable();
        Unmount();
        std::filesystem::create_directories(place);
        if (!Run({"mount", "-o", "loop", image_, place})) return Refuse("mount -o loop was refused (root and loop devices needed)");
        place_ = place;
        return true;
    }
    void Unmount() {
        if (place_.empty()) return;
        // A later test must not find this drive still mounted: if something holds it, detach it.
        if (!Run({"umount", place_})) Run({"umount", "-l", place_});
        place_.clear();
    }
    const std::string& Place() const { return place_; }
    const std::string& Skip() const { return skip_; }

    // The test's drives live in a mount table of the process's own, as do the commands it runs: a
    // second run of the tests at the same time, whose drives have the same UUIDs, never sees them
    // (nor they its), and a run that dies leaves nothing mounted. Made once, on the first mount; a
    // test that watches the table before it (a descriptor of /proc/self/mountinfo stays with the
    // table it was opened in) calls it first, before any thread starts.
    static void OwnMountTable() {
        [[maybe_unused]] static const bool own =
            unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }

private:
    bool Refuse(std::string why) {
        if (skip_.empty()) skip_ = "No real drive: " + std::move(why);
        return false;
    }
    static bool Run(const std::vector<std::string>& args) {
        std::string command;
        for (const std::string& arg : args) command += "'" + Quoted(arg) + "' ";
        const int status = std::system((command + ">/dev/null 2>&1").c_str());
        return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    static std::string Quoted(const std::string& arg) {
        std::string quoted;
        for (const char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted;
    }

    std::string image_;
    std::string place_;
    std::string skip_;
};
