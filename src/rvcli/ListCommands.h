// SPDX-License-Identifier: GPL-3.0-or-later
// Showing files: list (the whole catalogue, sorted as the list sorts) and search.
#pragma once

#include "rvcli/Session.h"

void AddListCommands(CLI::App& app, Commands& commands);
