// SPDX-License-Identifier: GPL-3.0-or-later
// The walk the maintenance tools share: every loaded record in order, progress reported, a stop when
// the user asks or a write fails, and the writes grouped in batches.
#pragma once

#include <functional>
#include <string>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// The writes for one record: "" or why they failed. Empty when the record needs none.
using RecordWrites = std::function<std::string()>;

// visit is shown each record and answers with its writes. Changed counts the records whose writes
// are committed; a cancel or a failure keeps what was committed before it.
ToolResult WalkRecords(Catalogue& catalogue, ToolHost& host, const std::function<RecordWrites(const FileRecord&)>& visit);
