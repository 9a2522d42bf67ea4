// SPDX-License-Identifier: GPL-3.0-or-later
// The single copies as a table for a view: most of a catalogue may be single copies, so the rows are
// made as the view asks for them.
#pragma once

#include <QAbstractTableModel>

#include "drives/DriveSet.h"
#include "identity/dialogs/DuplicatesModel.h"
#include "identity/SingleCopies.h"

class SingleCopiesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { FileNameColumn, DriveColumn, PluggedColumn, SizeColumn, ColumnCount };

    explicit SingleCopiesModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void Show(SingleCopyReport report, const DriveSet& drives);
    const SingleCopyReport& Report() const { return report_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    SingleCopyReport report_;
    DrivesShown drives_;
};
