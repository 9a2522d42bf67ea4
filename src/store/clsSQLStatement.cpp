// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/clsSQLStatement.h"

std::string QuoteSQLText(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'";
}

namespace {

template <class Item, class Write>
std::string Join(const std::vector<Item>& items, const char* separator, Write write) {
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) joined += separator;
        joined += write(items[i]);
    }
    return joined;
}

const std::string& Itself(const std::string& text) { return text; }

}  // namespace

std::string clsSQLStatement::Field::Written() const {
    if (value.IsNull()) return "NULL";
    return text ? QuoteSQLText(value.AsText()) : value.AsText();
}

void clsSQLStatement::Reset() {
    fields_.clear();
    conditions_.clear();
    sortFields_.clear();
}

void clsSQLStatement::StartSelectStatement(const std::string& tableName) {
    table_ = tableName;
    Reset();
    kind_ = "SELECT";
}

void clsSQLStatement::StartInsertStatement(const std::string& tableName) {
    table_ = tableName;
    Reset();
    kind_ = "INSERT";
}

void clsSQLStatement::StartUpdateStatement(const std::string& tableName) {
    table_ = tableName;
    Reset();
    kind_ = "UPDATE";
}

void clsSQLStatement::AddTable(const std::string& tableName) {
    table_ += table_.empty() ? tableName : ", " + tableName;
}

void clsSQLStatement::AddField(const std::string& fieldName, const Cell& value, bool textField) {
    if (value == Cell("")) {
        fields_.push_back({fieldName, Cell("NULL"), false});
        return;
    }
    fields_.push_back({fieldName, value, textField});
}

void clsSQLStatement::AddWhereClause(const std::string& whereClause) { conditions_.push_back(whereClause); }

void clsSQLStatement::AddSortField(const std::string& fieldName) { sortFields_.push_back(fieldName); }

std::string clsSQLStatement::GetSQLStatement() const {
    if (kind_ == "SELECT") return SelectText();
    if (kind_ == "INSERT") return InsertText();
    if (kind_ == "UPDATE") return UpdateText();
    return {};
}

std::string clsSQLStatement::SelectText() const {
    std::string sql = "SELECT " + Join(fields_, ", ", [](const Field& f) { return f.name; });
    sql += " FROM " + table_ + Conditions();
    if (!sortFields_.empty()) sql += " ORDER BY " + Join(sortFields_, ", ", Itself);
    return sql;
}

std::string clsSQLStatement::InsertText() const {
    std::string sql = "INSERT INTO " + table_;
    if (fields_.empty()) return sql;
    sql += '(';
    sql += Join(fields_, ",", [](const Field& f) { return f.name; });
    sql += ") VALUES(";
    sql += Join(fields_, ",", [](const Field& f) { return f.Written(); });
    return sql + ')';
}

std::string clsSQLStatement::UpdateText() const {
    std::string sql = "UPDATE " + table_;
    if (!fields_.empty()) {
        sql += " SET " + Join(fields_, ", ", [](const Field& f) { return f.name + "=" + f.Written(); });
    }
    return sql + Conditions();
}

std::string clsSQLStatement::Conditions() const {
    return conditions_.empty() ? "" : " WHERE " + Join(conditions_, " AND ", Itself);
}
