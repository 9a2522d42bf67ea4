// SPDX-License-Identifier: GPL-3.0-or-later
// Re-points the records whose files were moved into one folder, and lists each in "move.log".
#pragma once

#include <string>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// Walks catalogue.Files as loaded; the caller reloads the sets afterwards. A record is moved to
// folder + its file name when that is an existing file other than its stored path, its old path no
// longer holds a file, and, where the record has a size, the sizes match. Common names make the
// same file fit several records: those are all left as they are and logged as not moved, as is a
// record whose new path another record holds already. An empty folder, or one that cannot be read,
// is refused with Error: nothing is moved and the log, started anew, is not shown. Changed: records
// re-pointed; Skipped: records logged as not moved.
ToolResult DetectMovedFiles(Catalogue& catalogue, const std::string& folder, ToolHost& host);
