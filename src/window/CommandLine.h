// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue the program was started with, as shells and file managers hand it over.
#pragma once

#include <QStringList>

#include <string>

// All arguments joined by blanks, so an unquoted path with blanks typed in a shell still works;
// then one double quote dropped from each end, and a local file's URL read as its path.
std::string CommandLinePath(const QStringList& arguments);
