// SPDX-License-Identifier: GPL-3.0-or-later
// Replaces a piece of text in the stored paths of all records.
#pragma once

#include <string>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

// Every occurrence of find in each path of catalogue.Files (case-sensitive, left to right, not
// overlapping, replaced text not looked at again) becomes replace. An empty find changes nothing
// and says "You must enter text to find". The caller reloads the sets afterwards. Changed: records
// rewritten.
ToolResult FindReplace(Catalogue& catalogue, const std::string& find, const std::string& replace, ToolHost& host);

// The text with every occurrence of find replaced, as above.
std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& replace);

// How many of the loaded records FindReplace would rewrite: those whose paths hold find. 0 for an
// empty find.
int CountPathsContaining(const clsFile& files, const std::string& find);
