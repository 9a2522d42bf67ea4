// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dialogs/frmDetectMovedFiles.h"

#include <QGridLayout>

#include "tools/DetectMovedFiles.h"
#include "widgets/Controls.h"

frmDetectMovedFiles::frmDetectMovedFiles(const Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : ToolDialog(catalogue, prompts, "frmDetectMovedFiles", tr("Detect Moved Files"), parent) {
    txtDirectory_ = MakeLineEdit("txtDirectory");
    txtDirectory_->setMinimumWidth(360);
    QPushButton* select = MakeButton("cmdSelectDirectory", "Select Directory");
    QPushButton* go = MakeButton("cmdGo", "Go");
    go->setDefault(true);
    auto* instruction = Named(new QLabel(tr("Select directory files were moved to and click go.")), "Label1");
    QLabel* label = Named(MakeLabel("Selected &Directory", txtDirectory_), "Label2");

    auto* grid = new QGridLayout(this);
    grid->addWidget(instruction, 0, 0, 1, 3);
    grid->addWidget(label, 1, 0);
    grid->addWidget(txtDirectory_, 1, 1);
    grid->addWidget(select, 1, 2);
    grid->addWidget(go, 2, 2);

    ConnectFolderPicker(txtDirectory_, select, tr("Select directory files were moved to:"));
    connect(go, &QPushButton::clicked, this, [this] {
        RunTool([folder = txtDirectory_->text().toStdString()](Catalogue& own, ToolHost& host) {
            return DetectMovedFiles(own, folder, host);
        });
    });
}
