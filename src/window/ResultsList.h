// SPDX-License-Identifier: GPL-3.0-or-later
// The results list below the tabs: the file list model's rows, sorted by a click on a header, a
// record chosen by a click, and a file opened by a double click or Enter with its type's application
// or the desktop's. Several rows can be chosen at once (Shift, Ctrl, Ctrl+A); Delete deletes the
// chosen records, Ctrl+C copies them with their exact numbers, and rows dragged out carry their files.
#pragma once

#include <QTableView>

#include <vector>

#include "model/Catalogue.h"

class FileListModel;
class Prompts;
class QMenu;

class ResultsList : public QTableView {
    Q_OBJECT

public:
    // Shows model, whose rows are records of catalogue's file set; asks through prompts.
    ResultsList(Catalogue& catalogue, FileListModel* model, Prompts& prompts, QWidget* parent = nullptr);

    // Where the list is scrolled to, and back there after other rows were shown meanwhile.
    int ScrolledTo() const;
    void ScrollBackTo(int scrolled);
    // Shows the columns with these headers and hides the others (File Name always shows); an
    // empty list shows all but the media facts' columns.
    void ShowColumns(const QStringList& shown);
    // The headers of the columns shown, in order.
    QStringList ShownColumns() const;
    // Sorts as a click on the header would have left it, in that order.
    void RestoreSort(int column, Qt::SortOrder order);
    // The IDs of the records of the rows chosen, in the order shown.
    std::vector<int> ChosenFileIDs() const;
    // Asks, then deletes the chosen records all together or, when one cannot be, none of them.
    void DeleteChosen();
    // The chosen rows' shown cells, tab between cells and a line per row, sizes and lengths exact.
    QString ChosenText() const;

Q_SIGNALS:
    void FileChosen(int fileID);
    // Why a file could not be opened.
    void StatusChanged(const QString& text);
    // The person chose the columns shown from the header's menu.
    void ColumnsChosen(const QStringList& shown);
    // Gone from the catalogue, not yet from the sets.
    void FilesDeleted(const std::vector<int>& fileIDs);
    // The rows chosen changed: their files' IDs, in the list's order.
    void ChosenChanged(const std::vector<int>& fileIDs);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SizeColumns();
    void MakeColumnMenu();
    QString Header(int column) const;
    void SortBy(int column);
    void Open(int row);

    Catalogue& catalogue_;
    FileListModel* model_;
    Prompts& prompts_;
    QMenu* columnMenu_ = nullptr;
};
