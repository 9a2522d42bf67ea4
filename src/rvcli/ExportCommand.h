// SPDX-License-Identifier: GPL-3.0-or-later
// rvcli export: a whole catalogue, or the files of a search, written as CSV or as a web page.
#pragma once

#include "rvcli/Session.h"

void AddExportCommand(CLI::App& app, Commands& commands);
