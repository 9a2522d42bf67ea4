// SPDX-License-Identifier: GPL-3.0-or-later
#include "refresh/TreeWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};
using Folder = std::unique_ptr<DIR, FolderCloser>;

FileStamp StampOf(const struct stat& info) {
    return {static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

int OpenBelow(int parent, const char* name) { return openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW); }

class Walk {
public:
    Walk(const FolderOpener& open, TreeListing& listing) : open_(open ? open : OpenBelow), listing_(listing) {}

    // Lists the folder whose descriptor fd is (taken over) and what lies below it.
    void List(int fd, const std::string& path) {
        const Folder folder(fdopendir(fd));
        if (!folder) {
            close(fd);
            return;
        }
        std::vector<std::string> names;
        errno = 0;
        while (const dirent* entry = readdir(folder.get())) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) names.emplace_back(entry->d_name);
        }
        // A listing cut short (a drive pulled out, a bad sector) would make the rest look deleted.
        if (errno != 0) {
            listing_.Unreadable.push_back({path, std::strerror(errno)});
            return;
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) Visit(dirfd(folder.get()), path, name);
    }

private:
    void Visit(int parent, const std::string& path, const std::string& name) {
        struct stat info {};
        if (fstatat(parent, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return;  // gone since the listing
        if (S_ISDIR(info.st_mode)) {
            const int fd = open_(parent, name.c_str());
            if (fd < 0) {
                listing_.Unreadable.push_back({path + name + "/", std::strerror(errno)});
                return;
            }
            List(fd, path + name + "/");
            return;
        }
        if (S_ISLNK(info.st_mode) && fstatat(parent, name.c_str(), &info, 0) != 0) return;  // a dangling link
        if (S_ISREG(info.st_mode)) listing_.Files.push_back({path + name, StampOf(info)});
    }

    FolderOpener open_;
    TreeListing& listing_;
};

}  // namespace

TreeListing WalkTree(const std::string& folder, const FolderOpener& open) {
    TreeListing listing;
    const std::string root = folder.ends_with('/') ? folder : folder + "/";
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        listing.Error = "Cannot read the folder " + folder + ": " + std::strerror(errno);
        return listing;
    }
    Walk(open, listing).List(fd, root);
    return listing;
}
