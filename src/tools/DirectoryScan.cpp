// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DirectoryScan.h"

#include <dirent.h>
#include <fnmatch.h>
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

struct Entry {
    std::string name;
    unsigned char type;  // DT_REG, DT_DIR, DT_LNK, or DT_UNKNOWN when the file system does not say
    bool operator<(const Entry& other) const { return name < other.name; }
};

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string CannotRead(const std::string& folder, int reason) {
    return "Cannot read the folder " + folder + ": " + std::strerror(reason);
}

std::vector<Entry> SortedEntries(DIR* folder) {
    std::vector<Entry> entries;
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] != '.') entries.push_back({entry->d_name, entry->d_type});
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The entry's kind without following a link, asking the file system only when the listing did not say.
unsigned char KindOf(const std::string& path, unsigned char listed) {
    if (listed != DT_UNKNOWN) return listed;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return DT_UNKNOWN;
    if (S_ISDIR(info.st_mode)) return DT_DIR;
    if (S_ISLNK(info.st_mode)) return DT_LNK;
    return S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
}

void Scan(const std::string& root, const std::string& relative, const std::string& patterns, bool recursive,
          std::vector<std::string>& files) {
    const Folder folder(opendir((root + relative).c_str()));
    if (!folder) return;
    for (const Entry& entry : SortedEntries(folder.get())) {
        const std::string path = root + relative + entry.name;
        const unsigned char kind = KindOf(path, entry.type);
        if (kind == DT_DIR) {
            if (recursive) Scan(root, relative + entry.name + "/", patterns, recursive, files);
        } else if ((kind == DT_REG || (kind == DT_LNK && IsExistingFile(path))) && MatchesPatterns(entry.name, patterns)) {
            files.push_back(relative + entry.name);
        }
    }
}

}  // namespace

bool IsExistingFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsReadableFolder(const std::string& folder) {
    const Folder opened(opendir(folder.empty() ? "." : folder.c_str()));
    return opened != nullptr;
}

bool MatchesPatterns(const std::string& name, const std::string& patterns) {
    std::size_t start = 0;
    while (start <= patterns.size()) {
        const std::size_t end = std::min(patterns.find(';', start), patterns.size());
        const std::string pattern = Trimmed(patterns.substr(start, end - start));
        if (!pattern.empty() && fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
        start = end + 1;
    }
    return false;
}

FolderListing ListMatchingFiles(const std::string& folder, const std::string& patterns, bool recursive) {
    const std::string root = folder.ends_with('/') ? folder : folder + "/";
    FolderListing listing;
    if (!IsReadableFolder(root)) {
        listing.Error = CannotRead(folder, errno);
        return listing;
    }
    Scan(root, "", patterns, recursive, listing.Files);
    return listing;
}

FileSizes ListFileSizes(const std::string& folder) {
    FileSizes sizes;
    const Folder opened(opendir(folder.c_str()));
    if (!opened) {
        sizes.Error = CannotRead(folder, errno);
        return sizes;
    }
    while (const dirent* entry = readdir(opened.get())) {
        struct stat info {};
        if (fstatat(dirfd(opened.get()), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode))
            sizes.Bytes.emplace(entry->d_name, info.st_size);
    }
    return sizes;
}
