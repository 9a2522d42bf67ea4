// SPDX-License-Identifier: GPL-3.0-or-later
#include "refresh/dialogs/PlanModel.h"

#include <limits>

namespace {

// The internal id of a group's own index; a row's is the number of its group.
constexpr quintptr kGroup = std::numeric_limits<quintptr>::max();

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

bool Actionable(RefreshKind kind) {
    return kind == RefreshKind::New || kind == RefreshKind::Moved || kind == RefreshKind::Changed || kind == RefreshKind::Missing;
}

QString KindCaption(RefreshKind kind) {
    QString name = QString::fromUtf8(KindName(kind));
    name[0] = name[0].toUpper();
    return name;
}

void PlanModel::Show(RefreshPlan plan) {
    beginResetModel();
    plan_ = std::move(plan);
    groups_.clear();
    int first = 0;
    for (const RefreshKind kind : kRefreshKinds) {
        const int count = plan_.Count(kind);
        if (count == 0) continue;
        int ticked = 0;
        for (int row = first; row < first + count; ++row) {
            PlanRow& planned = plan_.Rows[static_cast<std::size_t>(row)];
            planned.Ticked = planned.Ticked && Actionable(kind);
            ticked += planned.Ticked ? 1 : 0;
        }
        groups_.push_back({kind, first, count, ticked});
        first += count;
    }
    endResetModel();
}

int PlanModel::Ticked() const {
    int ticked = 0;
    for (const Group& group : groups_) ticked += group.Ticked;
    return ticked;
}

bool PlanModel::IsGroup(const QModelIndex& index) const { return index.isValid() && index.internalId() == kGroup; }

QModelIndex PlanModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) return {};
    return createIndex(row, column, parent.isValid() ? static_cast<quintptr>(parent.row()) : kGroup);
}

QModelIndex PlanModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || IsGroup(child)) return {};
    return createIndex(static_cast<int>(child.internalId()), 0, kGroup);
}

int PlanModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return static_cast<int>(groups_.size());
    return IsGroup(parent) && parent.column() == 0 ? groups_[static_cast<std::size_t>(parent.row())].Count : 0;
}

int PlanModel::columnCount(const QModelIndex&) const { return 3; }

QVariant PlanModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (IsGroup(index)) return GroupData(groups_[static_cast<std::size_t>(index.row())], index.column(), role);
    const Group& group = groups_[index.internalId()];
    return RowData(plan_.Rows[static_cast<std::size_t>(group.First + index.row())], index.column(), role);
}

QVariant PlanModel::GroupData(const Group& group, int column, int role) const {
    if (column != 0) return {};
    if (role == Qt::DisplayRole) return QStringLiteral("%1 (%2)").arg(KindCaption(group.Kind)).arg(group.Count);
    if (role == Qt::CheckStateRole && Actionable(group.Kind))
        return group.Ticked == 0 ? Qt::Unchecked : group.Ticked == group.Count ? Qt::Checked : Qt::PartiallyChecked;
    return {};
}

QVariant PlanModel::RowData(const PlanRow& row, int column, int role) const {
    if (role == Qt::CheckStateRole && column == 0 && Actionable(row.Kind)) return row.Ticked ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (column) {
    case 0: return Q(row.OldPath.empty() ? row.NewPath : row.OldPath);
    case 1: return row.OldPath.empty() ? QString() : Q(row.NewPath);
    default: return Q(row.Note);
    }
}

bool PlanModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !(flags(index) & Qt::ItemIsUserCheckable)) return false;
    const bool ticked = value.toInt() == Qt::Checked;
    if (IsGroup(index)) {
        TickGroup(index.row(), ticked);
        return true;
    }
    Group& group = groups_[index.internalId()];
    PlanRow& row = plan_.Rows[static_cast<std::size_t>(group.First + index.row())];
    if (row.Ticked == ticked) return true;
    row.Ticked = ticked;
    group.Ticked += ticked ? 1 : -1;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    const QModelIndex head = parent(index);
    Q_EMIT dataChanged(head, head, {Qt::CheckStateRole});
    return true;
}

void PlanModel::TickGroup(int number, bool ticked) {
    Group& group = groups_[static_cast<std::size_t>(number)];
    for (int row = group.First; row < group.First + group.Count; ++row) plan_.Rows[static_cast<std::size_t>(row)].Ticked = ticked;
    group.Ticked = ticked ? group.Count : 0;
    const QModelIndex head = index(number, 0);
    Q_EMIT dataChanged(head, head, {Qt::CheckStateRole});
    Q_EMIT dataChanged(index(0, 0, head), index(group.Count - 1, 0, head), {Qt::CheckStateRole});
}

Qt::ItemFlags PlanModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const RefreshKind kind = IsGroup(index) ? groups_[static_cast<std::size_t>(index.row())].Kind : groups_[index.internalId()].Kind;
    if (index.column() == 0 && Actionable(kind)) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant PlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const char* const captions[] = {"Path", "New path", "Note"};
    return tr(captions[section]);
}
