// SPDX-License-Identifier: GPL-3.0-or-later
// Driving a window's dialogs headless: controls found by name, buttons pressed, the tools they
// start waited for, and the controls a screen reader could not name.
#pragma once

#include <QAccessible>
#include <QPushButton>
#include <QTest>

#include <algorithm>

#include "tools/dialogs/frmToolProgress.h"

// The control of that name inside parent; the test stops when there is none.
template <class T>
T* In(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromUtf8(name));
    if (!found) qFatal("no control %s", name);
    return found;
}

inline void Press(QWidget* parent, const char* button) { QTest::mouseClick(In<QPushButton>(parent, button), Qt::LeftButton); }

// Whether a tool started from the window still runs on its worker.
inline bool ToolRunning(const QWidget* window) {
    const QList<frmToolProgress*> all = window->findChildren<frmToolProgress*>();
    return std::any_of(all.begin(), all.end(), [](const frmToolProgress* progress) { return progress->IsRunning(); });
}

// The named controls a person reaches with the keyboard that have no accessible name (Qt's own
// parts inside them aside).
inline QStringList Unnamed(const QWidget* dialog) {
    QStringList unnamed;
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || control->objectName().startsWith(QStringLiteral("qt_")) ||
            control->focusPolicy() == Qt::NoFocus)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        if (!accessible || accessible->text(QAccessible::Name).isEmpty()) unnamed << control->objectName();
    }
    return unnamed;
}
