// SPDX-License-Identifier: GPL-3.0-or-later
// rv: the desktop program.
#include <QApplication>

#include "window/Prompts.h"
#include "window/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reelvault"));
    AppState state;
    Prompts prompts;
    frmMain window(state, prompts);
    window.show();
    window.Start(QApplication::arguments().mid(1));
    return QApplication::exec();
}
