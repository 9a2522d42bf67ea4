// SPDX-License-Identifier: GPL-3.0-or-later
// Sets every record's file type again from its file name's extension.
#pragma once

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// Walks catalogue.Files as loaded; the caller reloads the sets afterwards. A record whose extension
// no type owns keeps its type; one already right is not written. Changed: records rewritten.
ToolResult DetectFileTypes(Catalogue& catalogue, ToolHost& host);
