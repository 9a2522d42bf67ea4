// SPDX-License-Identifier: GPL-3.0-or-later
// The bulk tools: load, remove-missing, detect-types, detect-moved and replace; and facts, which
// prints the media facts or reads them again.
#pragma once

#include "rvcli/Session.h"

void AddToolCommands(CLI::App& app, Commands& commands);
