// SPDX-License-Identifier: GPL-3.0-or-later
// Carries out the ticked rows of a refresh plan, logging each in "refresh.log".
#pragma once

#include "model/Catalogue.h"
#include "refresh/RefreshPlan.h"
#include "tools/ToolHost.h"

// Each ticked row of kind New, Moved, Changed or Missing is checked again first: a row that no
// longer holds (the file changed, came back or went since the plan) is skipped and logged.
// - New: the file is catalogued with the CRC and hash the plan read, its type by extension and
//   its media facts.
// - Moved: the record is re-pointed and keeps its FileID, title, rating, category and keywords;
//   its drive link and the keys of its hash, facts and frame follow its path.
// - Changed: CRC, size, length, FourCC, hash and facts are written anew.
// - Missing: the record is deleted.
// Rows are written in transactions of bounded size; a stop asked through host keeps what was
// committed and says how far it got. A drive that is away before or during the run stops it with
// Error, and nothing more is written: no record of a drive that is away is ever deleted.
// Changed: rows applied; Skipped: rows that no longer held. The caller reloads the sets.
ToolResult ApplyRefresh(Catalogue& catalogue, const RefreshPlan& plan, ToolHost& host);
