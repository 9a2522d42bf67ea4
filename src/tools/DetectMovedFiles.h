// SPDX-License-Identifier: GPL-3.0-or-later
// Re-points every record whose file name is found in the folder the files were moved to, and
// lists each in "move.log".
#pragma once

#include <string>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// Walks catalogue.Files as loaded; the caller reloads the sets afterwards. A record is moved when
// folder + its file name names an existing file and differs from its stored path; nothing else
// (CRC, size, the old place) is looked at. Changed: records re-pointed.
ToolResult DetectMovedFiles(Catalogue& catalogue, const std::string& folder, ToolHost& host);
