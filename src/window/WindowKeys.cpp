// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowKeys.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

WindowKeys::WindowKeys(QWidget* window, QMenu* file) : QObject(window) {
    QAction* reload = new QAction(tr("&Reload"), this);
    reload->setObjectName(QStringLiteral("mnuReload"));
    reload->setShortcut(QKeySequence(Qt::Key_F5));
    file->addAction(reload);
    // No menu holds it: the Search tab is where it leads, and that is one click away.
    QAction* find = new QAction(tr("Find by File Name"), this);
    find->setObjectName(QStringLiteral("actFind"));
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    window->addAction(find);
    connect(find, &QAction::triggered, this, &WindowKeys::FindWanted);
    connect(reload, &QAction::triggered, this, &WindowKeys::ReloadWanted);
}
