// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/dialogs/frmDuplicates.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "identity/RemoveCopies.h"
#include "identity/dialogs/DuplicatesModel.h"
#include "identity/dialogs/SingleCopiesModel.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The totals, and what the user should know of the records left out.
QString Totals(const std::string& totals, const std::string& note, std::int64_t notHashed) {
    QString text = Q(totals);
    if (!note.empty()) text += QStringLiteral(". ") + Q(note);
    if (notHashed > 0)
        text += QObject::tr(". %n record(s) not hashed yet are left out: Verify Files hashes them", nullptr, static_cast<int>(notHashed));
    return text;
}

QTreeView* MakeView(const char* name, const QString& accessibleName, QAbstractItemModel* model, bool tree) {
    auto* view = Named(new QTreeView, name);
    view->setAccessibleName(accessibleName);
    view->setModel(model);
    view->setRootIsDecorated(tree);
    view->setUniformRowHeights(true);  // a view of many rows must not measure each
    view->setAllColumnsShowFocus(true);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    view->setMinimumSize(720, 320);
    return view;
}

// Qt 6.4 trashes into the current folder when the user's data folder (~/.local/share) does not
// exist yet, as on a new account: it is made first.
std::string MoveToTrash(const std::string& path) {
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return QFile::moveToTrash(QString::fromStdString(path)) ? "" : "the desktop's trash did not take it";
}

}  // namespace

