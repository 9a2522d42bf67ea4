// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/dialogs/DuplicatesModel.h"

#include <algorithm>

DrivesShown::DrivesShown(const DriveSet& drives) {
    for (const Drive& drive : drives.All()) {
        if (drive.DriveID < 0) continue;
        if (drive.DriveID >= static_cast<int>(byID_.size())) byID_.resize(static_cast<std::size_t>(drive.DriveID) + 1, {QString(), -1});
        byID_[static_cast<std::size_t>(drive.DriveID)] = {QString::fromStdString(drive.Name), drive.Plugged() ? 1 : 0};
    }
}

const std::pair<QString, int>* DrivesShown::Find(int driveID) const {
    return driveID >= 0 && driveID < static_cast<int>(byID_.size()) ? &byID_[static_cast<std::size_t>(driveID)] : nullptr;
}

QString DrivesShown::Name(int driveID) const {
    const auto* drive = Find(driveID);
    return drive ? drive->first : QString();
}

QString DrivesShown::Plugged(int driveID) const {
    const auto* drive = Find(driveID);
    if (!drive || drive->second < 0) return {};
    return drive->second ? QObject::tr("yes") : QObject::tr("no");
}

void DuplicatesModel::Show(DuplicateReport report, const DriveSet& drives) {
    beginResetModel();
    report_ = std::move(report);
    ticked_.clear();
    drives_ = DrivesShown(drives);
    endResetModel();
}

std::vector<int> DuplicatesModel::Ticked() const {
    std::vector<int> ticked;
    for (const ContentGroup& group : report_.Groups) {
        for (const Copy& copy : group.Copies) {
            if (ticked_.contains(copy.FileID)) ticked.push_back(copy.FileID);
        }
    }
    return ticked;
}

QStringList DuplicatesModel::WhollyTicked() const {
    QStringList groups;
    for (const ContentGroup& group : report_.Groups) {
        const bool all = std::all_of(group.Copies.begin(), group.Copies.end(), [&](const Copy& copy) { return ticked_.contains(copy.FileID); });
        if (all) groups << QString::fromStdString(group.Copies.front().FileName);
    }
    return groups;
}

QModelIndex DuplicatesModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= ColumnCount) return {};
    if (!parent.isValid())
        return row < static_cast<int>(report_.Groups.size()) ? createIndex(row, column, quintptr{0}) : QModelIndex();
    if (IsCopy(parent) || row >= static_cast<int>(report_.Groups[parent.row()].Copies.size())) return {};
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex DuplicatesModel::parent(const QModelIndex& child) const {
    if (!IsCopy(child)) return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr{0});
}

int DuplicatesModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return static_cast<int>(report_.Groups.size());
    if (IsCopy(parent) || parent.column() != 0) return 0;
    return static_cast<int>(report_.Groups[parent.row()].Copies.size());
}

const Copy& DuplicatesModel::CopyAt(const QModelIndex& index) const {
    return report_.Groups[index.internalId() - 1].Copies[index.row()];
}

QVariant DuplicatesModel::GroupText(const ContentGroup& group, int column) const {
    if (column == FileNameColumn)
        return tr("%1 copies of %2").arg(group.Copies.size()).arg(QString::fromStdString(ByteText(group.Size)));
    if (column == SizeColumn) return tr("%1 extra").arg(QString::fromStdString(ByteText(group.Waste())));
    return {};
}

QVariant DuplicatesModel::CopyText(const ContentGroup& group, const Copy& copy, int column) const {
    switch (column) {
    case FileNameColumn: return QString::fromStdString(copy.FileName);
    case DriveColumn: return drives_.Name(copy.DriveID);
    case PluggedColumn: return drives_.Plugged(copy.DriveID);
    case SizeColumn: return QString::fromStdString(ByteText(group.Size));
    default: return {};
    }
}

QVariant DuplicatesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (!IsCopy(index)) return role == Qt::DisplayRole ? GroupText(report_.Groups[index.row()], index.column()) : QVariant();
    const Copy& copy = CopyAt(index);
    if (role == Qt::CheckStateRole && index.column() == FileNameColumn)
        return ticked_.contains(copy.FileID) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DisplayRole) return CopyText(report_.Groups[index.internalId() - 1], copy, index.column());
    return {};
}

bool DuplicatesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!IsCopy(index) || role != Qt::CheckStateRole || index.column() != FileNameColumn) return false;
    const int id = CopyAt(index).FileID;
    if (value.value<Qt::CheckState>() == Qt::Checked) ticked_.insert(id);
    else ticked_.erase(id);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags DuplicatesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsCopy(index) && index.column() == FileNameColumn) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant DuplicatesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case FileNameColumn: return tr("File Name");
    case DriveColumn: return tr("Drive");
    case PluggedColumn: return tr("Plugged In");
    case SizeColumn: return tr("Size");
    default: return {};
    }
}
