// SPDX-License-Identifier: GPL-3.0-or-later
// The groups of duplicates as a tree for a view: each group a row, its copies beneath it, each copy
// with a box to tick. Tens of thousands of groups cost only the report they are read from.
#pragma once

#include <QAbstractItemModel>

#include <set>
#include <vector>

#include "drives/DriveSet.h"
#include "identity/Duplicates.h"

// The drives' names, and whether each is plugged in, as they were when a list was shown.
class DrivesShown {
public:
    DrivesShown() = default;
    explicit DrivesShown(const DriveSet& drives);
    // "" while the drive is not known.
    QString Name(int driveID) const;
    // "yes", "no", or "" while the drive is not known.
    QString Plugged(int driveID) const;

private:
    const std::pair<QString, int>* Find(int driveID) const;
    std::vector<std::pair<QString, int>> byID_;  // name and plugged (1), away (0) or unknown (-1)
};

class DuplicatesModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { FileNameColumn, DriveColumn, PluggedColumn, SizeColumn, ColumnCount };

    explicit DuplicatesModel(QObject* parent = nullptr) : QAbstractItemModel(parent) {}

    // Shows the report's groups with the drives' names as drives has them; every tick is cleared.
    void Show(DuplicateReport report, const DriveSet& drives);
    const DuplicateReport& Report() const { return report_; }

    // The FileIDs of the copies ticked, group by group.
    std::vector<int> Ticked() const;
    // The groups whose every copy is ticked, each by its first copy's path.
    QStringList WhollyTicked() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& = {}) const override { return ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // A copy's index keeps its group's row + 1; a group's keeps 0.
    static bool IsCopy(const QModelIndex& index) { return index.isValid() && index.internalId() != 0; }
    const Copy& CopyAt(const QModelIndex& index) const;
    QVariant GroupText(const ContentGroup& group, int column) const;
    QVariant CopyText(const ContentGroup& group, const Copy& copy, int column) const;

    DuplicateReport report_;
    DrivesShown drives_;
    std::set<int> ticked_;  // FileIDs
};
