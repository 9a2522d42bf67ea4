// SPDX-License-Identifier: GPL-3.0-or-later
// Deletes the records whose files are gone, listing each in "delete.log".
#pragma once

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// Walks catalogue.Files as loaded; the caller reloads the sets afterwards. A record is deleted only
// when its drive is plugged in where its path says, its folder exists and can be read on that drive,
// and the file is not in it. A record whose drive is away (not plugged in, mounted elsewhere, or
// unplugged during the run; or a path in the empty folder where a drive belongs) is kept and counted
// in DriveAway: an empty folder where a drive was is not the drive. A file out of reach (its folder
// missing or unreadable) is kept and logged as skipped. The log is appended to, not started anew.
// Changed: records deleted; Skipped: records kept as out of reach.
ToolResult RemoveMissingFiles(Catalogue& catalogue, ToolHost& host);

// What a run of RemoveMissingFiles would do now, for asking the user first: the same walk and the
// same test, writing nothing and no log. Changed: records it would delete; Skipped: records out of
// reach; DriveAway: records whose drive is away. A stop asked through host leaves the counts of the records seen by then.
ToolResult CountMissingFiles(Catalogue& catalogue, ToolHost& host);
