// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its files, small path texts, and handing a document to the desktop.
#pragma once

#include <string>

// The folder for rv.ini and the tool logs: $XDG_CONFIG_HOME/reelvault/, or ~/.config/reelvault/
// when that is unset or not absolute. Created when missing; always ends in "/". When it cannot be
// created the path is still returned, and writing there fails with the reason.
std::string AppPath();

// The user's data folder, where the desktop looks for per-user programs, types and icons:
// $XDG_DATA_HOME, or ~/.local/share when that is unset or not absolute. Always ends in "/"; not
// created here.
std::string DataHome();

// Plain text functions, cutting at the last "/" (or "."); no file is looked at.
// "/media/song.mp3" -> "song.mp3"; "song.mp3" -> "song.mp3"; "/media/" -> "".
std::string GetFileName(const std::string& path);
// "/media/song.mp3" -> "/media/"; a text without "/" comes back unchanged.
std::string GetDirectory(const std::string& path);
// From the last "." to the end, dot included, searching directories too: "/my.media/song" ->
// ".media/song"; "" when there is no ".".
std::string GetExtension(const std::string& path);

// Asks the desktop to open a file or address with its default application (xdg-open), without
// waiting for it. The target is passed as one argument, never through a shell. Returns "" when
// the opener started, otherwise why it could not.
std::string ShellOpen(const std::string& target);
