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

    // The type and category boxes: an empty entry, then the names; the entry chosen by position
    // stays chosen while there still is one there.
    void ShowCategoryNames(const QStringList& names);
    void ShowFileTypeNames(const QStringList& names);
    // The size, length and rating comparisons: "", "<", "=", ">", none chosen.
    void ResetComparisons();

private:
    QWidget* MakeFields();
    QWidget* MakeKeywords();

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
};
