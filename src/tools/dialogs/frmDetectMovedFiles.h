// SPDX-License-Identifier: GPL-3.0-or-later
// Detect Moved Files: re-points the records of files that were moved to one folder.
#pragma once

#include "tools/dialogs/ToolDialog.h"

class frmDetectMovedFiles : public ToolDialog {
    Q_OBJECT

public:
    frmDetectMovedFiles(const Catalogue& catalogue, Prompts& prompts, QWidget* parent);

    // Before each showing; the folder typed last time is kept.
    void Prepare(const QString& lastDir) { SetLastDir(lastDir); }

private:
    QLineEdit* txtDirectory_;
};
