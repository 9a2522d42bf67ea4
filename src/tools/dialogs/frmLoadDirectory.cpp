// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dialogs/frmLoadDirectory.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>

#include "tools/LoadDirectory.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"

frmLoadDirectory::frmLoadDirectory(const Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : ToolDialog(catalogue, prompts, "frmLoadDirectory", tr("Load Directory"), parent) {
    txtDirectory_ = MakeLineEdit("txtDirectory");
    txtDirectory_->setMinimumWidth(360);
    QPushButton* select = MakeButton("cmdSelectDirectory", "Select Directory");
    txtWildCard_ = MakeLineEdit("txtWildCard");
    txtWildCard_->setPlaceholderText(tr("*.avi;*.mkv"));
    chkScanSubdirectories_ = Named(new QCheckBox(tr("Scan Subdirectories")), "chkScanSubdirectories");
    QPushButton* load = MakeButton("cmdLoadDirectory", "Load Directory");
    load->setDefault(true);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(txtDirectory_, 1);
    folderRow->addWidget(select);
    auto* form = new QFormLayout(this);
    form->addRow(MakeLabel("Selected &Directory", txtDirectory_), folderRow);
    form->addRow(MakeLabel("&Wild Card", txtWildCard_), txtWildCard_);
    form->addRow(QString(), chkScanSubdirectories_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(load);
    form->addRow(buttons);

    ConnectFolderPicker(txtDirectory_, select, tr("Select directory to scan:"));
    connect(load, &QPushButton::clicked, this, &frmLoadDirectory::Load);
}

void frmLoadDirectory::Prepare(bool calculateCRC, const QString& lastDir) {
    txtWildCard_->clear();
    calculateCRC_ = calculateCRC;
    SetLastDir(lastDir);
}

void frmLoadDirectory::Load() {
    if (txtWildCard_->text().isEmpty()) {
        prompts_.Tell(this, tr("Reelvault"), tr("You must enter a wildcard"));
        return;
    }
    folder_ = txtDirectory_->text();
    if (!folder_.endsWith(QLatin1Char('/'))) folder_ += QLatin1Char('/');
    const LoadDirectoryRequest request{txtDirectory_->text().toStdString(), txtWildCard_->text().toStdString(),
                                       chkScanSubdirectories_->isChecked(), calculateCRC_};
    RunTool([request](Catalogue& own, ToolHost& host) { return LoadDirectory(own, request, host); });
}
