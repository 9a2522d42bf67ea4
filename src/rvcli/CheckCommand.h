// SPDX-License-Identifier: GPL-3.0-or-later
// check: whether a catalogue is in good order, and what is wrong with it when it is not.
#pragma once

#include "rvcli/Session.h"

void AddCheckCommand(CLI::App& app, Commands& commands);
