// SPDX-License-Identifier: GPL-3.0-or-later
// Making the desktop open catalogue files (*.rvd) with Reelvault, for the current user only.
#pragma once

#include <string>

// Writes a desktop entry that starts programPath with the chosen file, the catalogue file type
// and the program's icon under DataHome() (applications/, mime/packages/, icons/hicolor/), then
// refreshes the desktop's caches there and makes the entry the default for catalogues. Only the
// last step writes elsewhere: xdg-mime keeps defaults in the user's config folder. The same path
// always gives the same files. Returns "" on success, otherwise the step that failed and why.
std::string CreateFileAssociation(const std::string& programPath);
