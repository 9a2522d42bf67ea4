// SPDX-License-Identifier: GPL-3.0-or-later
// The records' frames: frame writes one record's, frames makes those the catalogue lacks.
#pragma once

#include "rvcli/Session.h"

void AddFrameCommands(CLI::App& app, Commands& commands);
