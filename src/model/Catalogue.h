// SPDX-License-Identifier: GPL-3.0-or-later
// The open catalogue and the sets loaded from it: the three record sets, and the drives its records
// lie on. A program makes one and hands it to whatever needs it; tests make as many as they like.
#pragma once

#include <functional>
#include <string>

#include "drives/DriveSet.h"
#include "model/clsCategory.h"
#include "model/clsFile.h"
#include "model/clsFileType.h"
#include "store/OwnTables.h"
#include "store/clsSQLite.h"

struct Catalogue {
    clsSQLite Store;
    clsCategory Categories;
    clsFileType FileTypes;
    clsFile Files;
    DriveSet Drives;
    OwnTablesStatus OwnTables;  // as the last Reload found or made them

    // Reloads the sets from the open catalogue. Returns "" or the first engine message.
    // A catalogue that may be written first gets the program's own tables, or their next version;
    // then records another program added or moved are given their drives, and the rows of records
    // it deleted go. What could not be written then is said once in OwnTables.Note, and the sets
    // are loaded all the same.
    // mayWrite, when given, is asked before the first write and says why none may be made ("" when
    // they may): the load then goes on reading without them, as from a read-only catalogue.
    std::string Reload(const clsFile::LoadProgress& progress = {}, const std::function<std::string()>& mayWrite = {});

private:
    std::string ReconcileDrives(const std::function<std::string()>& mayWrite);
};
