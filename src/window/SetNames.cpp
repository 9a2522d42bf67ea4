// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/SetNames.h"

QStringList NamesOf(clsCategory& categories) {
    QStringList names;
    for (bool more = categories.MoveFirst(); more; more = categories.MoveNext()) names.append(QString::fromStdString(categories.Category()));
    return names;
}

QStringList NamesOf(clsFileType& fileTypes) {
    QStringList names;
    for (bool more = fileTypes.MoveFirst(); more; more = fileTypes.MoveNext()) names.append(QString::fromStdString(fileTypes.FileType()));
    return names;
}

std::vector<std::pair<int, QString>> EntriesOf(clsFileType& fileTypes) {
    std::vector<std::pair<int, QString>> entries;
    for (bool more = fileTypes.MoveFirst(); more; more = fileTypes.MoveNext())
        entries.emplace_back(fileTypes.FileTypeID(), QString::fromStdString(fileTypes.FileType()));
    return entries;
}
