// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/dialogs/SingleCopiesModel.h"

void SingleCopiesModel::Show(SingleCopyReport report, const DriveSet& drives) {
    beginResetModel();
    report_ = std::move(report);
    drives_ = DrivesShown(drives);
    endResetModel();
}

int SingleCopiesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(report_.Copies.size());
}

QVariant SingleCopiesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    const SingleCopy& single = report_.Copies[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case FileNameColumn: return QString::fromStdString(single.Of.FileName);
    case DriveColumn: return drives_.Name(single.Of.DriveID);
    case PluggedColumn: return drives_.Plugged(single.Of.DriveID);
    case SizeColumn: return QString::fromStdString(ByteText(single.Size));
    default: return {};
    }
}

QVariant SingleCopiesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case FileNameColumn: return tr("File Name");
    case DriveColumn: return tr("Drive");
    case PluggedColumn: return tr("Plugged In");
    case SizeColumn: return tr("Size");
    default: return {};
    }
}
