// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/clsSQLite.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempFolder.h"

namespace {

class OpenStore : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(store.OpenDB(folder.Path("c.rvd")), ""); }
    void Run(const std::string& sql) { ASSERT_EQ(store.Execute(sql), "") << sql; }

    TempFolder folder;
    clsSQLite store;
};

}  // namespace

TEST_F(OpenStore, WalksRowsAndReadsCellsByPosition) {
    Run("CREATE TABLE t(n INTEGER, x)");
    Run("INSERT INTO t VALUES(1, NULL); INSERT INTO t VALUES(2, 'it''s'); INSERT INTO t VALUES(3, 4.5)");
    Run("SELECT n, x FROM t ORDER BY n");
    ASSERT_EQ(store.RecordCount(), 3);
    ASSERT_EQ(store.ColumnCount(), 2);
    EXPECT_EQ(store.Field(1).AsText(), "");  // NULL, read without MoveFirst
    EXPECT_EQ(store.Field(1).AsInt(), 0);
    EXPECT_TRUE(store.MoveNext());
    EXPECT_EQ(store.Field(1).AsText(), "it's");
    EXPECT_FALSE(store.IsEOF());
    EXPECT_TRUE(store.MoveNext());
    EXPECT_EQ(store.Field(1).AsText(), "4.5");
    EXPECT_TRUE(store.IsEOF());
    EXPECT_FALSE(store.MoveNext());
    EXPECT_EQ(store.Field(0).AsInt(), 3);  // stayed on the last row
    EXPECT_TRUE(store.MovePrevious());
    EXPECT_EQ(store.Field(0).AsInt(), 2);
    EXPECT_TRUE(store.Field(2).IsNull());
    EXPECT_TRUE(store.Field(-1).IsNull());

    Run("SELECT 'only'");
    EXPECT_TRUE(store.IsEOF());
    EXPECT_FALSE(store.MoveNext());
    EXPECT_FALSE(store.MovePrevious());
}

TEST_F(OpenStore, StatementsWithoutRowsAndFailuresLeaveAnEmptyResult) {
    Run("CREATE TABLE t(id INTEGER PRIMARY KEY, x)");
    for (const char* sql : {"INSERT INTO t VALUES(NULL, 'a')", "SELECT x FROM t WHERE x = 'none'", "UPDATE t SET x = 'b'"}) {
        Run("SELECT 1, 2");
        Run(sql);
        EXPECT_EQ(store.RecordCount(), 0) << sql;
        EXPECT_EQ(store.ColumnCount(), 0) << sql;
        EXPECT_FALSE(store.MoveFirst()) << sql;
        EXPECT_TRUE(store.Field(0).IsNull()) << sql;
    }
    EXPECT_EQ(store.LastRowID(), 1);
    Run("SELECT 1");
    EXPECT_NE(store.Execute("SELEC x FROM t").find("syntax error"), std::string::npos);
    EXPECT_EQ(store.RecordCount(), 0);
}

TEST_F(OpenStore, BoundParametersAreValuesNeverSql) {
    Run("CREATE TABLE t(x, n)");
    for (const Cell& value : {Cell("it's'); DROP TABLE t; --"), Cell(), Cell(std::int64_t{1} << 40)})
        ASSERT_EQ(store.Execute("INSERT INTO t VALUES(?1, ?2)", {value, 7}), "");
    ASSERT_EQ(store.Execute("SELECT x FROM t WHERE n=?1 ORDER BY rowid", {7}), "");
    ASSERT_EQ(store.RecordCount(), 3);
    EXPECT_EQ(store.Field(0).AsText(), "it's'); DROP TABLE t; --");
    store.MoveNext();
    EXPECT_TRUE(store.Field(0).IsNull());
    store.MoveNext();
    EXPECT_EQ(store.Field(0).AsInt(), std::int64_t{1} << 40);
    EXPECT_NE(store.Execute("INSERT INTO missing VALUES(?1)", {1}), "");
}

TEST_F(OpenStore, ClosedStoreRefusesStatementsAndKeepsItsResult) {
    Run("SELECT 'kept'");
    store.CloseDB();
    store.CloseDB();
    EXPECT_EQ(store.Execute("SELECT 1"), "SQLite database not open");
    EXPECT_EQ(store.Field(0).AsText(), "kept");
    EXPECT_EQ(store.LastRowID(), -1);
    EXPECT_EQ(store.FileName(), "");
    EXPECT_NE(clsSQLite::Transaction(store).BeginError(), "");
}

TEST(OpenDB, CreatesAMissingFileAndAFailedOpenClosesThePrevious) {
    TempFolder folder;
    clsSQLite store;
    const std::string path = folder.Path("new.rvd");
    ASSERT_EQ(store.OpenDB(path), "");
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(store.FileName(), path);

    EXPECT_NE(store.OpenDB(folder.Write("notes.txt", "not a database, just words\n")), "");
    EXPECT_FALSE(store.DBOpen());
    EXPECT_EQ(store.FileName(), "");
}

TEST_F(OpenStore, TransactionCommitsOnlyWhenTold) {
    Run("CREATE TABLE t(x)");
    {
        clsSQLite::Transaction unit(store);
        ASSERT_EQ(unit.BeginError(), "");
        Run("INSERT INTO t VALUES('dropped')");
    }
    {
        clsSQLite::Transaction outer(store);
        Run("INSERT INTO t VALUES('kept')");
        {
            clsSQLite::Transaction inner(store);
            Run("INSERT INTO t VALUES('inner, dropped')");
        }
        Run("SELECT x FROM t");
        EXPECT_EQ(outer.Commit(), "");
        EXPECT_EQ(store.Field(0).AsText(), "kept");  // committing left the result alone
    }
    clsSQLite other;  // a second connection sees only what was committed
    ASSERT_EQ(other.OpenDB(store.FileName()), "");
    ASSERT_EQ(other.Execute("SELECT group_concat(x) FROM t"), "");
    EXPECT_EQ(other.Field(0).AsText(), "kept");
}

// A reader beside another sees exactly its state: no writer may commit between them, and where
// that cannot be promised none is opened.
TEST_F(OpenStore, AReaderBesideSeesTheSameStateOrIsRefused) {
    Run("CREATE TABLE t(x)");
    Run("INSERT INTO t VALUES('before')");
    clsSQLite beside, writer;
    EXPECT_NE(beside.OpenBeside(store), "") << "no read transaction";
    {
        clsSQLite::Transaction snapshot(store);
        Run("SELECT count(*) FROM t");
        ASSERT_EQ(beside.OpenBeside(store), "");
        ASSERT_EQ(writer.OpenDB(store.FileName()), "");
        writer.SetBusyTimeout(0);
        EXPECT_EQ(writer.Execute("INSERT INTO t VALUES('meanwhile')"), kCatalogueBusy);
        writer.CloseDB();
        ASSERT_EQ(beside.Execute("SELECT group_concat(x) FROM t"), "");
        EXPECT_EQ(beside.Field(0).AsText(), "before");
    }
    beside.CloseDB();
    {
        clsSQLite::Transaction changing(store);
        Run("INSERT INTO t VALUES('own change')");
        EXPECT_NE(beside.OpenBeside(store), "") << "the reader's uncommitted change";
    }
    Run("PRAGMA journal_mode=WAL");
    clsSQLite::Transaction snapshot(store);
    Run("SELECT count(*) FROM t");
    EXPECT_NE(beside.OpenBeside(store), "") << "WAL mode";
}
