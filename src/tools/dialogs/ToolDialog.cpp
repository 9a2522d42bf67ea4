// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dialogs/ToolDialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "tools/dialogs/modBrowseForFolder.h"
#include "widgets/Prompts.h"

ToolDialog::ToolDialog(const Catalogue& catalogue, Prompts& prompts, const char* name, const QString& caption, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), prompts_(prompts), progress_(new frmToolProgress(this)) {
    setObjectName(QString::fromUtf8(name));
    setWindowTitle(caption);
    setWindowModality(Qt::WindowModal);
}

void ToolDialog::RunTool(ToolJob job) {
    progress_->Run(windowTitle(), catalogue_.Store.FileName(), std::move(job), [this](const ToolResult& result, const QString& logPath) {
        const bool refused = !result.Error.empty() && result.Changed == 0 && !result.Cancelled && logPath.isEmpty();
        if (refused) {
            prompts_.Tell(this, windowTitle(), QString::fromStdString(result.Error), true);
            return;
        }
        hide();
        Q_EMIT Ran(result, logPath);
    });
}

void ToolDialog::ConnectFolderPicker(QLineEdit* folder, QPushButton* select, const QString& title) {
    connect(select, &QPushButton::clicked, this, [this, folder, title] {
        // Kept even when empty: cancelling the picker clears the box.
        folder->setText(BrowseForFolder(this, prompts_, title, folder->text(), lastDir_));
    });
}
