// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/SearchTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <optional>
#include <tuple>

#include "widgets/Controls.h"
#include "window/CatalogueJob.h"

namespace {

std::string Std(const QString& text) { return text.toStdString(); }

// The box's choice when it is an entry after the empty one.
std::optional<std::string> Chosen(const QComboBox* box) {
    if (box->currentIndex() <= 0) return std::nullopt;
    return Std(box->currentText());
}

// The entries of the plugged-in box.
enum PluggedChoice { AnyState, PluggedIn, NotPluggedIn };

std::optional<int> ChosenDrive(const QComboBox* box) {
    if (box->currentIndex() <= 0) return std::nullopt;
    return box->currentData().toInt();
}

std::optional<bool> ChosenState(const QComboBox* box) {
    if (box->currentIndex() <= AnyState) return std::nullopt;
    return box->currentIndex() == PluggedIn;
}

}  // namespace

SearchTab::SearchTab(Catalogue& catalogue, QWidget* parent) : QWidget(parent), catalogue_(catalogue) {
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MakeFields(), 3);
    auto* side = new QVBoxLayout;
    side->addWidget(MakeKeywords(), 1);
    side->addWidget(MakeButtons());
    layout->addLayout(side, 2);
    // Enter in any field searches; in the keyword box it adds the keyword instead.
    for (QLineEdit* field : {txtSearchFileName, txtSearchTitle, txtSearchCRC, txtSearchSize, txtSearchLength, txtSearchFourCC,
                             txtSearchRating, txtSearchHeight, txtSearchVideoCodec, txtSearchAudioLanguage})
        connect(field, &QLineEdit::returnPressed, this, &SearchTab::Search);
}

QWidget* SearchTab::MakeButtons() {
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    for (const auto& [name, caption, action] : {std::tuple{"cmdSearchSearch", "Search", &SearchTab::Search},
                                                {"cmdSearchShowAll", "Show All", &SearchTab::ShowAll},
                                                {"cmdSearchClear", "Clear", &SearchTab::Clear}}) {
        QPushButton* button = MakeButton(name, caption);
        connect(button, &QPushButton::clicked, this, action);
        row->addWidget(button);
    }
    return buttons;
}

QWidget* SearchTab::MakeFields() {
    auto* fields = new QWidget;
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    txtSearchFileName = MakeLineEdit("txtSearchFileName");
    txtSearchTitle = MakeLineEdit("txtSearchTitle");
    cboSearchType = MakeCombo("cboSearchType");
    cboSearchCategory = MakeCombo("cboSearchCategory");
    txtSearchCRC = MakeLineEdit("txtSearchCRC");
    cboSearchSize = MakeCombo("cboSearchSize");
    txtSearchSize = MakeLineEdit("txtSearchSize");
    cboSearchLength = MakeCombo("cboSearchLength");
    txtSearchLength = MakeLineEdit("txtSearchLength");
    txtSearchFourCC = MakeLineEdit("txtSearchFourCC");
    cboSearchRating = MakeCombo("cboSearchRating");
    txtSearchRating = MakeLineEdit("txtSearchRating");
    cboSearchDrive = MakeCombo("cboSearchDrive");
    cboSearchPlugged = MakeCombo("cboSearchPlugged");

    const auto row = [&](int at, const char* label, QWidget* field, QComboBox* comparison = nullptr) {
        grid->addWidget(MakeLabel(label, comparison ? comparison : field), at, 0);
        if (comparison) {
            comparison->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            grid->addWidget(comparison, at, 1);
        }
        grid->addWidget(field, at, comparison ? 2 : 1, 1, comparison ? 1 : 2);
    };
    row(0, "File Name", txtSearchFileName);
    row(1, "Title", txtSearchTitle);
    row(2, "Type", cboSearchType);
    row(3, "Category", cboSearchCategory);
    row(4, "CRC", txtSearchCRC);
    row(5, "Size (bytes)", txtSearchSize, cboSearchSize);
    row(6, "Length (ms)", txtSearchLength, cboSearchLength);
    row(7, "FourCC", txtSearchFourCC);
    row(8, "Rating", txtSearchRating, cboSearchRating);
    grid->addWidget(MakeLabel("Drive", cboSearchDrive), 9, 0);
    grid->addWidget(MakeDriveFields(), 9, 1, 1, 2);
    txtSearchHeight = MakeLineEdit("txtSearchHeight", 6);
    grid->addWidget(MakeLabel("Height at least", txtSearchHeight), 10, 0);
    grid->addWidget(MakeMediaFields(), 10, 1, 1, 2);
    grid->setRowStretch(11, 1);
    grid->setColumnStretch(2, 1);
    return fields;
}

