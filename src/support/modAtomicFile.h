// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a whole file so that readers never meet half of it.
#pragma once

#include <string>

// Writes contents to path + ".new", flushes it to the disk and renames it over path, so the file
// holds either its old contents or the new ones, even after a crash. Returns "" or
// "Could not write <path>: <reason>"; on failure the old file is left as it was.
std::string WriteFileAtomically(const std::string& path, const std::string& contents);
