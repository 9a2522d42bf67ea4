// SPDX-License-Identifier: GPL-3.0-or-later
// rv: the desktop program.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include "data/DesktopFiles.h"
#include "widgets/Prompts.h"
#include "window/frmMain.h"

namespace {

// The installed theme's icon where there is one, so a theme may restyle it; ours otherwise.
QIcon ProgramIcon() {
    QIcon ours;
    for (QDirIterator sizes(QStringLiteral(":/icons"), QDirIterator::Subdirectories); sizes.hasNext();) {
        const QString file = sizes.next();
        if (file.endsWith(QStringLiteral(".png"))) ours.addFile(file);
    }
    return QIcon::fromTheme(QString::fromUtf8(desktop_files::kAppId.data(), desktop_files::kAppId.size()), ours);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reelvault"));
    // Lets the desktop match the window to the installed entry (its name and icon in the dock).
    QGuiApplication::setDesktopFileName(QString::fromUtf8(desktop_files::kAppId.data(), desktop_files::kAppId.size()));
    QApplication::setWindowIcon(ProgramIcon());
    AppState state;
    Prompts prompts;
    frmMain window(state, prompts);
    window.Start(QApplication::arguments().mid(1));  // first: it puts the window back where it was
    window.show();
    return QApplication::exec();
}
