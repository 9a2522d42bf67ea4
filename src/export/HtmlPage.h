// SPDX-License-Identifier: GPL-3.0-or-later
// Listed files as one web page that needs nothing else: its style and script are inside it, and
// its policy forbids it to load anything, so it opens the same on a machine without a network.
// The table sorts by a click on a header (numbers as numbers, texts in the reader's language with
// digits as numbers) and filters as one types.
#pragma once

#include <string>
#include <vector>

#include "export/ExportRows.h"

// The text as HTML character data or attribute value: &, <, >, " and ' as references, a carriage
// return as one (the parser would make it a line feed), and the characters that reorder text
// (bidirectional marks, embeddings, overrides and isolates) as references, so the page's source
// reads in order in any editor. The page itself still holds every character of the name.
void AppendHTMLText(std::string& out, const std::string& text);
std::string RenderHTMLPage(const ExportHeading& heading, const std::vector<ExportRow>& rows);
