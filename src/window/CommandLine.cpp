// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/CommandLine.h"

#include <QUrl>

std::string CommandLinePath(const QStringList& arguments) {
    std::string path = arguments.join(QLatin1Char(' ')).toStdString();
    if (path.starts_with('"')) path.erase(0, 1);
    if (path.ends_with('"')) path.pop_back();
    // Some file managers hand over "file:///home/me/my%20films.rvd" rather than the path.
    if (path.starts_with("file://")) path = QUrl(QString::fromStdString(path)).toLocalFile().toStdString();
    return path;
}
