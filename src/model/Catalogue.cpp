// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Catalogue.h"

std::string Catalogue::Reload(const clsFile::LoadProgress& progress) {
    std::string error = Categories.LoadFromDatabase(Store);
    if (std::string next = FileTypes.LoadFromDatabase(Store); error.empty()) error = next;
    if (std::string next = Files.LoadFromDatabase(Store, progress); error.empty()) error = next;
    return error;
}
