// SPDX-License-Identifier: GPL-3.0-or-later
// The categories of the open catalogue, as last loaded, in name order, with a cursor.
#pragma once

#include <string>
#include <vector>

#include "store/clsSQLite.h"

class clsCategory {
public:
    void Deleteall();
    int Count() const { return static_cast<int>(rows_.size()); }
    // -1 and "" when no row is current.
    int CategoryID() const;
    const std::string& Category() const;
    // Neither moves past the ends; at an end they return false and stay put.
    bool MoveFirst();
    bool MoveNext();
    // The last matching row becomes current; with no match the cursor stays. Names compare exactly.
    bool GotoCategoryID(int id);
    bool GotoCategoryName(const std::string& name);

    // Replaces the set with the catalogue's categories, the first one current. With no catalogue
    // open the set keeps what it held. Returns "" or the engine's message (the set is then empty).
    std::string LoadFromDatabase(clsSQLite& store);

private:
    struct Row {
        int id;
        std::string name;
    };
    std::vector<Row> rows_;
    int current_ = -1;
};
