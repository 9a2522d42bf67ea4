// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/BatchForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>
#include <memory>
#include <utility>

#include "listing/UserNumber.h"
#include "model/modCatalogue.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"
#include "window/CatalogueJob.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The drop-down boxes' first two entries; the names follow.
constexpr int kUnchanged = 0;
constexpr int kNone = 1;

// "live, rock" as the keywords live and rock: blanks around each dropped, empty ones passed over.
std::vector<std::string> KeywordsIn(const QString& text) {
    std::vector<std::string> keywords;
    for (const QString& keyword : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!keyword.trimmed().isEmpty()) keywords.push_back(keyword.trimmed().toStdString());
    }
    return keywords;
}

}  // namespace

BatchForm::BatchForm(Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : QWidget(parent), catalogue_(catalogue), prompts_(prompts) {
    setObjectName(QStringLiteral("frmBatch"));
    auto* grid = new QGridLayout(this);
    lblBatchCount = new QLabel;
    lblBatchCount->setObjectName(QStringLiteral("lblBatchCount"));
    cboBatchCategory = MakeChoice("cboBatchCategory");
    cboBatchType = MakeChoice("cboBatchType");
    txtBatchRating = MakeLineEdit("txtBatchRating", 11);
    txtBatchAddKeywords = MakeLineEdit("txtBatchAddKeywords");
    txtBatchRemoveKeywords = MakeLineEdit("txtBatchRemoveKeywords");
    txtBatchRating->setPlaceholderText(tr("(unchanged)"));
    for (QLineEdit* keywords : {txtBatchAddKeywords, txtBatchRemoveKeywords}) keywords->setPlaceholderText(tr("keywords, separated by commas"));
    grid->addWidget(lblBatchCount, 0, 0, 1, 2);
    const std::pair<const char*, QWidget*> rows[] = {{"Category", cboBatchCategory}, {"Type", cboBatchType},
                                                     {"Rating", txtBatchRating}, {"Add keywords", txtBatchAddKeywords},
                                                     {"Remove keywords", txtBatchRemoveKeywords}};
    int at = 1;
    for (const auto& [label, field] : rows) {
        grid->addWidget(MakeLabel(label, field), at, 0);
        grid->addWidget(field, at++, 1);
    }
    auto* buttons = new QHBoxLayout;
    cmdBatchSave = MakeButton("cmdBatchSave", "Save");
    cmdBatchDelete = MakeButton("cmdBatchDelete", "Delete");
    buttons->addWidget(cmdBatchSave);
    buttons->addWidget(cmdBatchDelete);
    buttons->addStretch();
    grid->addLayout(buttons, at, 0, 1, 2);
    grid->setRowStretch(at + 1, 1);
    grid->setColumnStretch(1, 1);
    connect(cmdBatchSave, &QPushButton::clicked, this, &BatchForm::Save);
    connect(cmdBatchDelete, &QPushButton::clicked, this, [this] {
        if (savingEnabled_ && !chosen_.empty()) Q_EMIT DeleteWanted();
    });
    EnableSaving(false);
}

QComboBox* BatchForm::MakeChoice(const char* name) {
    QComboBox* box = MakeCombo(name);
    FillChoice(box, {});
    return box;
}

void BatchForm::FillChoice(QComboBox* box, const QStringList& names) {
    box->clear();
    box->addItems(QStringList{tr("(unchanged)"), tr("(none)")} + names);
    box->setCurrentIndex(kUnchanged);
}

void BatchForm::EnableSaving(bool on) {
    savingEnabled_ = on;
    for (QWidget* control : std::initializer_list<QWidget*>{cboBatchCategory, cboBatchType, txtBatchRating, txtBatchAddKeywords,
                                                            txtBatchRemoveKeywords, cmdBatchSave, cmdBatchDelete})
        control->setEnabled(on);
}

void BatchForm::ShowCategoryNames(const QStringList& names) { FillChoice(cboBatchCategory, names); }

void BatchForm::ShowFileTypeNames(const QStringList& names) { FillChoice(cboBatchType, names); }

void BatchForm::Choose(std::vector<int> fileIDs) {
    chosen_ = std::move(fileIDs);
    lblBatchCount->setText(tr("%1 records chosen: what you set here is saved to all of them.").arg(chosen_.size()));
}

// The form as a change; false, with the reason shown, when the rating is not a number.
bool BatchForm::ReadChange(BatchChange& change) {
    const auto reference = [](QComboBox* box, auto lookUp) -> std::optional<int> {
        if (box->currentIndex() == kUnchanged || box->currentIndex() < 0) return std::nullopt;
        if (box->currentIndex() == kNone) return -1;
        return lookUp(box->currentText().toStdString());
    };
    change.CategoryID = reference(cboBatchCategory, [this](const std::string& name) {
        return catalogue_.Categories.GotoCategoryName(name) ? catalogue_.Categories.CategoryID() : -1;
    });
    change.TypeID = reference(cboBatchType, [this](const std::string& name) {
        return catalogue_.FileTypes.GotoFileType(name) ? catalogue_.FileTypes.FileTypeID() : -1;
    });
    if (!txtBatchRating->text().isEmpty()) {
        constexpr auto kLowest = std::numeric_limits<int>::min();
        constexpr auto kHighest = std::numeric_limits<int>::max();
        const std::optional<std::int64_t> rating = WholeNumberOf(txtBatchRating->text().toStdString(), kLowest, kHighest);
        if (!rating) {
            Q_EMIT StatusChanged(tr("Not saved: Rating \"%1\" is not a number from %2 to %3").arg(txtBatchRating->text()).arg(kLowest).arg(kHighest));
            return false;
        }
        change.Rating = static_cast<int>(*rating);
    }
    change.AddKeywords = KeywordsIn(txtBatchAddKeywords->text());
    change.RemoveKeywords = KeywordsIn(txtBatchRemoveKeywords->text());
    return true;
}

// The file is written on a worker, so that ten thousand records do not hold the window; the set is
// brought in step here, on the window's thread.
void BatchForm::Save() {
    BatchChange change;
    if (!savingEnabled_ || chosen_.empty() || !ReadChange(change)) return;
    if (change.Empty()) return Q_EMIT StatusChanged(tr("Nothing to change: choose a category, type or rating, or keywords"));
    if (!prompts_.Confirm(this, tr("Save"), tr("Change %1 records?").arg(chosen_.size()))) return;
    Q_EMIT Busy(true);
    auto outcome = std::make_shared<BatchOutcome>();
    auto* job = new CatalogueJob(
        catalogue_.Store,
        [ids = chosen_, change, outcome](Catalogue& worked) {
            *outcome = WriteBatch(worked.Store, ids, change);
            return outcome->Error;
        },
        this);
    connect(job, &CatalogueJob::Finished, this, [this, job, outcome, change](const QString& error) {
        job->deleteLater();
        if (error.isEmpty()) Saved(*outcome, change);
        else Q_EMIT StatusChanged(tr("Could not change the records: %1").arg(error));
        Q_EMIT Busy(false);
    });
}

void BatchForm::Saved(const BatchOutcome& outcome, const BatchChange& change) {
    ApplyBatchToSet(catalogue_.Files, outcome.Saved, change);
    Q_EMIT StatusChanged(tr("Changed %1 records").arg(outcome.Saved.size()));
    if (outcome.Missing.empty()) return Q_EMIT RecordsRewritten();
    prompts_.Tell(this, tr("Save"), Q(MissingSentence(outcome.Missing)), true);
    Q_EMIT CatalogueChanged();
}

