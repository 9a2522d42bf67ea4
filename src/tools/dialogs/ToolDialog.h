// SPDX-License-Identifier: GPL-3.0-or-later
// What the tools' dialogs share: the catalogue they work on, a progress dialog of their own, and
// what happens when a run ends.
#pragma once

#include <QDialog>

#include "model/Catalogue.h"
#include "tools/dialogs/frmToolProgress.h"

class Prompts;
class QLineEdit;
class QPushButton;

class ToolDialog : public QDialog {
    Q_OBJECT

public:
    frmToolProgress* Progress() const { return progress_; }

Q_SIGNALS:
    // A run has ended and the dialog is hidden.
    void Ran(const ToolResult& result, const QString& logPath);

protected:
    // Hidden, not destroyed, between uses, so what was typed is kept.
    ToolDialog(const Catalogue& catalogue, Prompts& prompts, const char* name, const QString& caption, QWidget* parent);

    // Runs job on the catalogue file. A run that failed without doing anything (a folder that cannot
    // be read) is told of and the dialog stays open to put it right; otherwise the dialog hides.
    void RunTool(ToolJob job);
    // A text box for a folder and a button that picks one under title.
    void ConnectFolderPicker(QLineEdit* folder, QPushButton* select, const QString& title);
    void SetLastDir(const QString& folder) { lastDir_ = folder; }

    const Catalogue& catalogue_;
    Prompts& prompts_;

private:
    frmToolProgress* progress_;
    QString lastDir_;
};
