// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue's vocabularies: category and type, each with list, add or save, and delete.
#pragma once

#include "rvcli/Session.h"

void AddVocabularyCommands(CLI::App& app, Commands& commands);

// An extension as the file types keep it: the text after its last ".", in lower case.
std::string NormalExtension(const std::string& text);
