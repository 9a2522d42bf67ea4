// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dialogs/frmFindReplace.h"

#include <QGridLayout>

#include "tools/FindReplace.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"

frmFindReplace::frmFindReplace(const Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : ToolDialog(catalogue, prompts, "frmFindReplace", tr("File Name Find/Replace"), parent) {
    txtFind_ = MakeLineEdit("txtFind");
    txtFind_->setMinimumWidth(320);
    txtReplace_ = MakeLineEdit("txtReplace");
    cmdGo_ = MakeButton("cmdGo", "Go");
    cmdGo_->setDefault(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Named(MakeLabel("Text to &find", txtFind_), "Label1"), 0, 0);
    grid->addWidget(txtFind_, 0, 1);
    grid->addWidget(Named(MakeLabel("&Replace with", txtReplace_), "Label2"), 1, 0);
    grid->addWidget(txtReplace_, 1, 1);
    grid->addWidget(cmdGo_, 2, 1, Qt::AlignRight);
    connect(cmdGo_, &QPushButton::clicked, this, &frmFindReplace::Replace);
    connect(Progress(), &frmToolProgress::RunningChanged, cmdGo_, &QPushButton::setDisabled);
}

void frmFindReplace::Prepare() {
    txtFind_->clear();
    txtReplace_->clear();
}

// Many paths change at one click, so the person learns how many before anything is written.
void frmFindReplace::Replace() {
    const QString find = txtFind_->text();
    const QString replace = txtReplace_->text();
    if (find.isEmpty()) {
        prompts_.Tell(this, tr("Reelvault"), tr("You must enter text to find"));
        return;
    }
    const int count = CountPathsContaining(catalogue_.Files, find.toStdString());
    if (count == 0) {
        prompts_.Tell(this, windowTitle(), tr("0 records: no path contains \"%1\".").arg(find));
        return;
    }
    const QString question = count == 1 ? tr("1 record has a path that contains \"%1\".").arg(find)
                                         : tr("%1 records have paths that contain \"%2\".").arg(count).arg(find);
    const QString change = replace.isEmpty() ? tr("Remove it from all of them?") : tr("Replace it with \"%1\" in all of them?").arg(replace);
    if (!prompts_.Confirm(this, windowTitle(), question + QLatin1Char('\n') + change)) return;
    RunTool([find = find.toStdString(), replace = replace.toStdString()](Catalogue& own, ToolHost& host) {
        return FindReplace(own, find, replace, host);
    });
}
