// SPDX-License-Identifier: GPL-3.0-or-later
// File Name Find/Replace: replaces a piece of text in the stored paths of all records.
#pragma once

#include "tools/dialogs/ToolDialog.h"

class frmFindReplace : public ToolDialog {
    Q_OBJECT

public:
    frmFindReplace(const Catalogue& catalogue, Prompts& prompts, QWidget* parent);

    // Before each showing: both boxes are emptied.
    void Prepare();

private:
    void Replace();

    QLineEdit* txtFind_;
    QLineEdit* txtReplace_;
    QPushButton* cmdGo_;
};
