// SPDX-License-Identifier: GPL-3.0-or-later
// Everything one run of the program keeps: the open catalogue with its sets, and the settings with
// the file they live in. main() makes one and hands it to the window.
#pragma once

#include "model/Catalogue.h"
#include "support/clsINIParse.h"
#include "support/modSettings.h"

struct AppState {
    Catalogue catalogue;
    clsINIParse ini;  // rv.ini, once LoadSettings has bound it
    Settings settings;
};
