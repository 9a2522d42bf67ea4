// SPDX-License-Identifier: GPL-3.0-or-later
#include "refresh/dialogs/frmRefresh.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

#include "refresh/RefreshApply.h"
#include "refresh/dialogs/PlanModel.h"
#include "tools/dialogs/modBrowseForFolder.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// "2 new, 1 moved, 10 unchanged", and what was left out of the plan.
QString Totals(const RefreshPlan& plan) {
    QStringList counts;
    for (const RefreshKind kind : kRefreshKinds) {
        if (const int count = plan.Count(kind); count > 0) counts << QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(KindName(kind)));
    }
    QString text = counts.isEmpty() ? QObject::tr("No files and no records under the folders") : counts.join(QStringLiteral(", "));
    if (!plan.HardLinks.empty())
        text += QObject::tr(". %n file(s) under a second name (hard links) are catalogued once", nullptr, static_cast<int>(plan.HardLinks.size()));
    if (plan.DriveAway > 0)
        text += QObject::tr(". %n record(s) on drives that are not plugged in are left out", nullptr, plan.DriveAway);
    return text;
}

}  // namespace

frmRefresh::frmRefresh(const Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), prompts_(prompts), progress_(new frmToolProgress(this)) {
    setObjectName(QStringLiteral("frmRefresh"));
    setWindowTitle(tr("Refresh"));
    setWindowModality(Qt::WindowModal);
    totals_ = Named(new QLabel, "lblRefreshTotals");
    totals_->setWordWrap(true);
    totals_->setTextFormat(Qt::PlainText);
    model_ = new PlanModel(this);
    view_ = Named(new QTreeView, "tvwRefreshPlan");
    view_->setAccessibleName(tr("Plan"));
    view_->setModel(model_);
    view_->setUniformRowHeights(true);  // a plan of many rows must not measure each
    view_->setAllColumnsShowFocus(true);
    view_->header()->setSectionResizeMode(QHeaderView::Interactive);
    view_->setColumnWidth(0, 360);
    view_->setColumnWidth(1, 360);
    view_->setMinimumSize(860, 360);
    apply_ = MakeButton("cmdApplyRefresh", "&Apply");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    buttons->addButton(apply_, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(MakeChoice());
    layout->addWidget(totals_);
    layout->addWidget(view_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, &frmRefresh::Apply);
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] { apply_->setEnabled(model_->Ticked() > 0); });
    ShowTotals();
}

QLayout* frmRefresh::MakeChoice() {
    folder_ = MakeLineEdit("txtRefreshFolder");
    browse_ = MakeButton("cmdRefreshBrowse", "&Browse...");
    drive_ = MakeCombo("cboRefreshDrive");
    pattern_ = MakeLineEdit("txtRefreshPattern");
    pattern_->setPlaceholderText(tr("the extensions of the catalogue's file types"));
    plan_ = MakeButton("cmdMakePlan", "Make &Plan");
    plan_->setDefault(true);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse_);
    auto* form = new QFormLayout;
    form->addRow(MakeLabel("&Folder", folder_), folderRow);
    form->addRow(MakeLabel("or &drive", drive_), drive_);
    form->addRow(MakeLabel("P&attern", pattern_), pattern_);
    form->addRow(QString(), plan_);
    connect(browse_, &QPushButton::clicked, this, [this] {
        const QString chosen = BrowseForFolder(this, prompts_, tr("Folder to refresh:"), folder_->text(), lastDir_);
        if (!chosen.isEmpty()) folder_->setText(chosen);
    });
    connect(drive_, &QComboBox::currentIndexChanged, this, &frmRefresh::DriveChosen);
    connect(plan_, &QPushButton::clicked, this, &frmRefresh::MakePlan);
    return form;
}

void frmRefresh::Prepare(const QString& lastDir) {
    lastDir_ = lastDir;
    const QString chosen = drive_->currentText();
    drive_->blockSignals(true);
    drive_->clear();
    drive_->addItem(tr("(none: the folder above)"));
    for (const Drive& drive : catalogue_.Drives.All()) drive_->addItem(Q(drive.Name));
    drive_->setCurrentIndex(std::max(0, drive_->findText(chosen)));
    drive_->blockSignals(false);
    DriveChosen();
    open();
}

void frmRefresh::PlanDrive(const QString& drive) {
    Prepare(lastDir_);
    drive_->setCurrentIndex(std::max(0, drive_->findText(drive)));
    MakePlan();
}

void frmRefresh::DriveChosen() {
    const bool folder = drive_->currentIndex() <= 0;
    folder_->setEnabled(folder);
    browse_->setEnabled(folder);
}

// The plan is made over a connection of the worker's own; the list shows it once it is whole.
void frmRefresh::MakePlan() {
    RefreshRequest request;
    if (drive_->currentIndex() > 0) {
        request.Drive = drive_->currentText().toStdString();
    } else if (const QString folder = folder_->text().trimmed(); !folder.isEmpty()) {
        request.Folders.push_back(folder.toStdString());
    } else {
        prompts_.Tell(this, windowTitle(), tr("Choose a folder or a drive to refresh first."));
        return;
    }
    request.Patterns = pattern_->text().trimmed().toStdString();
    model_->Clear();
    ShowTotals();
    auto plan = std::make_shared<RefreshPlan>();
    const auto job = [request, plan](Catalogue& own, ToolHost& host) {
        *plan = MakeRefreshPlan(own, request, host);
        ToolResult result;
        result.Cancelled = plan->Cancelled;
        result.Error = plan->Error;
        return result;
    };
    progress_->Run(tr("Refresh: making the plan"), catalogue_.Store.FileName(), job, [this, plan](const ToolResult& result, const QString&) {
        if (!result.Error.empty()) prompts_.Tell(this, windowTitle(), Q(result.Error), true);
        if (result.Error.empty() && !result.Cancelled) model_->Show(std::move(*plan));
        ShowTotals();
        for (int group = 0; group < model_->rowCount(); ++group) {
            const QModelIndex head = model_->index(group, 0);
            view_->setExpanded(head, head.data(Qt::CheckStateRole).isValid());  // what Apply would do, open
        }
    });
}

void frmRefresh::ShowTotals() {
    const bool planned = !model_->Plan().Roots.empty();
    totals_->setText(planned ? Totals(model_->Plan()) : tr("Choose a folder or a drive and make a plan: nothing is changed before Apply."));
    apply_->setEnabled(model_->Ticked() > 0);
}

// The rows are carried out as ticked when Apply was pressed; the plan is spent then, and made
// again for what is left.
void frmRefresh::Apply() {
    const int ticked = model_->Ticked();
    if (ticked == 0) return;
    const auto job = [plan = model_->Plan()](Catalogue& own, ToolHost& host) { return ApplyRefresh(own, plan, host); };
    progress_->Run(tr("Refresh: applying the plan"), catalogue_.Store.FileName(), job,
                   [this, ticked](const ToolResult& result, const QString& logPath) {
                       QString outcome = tr("%1 of %n ticked row(s) applied", nullptr, ticked).arg(result.Changed);
                       if (result.Skipped > 0) outcome += tr(", %n no longer held: see the log", nullptr, result.Skipped);
                       model_->Clear();
                       ShowTotals();
                       totals_->setText(outcome);
                       Q_EMIT Ended(outcome, result, logPath);
                   });
}
