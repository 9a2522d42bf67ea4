// SPDX-License-Identifier: GPL-3.0-or-later
// A look through a catalogue for damage: the engine's own integrity check, and references and
// values that no program of ours would have written.
#pragma once

#include <string>
#include <vector>

// Every problem found, one sentence each; none when the catalogue is in good order. Reads the
// file without changing it.
std::vector<std::string> CheckCatalogue(const std::string& path);
