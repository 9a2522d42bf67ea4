// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the media facts of catalogued files again, for records made before facts were kept or
// files changed since, listing what it could not read in "facts.log".
#pragma once

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// Probes the file of every loaded record (several at once) and replaces its facts: a file that is
// media gets the facts read now, one that no longer is loses its old ones. A file that cannot be
// read (its drive away, no access) keeps what it had and is counted in Skipped; one that is not
// media is logged with the reason. Writes nothing, with Error saying why, where the catalogue's own
// tables are not this program's to write. Changed: records whose facts were written or dropped.
// A cancel keeps the facts committed before it.
ToolResult ReadMediaFacts(Catalogue& catalogue, ToolHost& host);