// The drive, and beside it whether it is plugged in, which applies to any drive too.
QWidget* SearchTab::MakeDriveFields() {
    auto* fields = new QWidget;
    auto* line = new QHBoxLayout(fields);
    line->setContentsMargins(0, 0, 0, 0);
    cboSearchDrive->addItem(QString());
    // Its first entry says what the box is, having no label of its own.
    cboSearchPlugged->addItems({tr("Plugged in or not"), tr("Plugged in"), tr("Not plugged in")});
    cboSearchPlugged->setAccessibleName(tr("Plugged in or not"));
    line->addWidget(cboSearchDrive, 1);
    line->addWidget(cboSearchPlugged, 1);
    return fields;
}

// The media facts searched for most: beside the least height, the codec and the language.
QWidget* SearchTab::MakeMediaFields() {
    auto* fields = new QWidget;
    auto* line = new QHBoxLayout(fields);
    line->setContentsMargins(0, 0, 0, 0);
    txtSearchVideoCodec = MakeLineEdit("txtSearchVideoCodec", 32);
    txtSearchAudioLanguage = MakeLineEdit("txtSearchAudioLanguage", 16);
    line->addWidget(txtSearchHeight, 1);
    line->addWidget(MakeLabel("Video codec", txtSearchVideoCodec));
    line->addWidget(txtSearchVideoCodec, 1);
    line->addWidget(MakeLabel("Audio language", txtSearchAudioLanguage));
    line->addWidget(txtSearchAudioLanguage, 1);
    return fields;
}

QWidget* SearchTab::MakeKeywords() {
    const ListEditor keywords = MakeListEditor("fraSearchKeywords", "Keywords", "keyword", "txtSearchKeyword", "cmdSearchKeywordAdd",
                                               "lstSearchKeywords", "cmdSearchKeywordDelete");
    txtSearchKeyword = keywords.Edit;
    lstSearchKeywords = keywords.List;
    return keywords.Frame;
}

void SearchTab::ShowCategoryNames(const QStringList& names) { FillNameCombo(cboSearchCategory, names, true); }

void SearchTab::ShowFileTypeNames(const QStringList& names) { FillNameCombo(cboSearchType, names, true); }

void SearchTab::ShowDrives() {
    const QVariant chosen = cboSearchDrive->currentIndex() > 0 ? cboSearchDrive->currentData() : QVariant();
    std::vector<const Drive*> drives;
    for (const Drive& drive : catalogue_.Drives.All()) drives.push_back(&drive);
    std::sort(drives.begin(), drives.end(), [](const Drive* a, const Drive* b) { return a->Name < b->Name; });
    cboSearchDrive->clear();
    cboSearchDrive->addItem(QString());
    for (const Drive* drive : drives) cboSearchDrive->addItem(QString::fromStdString(drive->Name), drive->DriveID);
    cboSearchDrive->setCurrentIndex(chosen.isValid() ? std::max(0, cboSearchDrive->findData(chosen)) : 0);
}

void SearchTab::ResetComparisons() {
    for (QComboBox* box : {cboSearchSize, cboSearchLength, cboSearchRating}) {
        box->clear();
        box->addItems({QString(), QStringLiteral("<"), QStringLiteral("="), QStringLiteral(">")});
    }
}

