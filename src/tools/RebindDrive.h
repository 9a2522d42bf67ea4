// SPDX-License-Identifier: GPL-3.0-or-later
// Re-points the records of a drive that is mounted at another place than their paths say: the same
// filesystem (by its identity), so each record's path inside the drive makes its new path exactly.
#pragma once

#include <string>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// How many loaded records of the drive do not lie where it is mounted now: what re-pointing it
// would change. 0 for a drive that is not plugged in, is plugged in only as a folder of it (a bind
// mount), or is claimed by two devices at once.
int RecordsToRepoint(const Catalogue& catalogue, const Drive& drive);

// Gives every record of the drive named name the path place + its path inside the drive, in one
// transaction: all of them or none. An empty place means where the drive is mounted now; that is
// refused with a sentence when it is not plugged in, or when two devices claim its identity (a
// cloned drive is not guessed at). Running it again with the old place undoes it. The drive's
// MountPoint becomes place. Writes "OLD RE-POINTED TO NEW" per record to "rebind.log" (started
// anew) and shows it. A stop asked through host before the commit writes nothing. The caller
// reloads the sets afterwards. Changed: records re-pointed.
ToolResult RebindDrive(Catalogue& catalogue, const std::string& name, const std::string& place, ToolHost& host);
