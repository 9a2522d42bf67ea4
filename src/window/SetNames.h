// SPDX-License-Identifier: GPL-3.0-or-later
// The names of a catalogue's categories and file types, in the sets' order, as the tabs' lists
// and combo boxes show them.
#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

#include "model/clsCategory.h"
#include "model/clsFileType.h"

QStringList NamesOf(clsCategory& categories);
QStringList NamesOf(clsFileType& fileTypes);
// Each type's ID with its name.
std::vector<std::pair<int, QString>> EntriesOf(clsFileType& fileTypes);