SearchFields SearchTab::Fields() const {
    SearchFields fields{Std(txtSearchFileName->text()), Std(txtSearchTitle->text()), Chosen(cboSearchType),
                        Chosen(cboSearchCategory), Std(txtSearchCRC->text()), Std(cboSearchSize->currentText()),
                        Std(txtSearchSize->text()), Std(cboSearchLength->currentText()), Std(txtSearchLength->text()),
                        Std(txtSearchFourCC->text()), Std(cboSearchRating->currentText()), Std(txtSearchRating->text()), {},
                        ChosenDrive(cboSearchDrive), ChosenState(cboSearchPlugged), {}};
    for (int entry = 0; entry < lstSearchKeywords->count(); ++entry) fields.Keywords.push_back(Std(lstSearchKeywords->item(entry)->text()));
    for (const auto& [field, fact, op] : {std::tuple{txtSearchHeight, "height", ">="}, {txtSearchVideoCodec, "video_codec", "="},
                                          {txtSearchAudioLanguage, "audio_language", "="}}) {
        if (const QString value = field->text().trimmed(); !value.isEmpty()) fields.Facts.push_back({fact, op, Std(value)});
    }
    return fields;
}

// A search asked for while one runs is dropped: the fields it would read are those of the next
// search the person asks for.
void SearchTab::Search() {
    if (searching_) return;
    const SearchFields fields = Fields();
    for (const FactCondition& fact : fields.Facts) {
        if (const std::string wrong = CheckFact(fact); !wrong.empty())
            return Q_EMIT StatusChanged(tr("Not searched: %1").arg(QString::fromStdString(wrong)));
    }
    auto ids = std::make_shared<std::vector<int>>();
    Q_EMIT Busy(true);
    searching_ = new CatalogueJob(
        catalogue_.Store,
        [statement = BuildSearchStatement(catalogue_, fields), ids](Catalogue& worked) {
            return worked.Store.Query(statement, [&](const clsSQLite::Row& row) { ids->push_back(static_cast<int>(row.Int(0))); });
        },
        this);
    connect(searching_, &CatalogueJob::Finished, this, [this, ids, fields](const QString& error) {
        searching_->deleteLater();
        searching_ = nullptr;
        if (error.isEmpty()) ShowFound(*ids, fields);
        else Q_EMIT StatusChanged(tr("The search failed: %1").arg(error));
        Q_EMIT Busy(false);
    });
}

// The count is of the files listed, after the keywords narrowed what the catalogue matched.
void SearchTab::ShowFound(const std::vector<int>& ids, const SearchFields& fields) {
    const std::vector<const FileRecord*> found = FoundRecords(catalogue_, ids, fields);
    Q_EMIT FilesFound(found);
    Q_EMIT StatusChanged(tr("%1 matching files found").arg(found.size()));
}

void SearchTab::ShowAll() {
    Q_EMIT AllFilesWanted();
    Q_EMIT StatusChanged(tr("All files listed"));
}

// The type and category stay chosen; the drive and whether it is plugged in go with the rest.
void SearchTab::Clear() {
    for (QLineEdit* field : {txtSearchFileName, txtSearchTitle, txtSearchCRC, txtSearchSize, txtSearchLength, txtSearchFourCC,
                             txtSearchRating, txtSearchKeyword, txtSearchHeight, txtSearchVideoCodec, txtSearchAudioLanguage})
        field->clear();
    for (QComboBox* comparison : {cboSearchSize, cboSearchLength, cboSearchRating}) comparison->setCurrentIndex(-1);
    cboSearchDrive->setCurrentIndex(0);
    cboSearchPlugged->setCurrentIndex(AnyState);
    lstSearchKeywords->clear();
}

void SearchTab::FocusFileName() {
    txtSearchFileName->setFocus(Qt::ShortcutFocusReason);
    txtSearchFileName->selectAll();
}
