// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh, empty catalogue per test, with a few helpers to look inside it.
#pragma once

#include <gtest/gtest.h>

#include "common/TempFolder.h"
#include "model/Catalogue.h"
#include "store/modSchema.h"

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CreateNewDatabase(catalogue.Store, folder.Path("test.rvd")), ""); }

    // The first column of the first row of a query, as text.
    std::string Ask(const std::string& sql) {
        EXPECT_EQ(catalogue.Store.Execute(sql), "") << sql;
        return catalogue.Store.Field(0).AsText();
    }
    // Makes every later statement of the given kind on table fail, as a full disk or a damaged
    // file would.
    void Refuse(const std::string& when, const std::string& table) {
        ASSERT_EQ(catalogue.Store.Execute("CREATE TRIGGER refuse BEFORE " + when + " ON " + table +
                                          " BEGIN SELECT RAISE(ABORT, 'refused'); END;"),
                  "");
    }

    TempFolder folder;
    Catalogue catalogue;
};