frmDuplicates::frmDuplicates(const Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), prompts_(prompts), progress_(new frmToolProgress(this)) {
    setObjectName(QStringLiteral("frmDuplicates"));
    setWindowTitle(tr("Duplicates"));
    setWindowModality(Qt::WindowModal);
    duplicatesModel_ = new DuplicatesModel(this);
    singlesModel_ = new SingleCopiesModel(this);
    tabs_ = Named(new QTabWidget, "tabDuplicates");
    tabs_->setAccessibleName(tr("Duplicates and single copies"));
    tabs_->addTab(MakeDuplicatesTab(), tr("&Duplicates"));
    tabs_->addTab(MakeSingleCopiesTab(), tr("&Single Copies"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

QWidget* frmDuplicates::MakeDuplicatesTab() {
    auto* tab = new QWidget;
    duplicateTotals_ = Named(new QLabel, "lblDuplicateTotals");
    duplicateTotals_->setWordWrap(true);
    duplicates_ = MakeView("tvwDuplicates", tr("Duplicates"), duplicatesModel_, true);
    remove_ = MakeButton("cmdRemoveFromCatalogue", "&Remove From Catalogue");
    trash_ = MakeButton("cmdMoveToTrash", "Move To &Trash");
    auto* actions = new QHBoxLayout;
    actions->addWidget(Named(new QLabel(tr("Tick the copies to take out.")), "lblTick"));
    actions->addStretch();
    actions->addWidget(remove_);
    actions->addWidget(trash_);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(duplicateTotals_);
    layout->addWidget(duplicates_);
    layout->addLayout(actions);
    connect(remove_, &QPushButton::clicked, this, [this] { RemoveTicked(false); });
    connect(trash_, &QPushButton::clicked, this, [this] { RemoveTicked(true); });
    return tab;
}

QWidget* frmDuplicates::MakeSingleCopiesTab() {
    auto* tab = new QWidget;
    singleDrive_ = MakeCombo("cboSingleDrive");
    singleDrive_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    singleTotals_ = Named(new QLabel, "lblSingleTotals");
    singleTotals_->setWordWrap(true);
    singles_ = MakeView("tvwSingleCopies", tr("Single copies"), singlesModel_, false);
    auto* choice = new QHBoxLayout;
    choice->addWidget(MakeLabel("&On drive", singleDrive_));
    choice->addWidget(singleDrive_);
    choice->addStretch();
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Named(new QLabel(tr("Records whose contents lie on no other drive: what a drive that dies would take."
                                          " A copy counts only on a known other drive.")),
                            "lblSingleCopies"));
    layout->addLayout(choice);
    layout->addWidget(singleTotals_);
    layout->addWidget(singles_);
    connect(singleDrive_, &QComboBox::currentIndexChanged, this, &frmDuplicates::ShowSingleCopies);
    return tab;
}

void frmDuplicates::Start() {
    singleDrive_->blockSignals(true);
    singleDrive_->clear();
    singleDrive_->addItem(tr("Every drive"), -1);
    for (const Drive& drive : catalogue_.Drives.All()) singleDrive_->addItem(Q(drive.Name), drive.DriveID);
    singleDrive_->blockSignals(false);
    open();
    Find();
}

// A query of the file alone: the worker need not load the record sets.
void frmDuplicates::Find(const std::function<void()>& then) {
    duplicateTotals_->setText(tr("Looking for duplicates..."));
    auto findings = std::make_shared<Findings>();
    const auto job = [findings](Catalogue& own, ToolHost&) {
        findings->Duplicates = FindDuplicates(own.Store);
        findings->SingleCopies = FindSingleCopies(own.Store);
        ToolResult result;
        result.Error = findings->Duplicates.Error.empty() ? findings->SingleCopies.Error : findings->Duplicates.Error;
        return result;
    };
    progress_->Run(
        windowTitle(), catalogue_.Store.FileName(), job,
        [this, findings, then](const ToolResult& result, const QString&) {
            if (!result.Error.empty()) prompts_.Tell(this, windowTitle(), Q(result.Error), true);
            Show(*findings);
            if (then) then();
            else Q_EMIT StatusChanged(duplicateTotals_->text());
        },
        false);
}

void frmDuplicates::Show(Findings& findings) {
    duplicateTotals_->setText(Totals(DuplicateTotals(findings.Duplicates), findings.Duplicates.Note, findings.Duplicates.NotHashed));
    duplicatesModel_->Show(std::move(findings.Duplicates), catalogue_.Drives);
    duplicates_->expandAll();
    allSingles_ = std::move(findings.SingleCopies);
    ShowSingleCopies();
}

void frmDuplicates::ShowSingleCopies() {
    const int drive = singleDrive_->currentData().toInt();
    SingleCopyReport shown = drive < 0 ? allSingles_ : OnlyOnDrive(allSingles_, drive);
    singleTotals_->setText(Totals(SingleCopyTotals(shown), shown.Note, shown.NotHashed));
    singlesModel_->Show(std::move(shown), catalogue_.Drives);
}

bool frmDuplicates::ConfirmRemoval(const std::vector<int>& ticked, bool toTrash) {
    const QString title = toTrash ? tr("Move To Trash") : tr("Remove From Catalogue");
    if (ticked.empty()) {
        prompts_.Tell(this, title, tr("Tick the copies to take out first."));
        return false;
    }
    const int count = static_cast<int>(ticked.size());
    if (!toTrash)
        return prompts_.Confirm(this, title, tr("Remove %n record(s) from the catalogue? The files stay where they are.", nullptr, count));
    // Which copy to keep is the user's choice: the last copy is never moved.
    if (const QStringList whole = duplicatesModel_->WhollyTicked(); !whole.isEmpty()) {
        prompts_.Tell(this, title,
                      tr("Every copy of these contents is ticked; untick the one to keep:\n%1").arg(whole.join(QLatin1Char('\n'))),
                      true);
        return false;
    }
    return prompts_.Confirm(this, title,
                            tr("Move %n file(s) to the trash and remove their records? A file is moved only while another "
                               "copy of it stays and it is as it was when hashed.",
                               nullptr, count));
}

void frmDuplicates::RemoveTicked(bool toTrash) {
    const std::vector<int> ticked = duplicatesModel_->Ticked();
    if (!ConfirmRemoval(ticked, toTrash)) return;
    const RemovalRequest request{ticked, toTrash};
    const auto job = [request](Catalogue& own, ToolHost& host) { return RemoveCopies(own, request, MoveToTrash, host); };
    progress_->Run(windowTitle(), catalogue_.Store.FileName(), job, [this, toTrash](const ToolResult& result, const QString& logPath) {
        QString outcome = toTrash ? tr("%n file(s) moved to the trash", nullptr, result.Changed)
                                  : tr("%n record(s) removed from the catalogue", nullptr, result.Changed);
        if (result.Skipped > 0) outcome += tr(", %n not moved: see the log", nullptr, result.Skipped);
        // The lists are found anew first, so that the outcome is the last word on the status bar.
        Find([this, outcome, result, logPath] { Q_EMIT Ended(outcome, result, logPath); });
    });
}
