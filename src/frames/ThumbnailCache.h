// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's shared thumbnail cache, as file managers keep it: a PNG of 256 pixels at most per
// file under large/, named by the MD5 of the file's file:// address, and trusted only while the
// file's modification time (whole seconds) equals the one the PNG keeps. A file of which no
// thumbnail can be made is noted under fail/reelvault/, so that no program of ours tries it again
// while it is unchanged. Folders are made 0700 and files 0600 (thumbnails show what private files
// hold); a PNG is written under a temporary name and renamed, so no reader sees half of one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The edge of the square a large thumbnail fits in.
inline constexpr int kThumbnailEdge = 256;

class ThumbnailCache {
public:
    // The cache at root (for tests); the desktop's own is at DesktopRoot().
    explicit ThumbnailCache(std::string root) : root_(std::move(root)) {}

    // $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails when that is unset or not absolute; ""
    // when not even the home folder is known.
    static std::string DesktopRoot();

    // file:// and the absolute path, each byte outside the unreserved characters and !$&'()*+,;=:@/
    // written as %XX, as the desktop's file managers write it.
    static std::string FileUri(const std::string& path);
    // The thumbnail's file name: the MD5 of the address in lower-case hex, and ".png".
    static std::string NameOf(const std::string& path);

    const std::string& Root() const { return root_; }
    std::string LargePath(const std::string& path) const;
    std::string FailPath(const std::string& path) const;

    // The large thumbnail of the file whose modification time is mtime, when the cache holds one
    // made of it as it is now (its Thumb::URI the file's address, its Thumb::MTime equal to mtime);
    // nullopt otherwise.
    std::optional<std::string> Find(const std::string& path, std::int64_t mtime) const;
    // Whether a failure to make the file's thumbnail is noted for the file as it is now.
    bool Failed(const std::string& path, std::int64_t mtime) const;

    // Writes rgb (width x height, 3 bytes a pixel, rows packed) as the file's large thumbnail,
    // with the file's address, modification time and size. "" or a sentence saying what failed.
    std::string Store(const std::string& path, std::int64_t mtime, std::int64_t size, const std::vector<unsigned char>& rgb,
                      int width, int height) const;
    // Notes that no thumbnail can be made of the file as it is now. "" or a sentence.
    std::string StoreFailure(const std::string& path, std::int64_t mtime, std::int64_t size) const;

private:
    std::string root_;
};
