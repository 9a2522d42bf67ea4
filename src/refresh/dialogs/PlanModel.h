// SPDX-License-Identifier: GPL-3.0-or-later
// A refresh plan as a tree: one group per kind that has rows, headed by its name and count, and
// under it the rows, each with its tick box (moved rows: the old path beside the new). Ticking a
// group ticks every row in it. Only the window's thread touches it.
#pragma once

#include <QAbstractItemModel>

#include <vector>

#include "refresh/RefreshPlan.h"

class PlanModel : public QAbstractItemModel {
    Q_OBJECT

public:
    using QAbstractItemModel::QAbstractItemModel;

    void Show(RefreshPlan plan);
    void Clear() { Show({}); }
    // The plan with the ticks as the person left them.
    const RefreshPlan& Plan() const { return plan_; }
    // Rows Apply would carry out.
    int Ticked() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Group {
        RefreshKind Kind;
        int First;  // its rows are plan_.Rows[First, First + Count)
        int Count;
        int Ticked;
    };

    bool IsGroup(const QModelIndex& index) const;
    QVariant GroupData(const Group& group, int column, int role) const;
    QVariant RowData(const PlanRow& row, int column, int role) const;
    void TickGroup(int group, bool ticked);

    RefreshPlan plan_;
    std::vector<Group> groups_;
};

// Whether Apply carries out rows of this kind; the others are there to be known.
bool Actionable(RefreshKind kind);
// "New", "Moved", ... as the plan's groups are headed.
QString KindCaption(RefreshKind kind);
