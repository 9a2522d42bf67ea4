// SPDX-License-Identifier: GPL-3.0-or-later
// The Add/Edit tab: the form of one file record, with buttons that compute its facts from the file,
// its keywords, and a frame onto which a file can be dropped.
#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class AddEditTab : public QWidget {
    Q_OBJECT

public:
    explicit AddEditTab(QWidget* parent = nullptr);

    // Empties every field and the keyword list; the next Save adds a new record.
    void ClearAddForm();

    QLineEdit* txtAddFileName;
    QLineEdit* txtAddCRC;
    QLineEdit* txtAddTitle;
    QLineEdit* txtAddSize;
    QLineEdit* txtAddLength;
    QComboBox* cboAddType;
    QLineEdit* txtAddRating;
    QComboBox* cboAddCategory;
    QLineEdit* txtAddFourCC;
    QLineEdit* txtAddFileID;  // hidden: the record being edited, "" when adding
    QLineEdit* txtAddKeyword;
    QListWidget* lstAddKeywords;
    QPushButton* cmdAddSave;
    QPushButton* cmdAddClear;
    QGroupBox* fraAddDropFile;

private:
    QWidget* MakeFields();
    QWidget* MakeKeywords();
    QWidget* MakeButtons();
};
