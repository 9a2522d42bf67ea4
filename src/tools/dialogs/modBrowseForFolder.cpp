// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dialogs/modBrowseForFolder.h"

#include <QDir>
#include <QFileInfo>

#include "widgets/Prompts.h"

QString BrowseForFolder(QWidget* owner, Prompts& prompts, const QString& title, const QString& typed, const QString& lastDir) {
    const QString start = !typed.isEmpty() && QFileInfo(typed).isDir() ? typed : lastDir;
    return QDir::cleanPath(prompts.ChooseFolder(owner, title, start));
}
