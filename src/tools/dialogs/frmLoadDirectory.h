// SPDX-License-Identifier: GPL-3.0-or-later
// Load Directory: catalogues every file of a folder that matches a pattern.
#pragma once

#include "tools/dialogs/ToolDialog.h"

class QCheckBox;

class frmLoadDirectory : public ToolDialog {
    Q_OBJECT

public:
    frmLoadDirectory(const Catalogue& catalogue, Prompts& prompts, QWidget* parent);

    // Before each showing: the pattern is emptied, the folder and the tick are kept. CRCs are
    // calculated as the setting says now; the picker starts at lastDir when no folder is typed.
    void Prepare(bool calculateCRC, const QString& lastDir);
    // The folder of the last run, as its paths begin.
    QString Folder() const { return folder_; }

private:
    void Load();

    QLineEdit* txtDirectory_;
    QLineEdit* txtWildCard_;
    QCheckBox* chkScanSubdirectories_;
    bool calculateCRC_ = false;
    QString folder_;
};
