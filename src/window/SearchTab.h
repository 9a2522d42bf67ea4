// SPDX-License-Identifier: GPL-3.0-or-later
// The Search tab: a field for each column of a file record, comparisons for the numbers, the
// keywords a file must all have, and the drive it lies on and whether that is plugged in. It runs
// the search's statement on a worker over a connection of its own, then hands the files found in
// the catalogue's sets to the window to list.
#pragma once

#include <QWidget>

#include <vector>

#include "listing/modSearch.h"
#include "model/Catalogue.h"

class CatalogueJob;
class QComboBox;
class QLineEdit;
class QListWidget;

class SearchTab : public QWidget {
    Q_OBJECT

public:
    explicit SearchTab(Catalogue& catalogue, QWidget* parent = nullptr);

    // The type and category boxes: an empty entry, then the names; the entry chosen by position
    // stays chosen while there still is one there.
    void ShowCategoryNames(const QStringList& names);
    void ShowFileTypeNames(const QStringList& names);
    // The size, length and rating comparisons: "", "<", "=", ">", none chosen.
    void ResetComparisons();
    // Ctrl+F: the File Name field takes the keys, its text chosen so that typing replaces it.
    void FocusFileName();
    // The drive box: an empty entry, then the catalogue's drives by name; the drive chosen stays
    // chosen while the catalogue still has it.
    void ShowDrives();

Q_SIGNALS:
    // The files found, records of the loaded set, in the order the catalogue gave them.
    void FilesFound(const std::vector<const FileRecord*>& files);
    void AllFilesWanted();
    void StatusChanged(const QString& text);
    // While the statement runs on its worker the sets must not be replaced.
    void Busy(bool busy);

private:
    QWidget* MakeFields();
    QWidget* MakeKeywords();
    QWidget* MakeButtons();
    QWidget* MakeDriveFields();
    QWidget* MakeMediaFields();
    SearchFields Fields() const;
    void Search();
    void ShowFound(const std::vector<int>& ids, const SearchFields& fields);
    void ShowAll();
    void Clear();

    Catalogue& catalogue_;
    CatalogueJob* searching_ = nullptr;  // one search at a time, so the last one asked for is shown

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
    QComboBox* cboSearchDrive;
    QComboBox* cboSearchPlugged;
    QLineEdit* txtSearchHeight;
    QLineEdit* txtSearchVideoCodec;
    QLineEdit* txtSearchAudioLanguage;
    QLineEdit* txtSearchKeyword;
    QListWidget* lstSearchKeywords;
};
