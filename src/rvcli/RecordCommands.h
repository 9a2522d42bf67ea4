// SPDX-License-Identifier: GPL-3.0-or-later
// Making a catalogue and adding, changing and deleting its file records: new, add, update, delete.
#pragma once

#include "rvcli/Session.h"

void AddRecordCommands(CLI::App& app, Commands& commands);
