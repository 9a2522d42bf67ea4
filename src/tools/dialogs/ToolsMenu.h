// SPDX-License-Identifier: GPL-3.0-or-later
// The window's Tools menu: its items, the dialogs they open, and what the window learns when a
// tool has run. Every tool runs off the window's thread, one at a time, behind a progress dialog.
#pragma once

#include <QMenu>

#include "model/Catalogue.h"
#include "support/modSettings.h"
#include "tools/ToolHost.h"

class Prompts;
class frmDetectMovedFiles;
class frmDuplicates;
class frmFindReplace;
class frmLoadDirectory;
class frmToolProgress;
class frmVerify;

class ToolsMenu : public QMenu {
    Q_OBJECT

public:
    // The tools work on the catalogue file the window has open, with the window's settings as they
    // are when a tool starts.
    ToolsMenu(const Catalogue& catalogue, const Settings& settings, Prompts& prompts, QWidget* window);

    void EnableTools(bool enabled);
    bool IsRunning() const;
    // Asks the running tool to stop; ToolEnded follows once it has.
    void Cancel();
    // Counts the runs of progress as the menu's own: while one runs the menu is busy, and Cancel
    // stops it. Its end is told by whoever started it, through Finish.
    void Watch(frmToolProgress* progress);
    // A run has ended with outcome, its totals in a line: shows its log and any error, and says
    // ToolEnded.
    void Finish(const QString& outcome, const ToolResult& result, const QString& logPath);

Q_SIGNALS:
    void Busy(bool running);
    void StatusChanged(const QString& status);
    // A tool has changed the catalogue, or may have; outcome is its totals in a line.
    void ToolEnded(const QString& outcome);

private:
    void LoadDirectory();
    void RemoveMissingFiles();
    void DetectFileTypes();
    void ReadMediaFacts();
    void DetectMovedFiles();
    void FindReplace();
    void Duplicates();
    void VerifyFiles();

    const Catalogue& catalogue_;
    const Settings& settings_;
    Prompts& prompts_;
    QWidget* window_;
    frmToolProgress* progress_;  // for the tools without a dialog of their own
    frmLoadDirectory* loadDirectory_;
    frmDetectMovedFiles* detectMoved_;
    frmFindReplace* findReplace_;
    frmDuplicates* duplicates_;
    frmVerify* verify_;
    QList<frmToolProgress*> progresses_;
};
