// SPDX-License-Identifier: GPL-3.0-or-later
// Assembles the text of one SELECT, INSERT or UPDATE from parts added one at a time. It quotes
// text values and writes empty ones as NULL; names, tables, conditions and sort fields go in
// verbatim, unchecked. It only builds text: the caller runs it with clsSQLite::Execute.
#pragma once

#include <string>
#include <vector>

#include "store/Cell.h"

// A text as an SQL literal: in single quotes, each single quote inside doubled.
std::string QuoteSQLText(const std::string& text);

class clsSQLStatement {
public:
    // Empties the fields, conditions and sort fields; the kind and the table stay.
    void Reset();
    // Each sets the kind and the table and empties the lists.
    void StartSelectStatement(const std::string& tableName);
    void StartInsertStatement(const std::string& tableName);
    void StartUpdateStatement(const std::string& tableName);
    // Appends ", " and the name to the table text, or sets it when empty.
    void AddTable(const std::string& tableName);
    // A value equal to the empty text is written as the bare keyword NULL, never as ''. A text
    // field's value is quoted with its single quotes doubled; any other value is written plainly.
    void AddField(const std::string& fieldName, const Cell& value = Cell(), bool textField = false);
    void AddWhereClause(const std::string& whereClause);
    void AddSortField(const std::string& fieldName);
    // The statement, without a closing semicolon; "" before a Start call. May be asked again.
    std::string GetSQLStatement() const;

private:
    struct Field {
        std::string name;
        Cell value;
        bool text;
        std::string Written() const;  // the value as it stands in INSERT and UPDATE
    };

    std::string SelectText() const;
    std::string InsertText() const;
    std::string UpdateText() const;
    std::string Conditions() const;

    std::string kind_ = "NONE";
    std::string table_;
    std::vector<Field> fields_;
    std::vector<std::string> conditions_;
    std::vector<std::string> sortFields_;
};
