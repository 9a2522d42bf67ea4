// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/SearchTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <optional>
#include <tuple>

#include "window/Controls.h"
#include "window/modSearch.h"

namespace {

std::string Std(const QString& text) { return text.toStdString(); }

// The box's choice when it is an entry after the empty one.
std::optional<std::string> Chosen(const QComboBox* box) {
    if (box->currentIndex() <= 0) return std::nullopt;
    return Std(box->currentText());
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
                             txtSearchRating})
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
    grid->setRowStretch(9, 1);
    grid->setColumnStretch(2, 1);
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

void SearchTab::ResetComparisons() {
    for (QComboBox* box : {cboSearchSize, cboSearchLength, cboSearchRating}) {
        box->clear();
        box->addItems({QString(), QStringLiteral("<"), QStringLiteral("="), QStringLiteral(">")});
    }
}

// The count is of the files listed, after the keywords narrowed what the catalogue matched.
void SearchTab::Search() {
    SearchFields fields{Std(txtSearchFileName->text()), Std(txtSearchTitle->text()), Chosen(cboSearchType),
                        Chosen(cboSearchCategory), Std(txtSearchCRC->text()), Std(cboSearchSize->currentText()),
                        Std(txtSearchSize->text()), Std(cboSearchLength->currentText()), Std(txtSearchLength->text()),
                        Std(txtSearchFourCC->text()), Std(cboSearchRating->currentText()), Std(txtSearchRating->text()), {}, {}, {}};
    for (int entry = 0; entry < lstSearchKeywords->count(); ++entry) fields.Keywords.push_back(Std(lstSearchKeywords->item(entry)->text()));
    const SearchResult result = RunSearch(catalogue_, fields);
    if (!result.Error.empty()) {
        Q_EMIT StatusChanged(tr("The search failed: %1").arg(QString::fromStdString(result.Error)));
        return;
    }
    Q_EMIT FilesFound(result.Files);
    Q_EMIT StatusChanged(tr("%1 matching files found").arg(result.Files.size()));
}

void SearchTab::ShowAll() {
    Q_EMIT AllFilesWanted();
    Q_EMIT StatusChanged(tr("All files listed"));
}

// The type and category stay chosen.
void SearchTab::Clear() {
    for (QLineEdit* field : {txtSearchFileName, txtSearchTitle, txtSearchCRC, txtSearchSize, txtSearchLength, txtSearchFourCC,
                             txtSearchRating, txtSearchKeyword})
        field->clear();
    for (QComboBox* comparison : {cboSearchSize, cboSearchLength, cboSearchRating}) comparison->setCurrentIndex(-1);
    lstSearchKeywords->clear();
}
