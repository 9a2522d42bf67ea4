// SPDX-License-Identifier: GPL-3.0-or-later
// The folder picker of the tools' dialogs.
#pragma once

#include <QString>

class Prompts;
class QWidget;

// The folder the person picked under title, or "" when they cancelled. The picker starts at the
// folder typed already when there is one, otherwise at lastDir.
QString BrowseForFolder(QWidget* owner, Prompts& prompts, const QString& title, const QString& typed, const QString& lastDir);
