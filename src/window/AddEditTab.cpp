// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/AddEditTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "window/Controls.h"

AddEditTab::AddEditTab(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MakeFields(), 3);
    auto* side = new QVBoxLayout;
    side->addWidget(MakeKeywords(), 1);
    fraAddDropFile = MakeFrame("fraAddDropFile", "Drop File Here");
    auto* dropHint = new QLabel(tr("Drop a file from your file manager here to fill in the form."));
    dropHint->setWordWrap(true);
    dropHint->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(fraAddDropFile))->addWidget(dropHint);
    fraAddDropFile->setMinimumHeight(70);
    side->addWidget(fraAddDropFile);
    layout->addLayout(side, 2);
}

QWidget* AddEditTab::MakeFields() {
    auto* fields = new QWidget;
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    txtAddFileName = MakeLineEdit("txtAddFileName");
    txtAddCRC = MakeLineEdit("txtAddCRC");
    txtAddTitle = MakeLineEdit("txtAddTitle");
    txtAddSize = MakeLineEdit("txtAddSize");
    txtAddLength = MakeLineEdit("txtAddLength");
    cboAddType = MakeCombo("cboAddType");
    txtAddRating = MakeLineEdit("txtAddRating", 3);
    cboAddCategory = MakeCombo("cboAddCategory");
    txtAddFourCC = MakeLineEdit("txtAddFourCC", 4);
    txtAddFileID = MakeLineEdit("txtAddFileID");
    txtAddFileID->setVisible(false);

    const auto row = [&](int at, const char* label, QWidget* field, const char* calculate = nullptr) {
        grid->addWidget(MakeLabel(label, field), at, 0);
        grid->addWidget(field, at, 1, 1, calculate ? 1 : 2);
        if (calculate) grid->addWidget(MakeButton(calculate, "Calculate"), at, 2);
    };
    row(0, "File Name", txtAddFileName);
    row(1, "Title", txtAddTitle);
    row(2, "CRC", txtAddCRC, "cmdAddCRCCalculate");
    row(3, "Size (bytes)", txtAddSize, "cmdAddSizeCalculate");
    row(4, "Length (ms)", txtAddLength, "cmdAddLengthCalculate");
    row(5, "FourCC", txtAddFourCC, "cmdAddFourCCCalculate");
    row(6, "Type", cboAddType);
    row(7, "Category", cboAddCategory);
    row(8, "Rating", txtAddRating);
    grid->addWidget(txtAddFileID, 9, 1);
    grid->addWidget(MakeButtons(), 10, 0, 1, 3);
    grid->setRowStretch(11, 1);
    grid->setColumnStretch(1, 1);
    return fields;
}

QWidget* AddEditTab::MakeKeywords() {
    const ListEditor keywords =
        MakeListEditor("fraAddKeywords", "Keywords", "txtAddKeyword", "cmdAddKeywordAdd", "lstAddKeywords", "cmdAddKeywordDelete");
    txtAddKeyword = keywords.Edit;
    lstAddKeywords = keywords.List;
    return keywords.Frame;
}

QWidget* AddEditTab::MakeButtons() {
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 8, 0, 0);
    cmdAddSave = MakeButton("cmdAddSave", "Save");
    cmdAddSave->setEnabled(false);
    row->addWidget(cmdAddSave);
    cmdAddClear = MakeButton("cmdAddClear", "Clear");
    row->addWidget(cmdAddClear);
    row->addWidget(MakeButton("cmdAddDelete", "Delete"));
    row->addStretch();
    row->addWidget(MakeButton("cmdAddPlay", "Open File"));
    return buttons;
}

void AddEditTab::ClearAddForm() {
    for (QLineEdit* field : {txtAddFileName, txtAddCRC, txtAddTitle, txtAddSize, txtAddLength, txtAddRating,
                             txtAddFourCC, txtAddFileID, txtAddKeyword})
        field->clear();
    lstAddKeywords->clear();
}
