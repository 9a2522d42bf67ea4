// SPDX-License-Identifier: GPL-3.0-or-later
// refresh: shows what changed under folders or on a drive, and with --apply brings the catalogue
// in step with it (log: refresh.log).
#pragma once

#include "rvcli/Session.h"

void AddRefreshCommand(CLI::App& app, Commands& commands);
