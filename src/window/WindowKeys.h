// SPDX-License-Identifier: GPL-3.0-or-later
// The window's keys that no other control carries: Ctrl+F to search by file name, and F5 (File >
// Reload) to read the catalogue again, as another program may have changed it.
#pragma once

#include <QObject>

class QMenu;
class QWidget;

class WindowKeys : public QObject {
    Q_OBJECT

public:
    // The keys work anywhere in window; Reload goes at the end of the file menu.
    WindowKeys(QWidget* window, QMenu* file);

Q_SIGNALS:
    void FindWanted();
    void ReloadWanted();
};
