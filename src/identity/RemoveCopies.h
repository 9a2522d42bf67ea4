// SPDX-License-Identifier: GPL-3.0-or-later
// Takes copies found by Duplicates out of the catalogue, and their files to the desktop's trash when
// asked, never the last copy of its contents.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

struct RemovalRequest {
    std::vector<int> FileIDs;  // the records ticked
    bool ToTrash = false;      // their files go to the trash too; otherwise the records alone
};

// Moves the file at path to the trash: "" or why it could not. The window's uses Qt's
// QFile::moveToTrash; the core knows no Qt.
using TrashMover = std::function<std::string(const std::string& path)>;

// Removes the ticked records, in batches, logging each in "copies.log". With ToTrash a file is
// moved, and then its record removed, only when
// - another copy of its contents stays: a record not ticked, at another path, whose file is still
//   as it was hashed (or whose drive is away: the catalogue's word is taken for it). Where every
//   copy of some contents is ticked, none of them is moved: which to keep is the user's choice;
// - its drive is plugged in, and the file is still as it was hashed, so it is the duplicate that
//   was found and not a file edited since.
// Records alone may all go: their files stay where they are. Changed: records removed; Skipped:
// copies refused, each logged with its reason.
ToolResult RemoveCopies(Catalogue& catalogue, const RemovalRequest& request, const TrashMover& moveToTrash, ToolHost& host);
