// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/SearchTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "window/Controls.h"

SearchTab::SearchTab(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MakeFields(), 3);
    auto* side = new QVBoxLayout;
    side->addWidget(MakeKeywords(), 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(MakeButton("cmdSearchSearch", "Search"));
    buttons->addWidget(MakeButton("cmdSearchShowAll", "Show All"));
    buttons->addWidget(MakeButton("cmdSearchClear", "Clear"));
    side->addLayout(buttons);
    layout->addLayout(side, 2);
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
