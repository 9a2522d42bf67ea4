// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clsCategory.h"

#include "model/Cursor.h"

void clsCategory::Deleteall() {
    rows_.clear();
    current_ = -1;
}

int clsCategory::CategoryID() const { return IsOn(current_, rows_) ? rows_[current_].id : -1; }

const std::string& clsCategory::Category() const {
    static const std::string kNone;
    return IsOn(current_, rows_) ? rows_[current_].name : kNone;
}

bool clsCategory::MoveFirst() { return MoveToFirst(current_, rows_); }

bool clsCategory::MoveNext() { return MoveToNext(current_, rows_); }

bool clsCategory::GotoCategoryID(int id) {
    return GotoLast(current_, rows_, [id](const Row& row) { return row.id == id; });
}

bool clsCategory::GotoCategoryName(const std::string& name) {
    return GotoLast(current_, rows_, [&name](const Row& row) { return row.name == name; });
}

std::string clsCategory::LoadFromDatabase(clsSQLite& store) {
    if (!store.DBOpen()) return {};
    Deleteall();
    const std::string error = store.Query("SELECT CategoryID, Category FROM tblCategory ORDER BY Category",
                                          [this](const clsSQLite::Row& row) {
                                              rows_.push_back({static_cast<int>(row.Int(0)), std::string(row.Text(1))});
                                          });
    if (!error.empty()) rows_.clear();
    if (!rows_.empty()) current_ = 0;
    return error;
}
