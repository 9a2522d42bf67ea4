// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dialogs/frmToolProgress.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

#include "widgets/Controls.h"

frmToolProgress::frmToolProgress(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmToolProgress"));
    setWindowModality(Qt::WindowModal);
    item_ = Named(new QLabel, "lblToolItem");
    item_->setMinimumWidth(520);
    item_->setTextFormat(Qt::PlainText);
    bar_ = Named(new QProgressBar, "prgTool");
    bar_->setAccessibleName(tr("Progress"));
    cancel_ = MakeButton("cmdToolCancel", "Cancel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(item_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    connect(cancel_, &QPushButton::clicked, this, &frmToolProgress::Cancel);
    connect(&runner_, &ToolRunner::Progressed, this, &frmToolProgress::ShowProgress);
    connect(&runner_, &ToolRunner::StatusChanged, this, &frmToolProgress::StatusChanged);
    connect(&runner_, &ToolRunner::Finished, this, &frmToolProgress::Ended);
}

void frmToolProgress::Run(const QString& title, const std::string& cataloguePath, ToolJob job, Then then, bool withSets) {
    if (IsRunning()) return;
    then_ = std::move(then);
    setWindowTitle(title);
    item_->setText(tr("Reading the catalogue"));
    bar_->setRange(0, 0);  // moving to and fro until the first count arrives
    cancel_->setEnabled(true);
    runner_.Start(cataloguePath, std::move(job), withSets);
    show();
    Q_EMIT RunningChanged(true);
}

void frmToolProgress::Cancel() {
    if (!IsRunning()) return;
    runner_.Cancel();
    cancel_->setEnabled(false);
    item_->setText(tr("Stopping..."));
}

void frmToolProgress::reject() { Cancel(); }

void frmToolProgress::closeEvent(QCloseEvent* event) {
    Cancel();
    if (IsRunning()) event->ignore();
}

void frmToolProgress::ShowProgress(qint64 done, qint64 total, const QString& current) {
    if (!cancel_->isEnabled()) return;  // stopping: keep saying so
    const QString shown = fontMetrics().elidedText(current, Qt::ElideMiddle, item_->width());
    if (item_->text() != shown) item_->setText(shown);
    if (total <= 0 || total > std::numeric_limits<int>::max()) return;  // a bar counts in int
    bar_->setRange(0, static_cast<int>(total));
    bar_->setValue(static_cast<int>(done));
    bar_->setFormat(tr("%1 of %2").arg(done).arg(total));
}

void frmToolProgress::Ended(const ToolResult& result, const QString& logPath) {
    hide();
    Q_EMIT RunningChanged(false);
    Then then = std::move(then_);
    if (then) then(result, logPath);
}
