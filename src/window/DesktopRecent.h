// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's list of recently used files, as GTK's recent-files manager keeps it: the XBEL file
// $XDG_DATA_HOME/recently-used.xbel, which file choosers and docks of every toolkit read.
#pragma once

#include <QString>

// Adds the file to the list, or marks it used again now: one bookmark with the program's name, its
// command and the MIME type. Every other bookmark, and every other program's note on this one,
// stays as it was. The file is replaced in one step (a temporary file renamed over it), and one
// that cannot be read as XBEL is left alone. Returns "" or why the list could not be updated.
QString AddToDesktopRecent(const QString& filePath, const QString& mimeType, const QString& program);
// Where the list lives for this user.
QString DesktopRecentFile();
