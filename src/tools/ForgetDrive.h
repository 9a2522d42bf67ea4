// SPDX-License-Identifier: GPL-3.0-or-later
// Forgets a drive: its records go from the catalogue, with their keywords' links and our rows.
#pragma once

#include <string>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// How many loaded records lie on the drive with this ID: what forgetting it deletes.
int RecordsOnDrive(const Catalogue& catalogue, int driveID);

// Deletes every loaded record of the drive named name and then the drive, in one transaction: all
// or nothing. The files themselves are not touched. The caller reloads the sets afterwards.
// Changed: records deleted.
ToolResult ForgetDrive(Catalogue& catalogue, const std::string& name, ToolHost& host);
