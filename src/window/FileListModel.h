// SPDX-License-Identifier: GPL-3.0-or-later
// The results list's rows: records of the file set shown through the row layout, and after its ten
// columns the drive each lies on and the media fact columns; sortable by any column. A row whose file is on a drive that is
// not plugged in where its path says is drawn greyed and says why. It holds positions in the set,
// not copies, so 100,000 rows cost little.
#pragma once

#include <QAbstractTableModel>

#include <memory>
#include <vector>

#include "facts/FactRows.h"
#include "model/Catalogue.h"

class NaturalOrder;

class FileListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit FileListModel(Catalogue& catalogue, QObject* parent = nullptr);
    ~FileListModel() override;

    // Shows every record of the set in its order; while the list is sorted, in the sort's order.
    void ShowAll();
    // Shows these records (positions in the set) in this order, sorted as above.
    void Show(std::vector<int> positions);
    // Shows nothing: call before the set is reloaded, so no row points at a record that is gone.
    void Clear();
    // The IDs of the files shown, in the order shown: what to show again once the set is reloaded.
    std::vector<int> ShownFileIDs() const;
    // Shows these records of the set, in this order, sorted as above.
    void ShowRecords(const std::vector<const FileRecord*>& records);
    // Shows those of the files with these IDs that the set holds, in this order, sorted as above.
    void ShowFileIDs(const std::vector<int>& ids);
    // The row that shows the record with this ID; -1 when none does.
    int RowOf(int fileID) const;
    // Shows the same records afresh after the texts of this column changed in place in the set:
    // without looking a million IDs up again, and sorted again only when the list is sorted by
    // that column (the order by any other stands). The views keep their selection on its records.
    void ShowAfresh(int changedColumn);
    // ShowAll after the texts of this column changed in place in the set: when every record is
    // shown already, ShowAfresh, so that equal cells keep the order they had rather than the set's.
    void ShowAllAfresh(int changedColumn);
    // Shows the same records afresh after several fields of some changed in place in the set, sorted
    // again when the list is sorted.
    void ShowRecordsAfresh();
    // Shows the record with this ID afresh after it changed in place in the set; the row keeps its place.
    void RewriteRow(int fileID);
    // Takes the record with this ID out of the list.
    void RemoveRow(int fileID);
    // Shows every row's drive afresh: drives were plugged in or out, or renamed.
    void ShowDrives();
    // A click on a header: the order flips whatever the column (the first click sorts ascending),
    // then the rows are ordered by that column, numbers as numbers. Equal cells keep their order.
    void SortByHeader(int column);
    // Sorts by the column in that order, as the list was left last time; a column out of range does nothing.
    void SortBy(int column, Qt::SortOrder order);
    // File Name, Title and Keywords in the natural order of the default QLocale's language: sorted
    // again at once when the list is sorted by one of them.
    void SortNamesNaturally(bool on);
    // Size and Length as bytes and milliseconds, or (off) as "1.0 GiB" and "1:30:21". Either way
    // the tooltip and the EditRole (what is copied) hold the exact number.
    void ShowExactNumbers(bool on);
    bool IsSorted() const { return sorted_; }
    int SortColumn() const { return sortColumn_; }
    Qt::SortOrder Order() const { return ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder; }

    // The record shown at row, or null.
    const FileRecord* RecordAt(int row) const;

    // The facts the fact columns show, as loaded with the sets.
    void SetFacts(FactSet facts);
    // Reads the record's facts again from the catalogue, after it was saved, and shows its row afresh.
    void RereadFacts(int fileID);
    // The first fact column; kFactColumnCount follow from here.
    static int FirstFactColumn();

    // The row key "KEY" + FileID.
    static constexpr int KeyRole = Qt::UserRole;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Rows dragged out carry their files as text/uri-list, for a player or a file manager. Only
    // copies are offered: a file manager taking a move would take the file away from its record.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    void SortRows();
    void Reorder();
    void SortByFact(int fact);
    QString Display(const FileRecord& record, int column) const;
    const NaturalOrder* Natural();

    Catalogue& catalogue_;
    FactSet facts_;
    std::vector<int> rows_;  // positions in catalogue_.Files.Records()
    bool sorted_ = false;
    int sortColumn_ = 0;
    bool ascending_ = false;  // flipped before each sort, so the first sort is ascending
    bool natural_ = true;
    std::unique_ptr<NaturalOrder> order_;  // opened for orderLocale_, which it takes a while to learn
    QString orderLocale_;
    bool exactNumbers_ = false;
};
