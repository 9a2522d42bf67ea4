// SPDX-License-Identifier: GPL-3.0-or-later
// The drives a catalogue's records lie on: drives (the list) and drive (rename, rebind, forget).
#pragma once

#include <optional>
#include <string>

#include "rvcli/Session.h"

void AddDriveCommands(CLI::App& app, Commands& commands);

// The options list and search share: --drive NAME, --plugged-in, --not-plugged-in.
struct DriveFilter {
    std::string Drive;
    bool PluggedIn = false;
    bool NotPluggedIn = false;
};
void AddDriveFilter(CLI::App* command, DriveFilter& filter);
// The drive's ID and the plug state asked for; Error when no drive has that name.
struct DriveChoice {
    std::optional<int> DriveID;
    std::optional<bool> PluggedIn;
    std::string Error;
};
DriveChoice ChooseDrive(const Catalogue& catalogue, const DriveFilter& filter);
