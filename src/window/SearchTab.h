// SPDX-License-Identifier: GPL-3.0-or-later
// The Search tab: a field for each column of a file record, comparisons for the numbers, and the
// keywords a file must all have.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;

class SearchTab : public QWidget {
    Q_OBJECT

public:
    explicit SearchTab(QWidget* parent = nullptr);

    QLineEdit* txtSearchFileName;
    QLineEdit* txtSearchTitle;
    QComboBox* cboSearchType;
    QComboBox* cboSearchCategory;
    QLineEdit* txtSearchCRC;
    QComboBox* cboSearchSize;
    QLineEdit* txtSearchSize;
    QComboBox* cboSearchLength;
    QLineEdit* txtSearchLength;
    QLineEdit* txtSearchFourCC;
    QComboBox* cboSearchRating;
    QLineEdit* txtSearchRating;
    QLineEdit* txtSearchKeyword;
    QListWidget* lstSearchKeywords;

private:
    QWidget* MakeFields();
    QWidget* MakeKeywords();
};
