// SPDX-License-Identifier: GPL-3.0-or-later
// Every file under a folder with what its inode says of it, read in one pass of directory reads
// and stats, and nothing opened: what Refresh compares the catalogue with.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analysis/cFile.h"

struct WalkedFile {
    std::string Path;
    FileStamp Stamp;  // of the file a link leads to, for a link
};

struct UnreadableFolder {
    std::string Path;    // with a "/" at its end
    std::string Reason;  // the system's
};

struct TreeListing {
    std::vector<WalkedFile> Files;             // paths in byte order at each level, folders entered where they fall
    std::vector<UnreadableFolder> Unreadable;  // sub-folders that could not be listed; the walk went on
    std::string Error;                         // "" or why the folder itself could not be read
};

// Opens a folder below parent (a descriptor) for listing: the descriptor, or -1 with errno set.
// The walk uses openat; tests put a failing one in its place, since root reads every folder.
using FolderOpener = std::function<int(int parent, const char* name)>;

// Walks folder and its sub-folders. Hidden entries count like any other. Links to files are
// listed with their target's stamp; links to folders are not entered, so a loop of links cannot
// trap the walk. Entries that are neither files nor folders (sockets, devices) are left out.
TreeListing WalkTree(const std::string& folder, const FolderOpener& open = {});
