// SPDX-License-Identifier: GPL-3.0-or-later
// Files known by their contents: duplicates, single-copies and verify.
#pragma once

#include "rvcli/Session.h"

void AddIdentityCommands(CLI::App& app, Commands& commands);
