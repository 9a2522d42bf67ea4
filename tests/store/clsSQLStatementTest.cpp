// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/clsSQLStatement.h"

#include <gtest/gtest.h>

TEST(clsSQLStatement, InsertQuotesTextAndWritesNumbersPlainly) {
    clsSQLStatement sql;
    sql.StartInsertStatement("tblFile");
    sql.AddField("FileID", "NULL");
    sql.AddField("FileName", "C:\\a'b.avi", true);
    sql.AddField("Size", 1024);
    sql.AddSortField("FileName");
    sql.AddWhereClause("FileID=1");
    EXPECT_EQ(sql.GetSQLStatement(), "INSERT INTO tblFile(FileID,FileName,Size) VALUES(NULL,'C:\\a''b.avi',1024)");
    EXPECT_EQ(sql.GetSQLStatement(), sql.GetSQLStatement());
}

TEST(clsSQLStatement, UpdateWritesEmptyValuesAsNull) {
    clsSQLStatement sql;
    sql.StartUpdateStatement("tblFile");
    sql.AddField("Title", "", true);
    sql.AddField("Rating", 3);
    sql.AddField("Keyword", "''", true);
    sql.AddWhereClause("FileID=7");
    sql.AddWhereClause("Rating>0");
    sql.AddSortField("Title");
    EXPECT_EQ(sql.GetSQLStatement(), "UPDATE tblFile SET Title=NULL, Rating=3, Keyword='''''' WHERE FileID=7 AND Rating>0");
}

TEST(clsSQLStatement, SelectJoinsTablesConditionsAndSortFields) {
    clsSQLStatement sql;
    EXPECT_EQ(sql.GetSQLStatement(), "");
    sql.StartSelectStatement("tblFile");
    EXPECT_EQ(sql.GetSQLStatement(), "SELECT  FROM tblFile");
    sql.AddTable("tblKeyword");
    sql.AddField("tblFile.FileID");
    sql.AddField("Title", "x'y", true);  // a SELECT never writes values
    sql.AddWhereClause("Size>10");
    sql.AddWhereClause("Title LIKE '%a%'");
    sql.AddSortField("FileName");
    sql.AddSortField("Size");
    EXPECT_EQ(sql.GetSQLStatement(),
              "SELECT tblFile.FileID, Title FROM tblFile, tblKeyword WHERE Size>10 AND Title LIKE '%a%' "
              "ORDER BY FileName, Size");

    sql.Reset();  // kind and tables stay
    EXPECT_EQ(sql.GetSQLStatement(), "SELECT  FROM tblFile, tblKeyword");
    sql.StartUpdateStatement("tblFile");
    sql.AddWhereClause("FileID=1");
    EXPECT_EQ(sql.GetSQLStatement(), "UPDATE tblFile WHERE FileID=1");
    sql.StartInsertStatement("tblFile");
    EXPECT_EQ(sql.GetSQLStatement(), "INSERT INTO tblFile");
}
