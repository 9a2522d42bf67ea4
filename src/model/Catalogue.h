// SPDX-License-Identifier: GPL-3.0-or-later
// The open catalogue and the three record sets loaded from it. A program makes one and hands it to
// whatever needs it; tests make as many as they like.
#pragma once

#include <string>

#include "model/clsCategory.h"
#include "model/clsFile.h"
#include "model/clsFileType.h"
#include "store/clsSQLite.h"

struct Catalogue {
    clsSQLite Store;
    clsCategory Categories;
    clsFileType FileTypes;
    clsFile Files;

    // Reloads the three sets from the open catalogue. Returns "" or the first engine message.
    std::string Reload(const clsFile::LoadProgress& progress = {});
};
