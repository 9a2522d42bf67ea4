// SPDX-License-Identifier: GPL-3.0-or-later
// A file this process may read but neither write nor put a journal beside, as on a read-only
// medium, for as long as the guard lives.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

// Reads files as an unprivileged user would, for as long as it lives; root reads and writes
// everything whatever the modes say.
class WithoutRootRights {
public:
    WithoutRootRights() : dropped_(geteuid() == 0 && seteuid(65534) == 0) {}
    WithoutRootRights(const WithoutRootRights&) = delete;
    WithoutRootRights& operator=(const WithoutRootRights&) = delete;
    ~WithoutRootRights() {
        if (dropped_ && seteuid(0) != 0) std::abort();  // later tests would run with the wrong rights
    }
    bool Usable() const { return geteuid() != 0; }

private:
    bool dropped_;
};

// The file must lie in a folder of its own inside a TempFolder: that folder loses its write
// permission too, and the TempFolder is opened to the unprivileged user.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path) : folder_(std::filesystem::path(path).parent_path()) {
        chmod(folder_.parent_path().c_str(), 0755);
        chmod(path.c_str(), 0444);
        chmod(folder_.c_str(), 0555);
        rights_.emplace();  // after the modes: nobody may not change them
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile() {
        rights_.reset();
        chmod(folder_.c_str(), 0755);  // so that the TempFolder can be removed
    }

    bool Usable() const { return rights_->Usable(); }

private:
    std::filesystem::path folder_;
    std::optional<WithoutRootRights> rights_;
};
