// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export Listed Files...: the rows shown, in the order shown, whatever the format.
#include <QAction>
#include <QTest>

#include <filesystem>

#include "window/ListExport.h"
#include "window/WindowFixture.h"

class ListExportTest : public WindowFixture {
    Q_OBJECT

    // Exports through the menu to the file named, and waits until it is written or refused.
    void ExportTo(const std::string& name) {
        prompts_.Path = QString::fromStdString(folder_->Path(name));
        Trigger("mnuExportListed");
        QTRY_VERIFY_WITH_TIMEOUT(!window_->findChild<ListExport*>()->Running(), 60000);
    }

private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void writesTheRowsShownInTheirOrder() {
        StartWith({});
        QVERIFY(!Find<QAction>("mnuExportListed")->isEnabled());  // nothing listed yet
        StartWith({QString::fromStdString(MakeCatalogue("c.rvd"))});
        ClickHeader(5);  // by size: C.mkv, b.avi, a.mp3
        QVERIFY(Find<QAction>("mnuExportListed")->isEnabled());

        ExportTo("rows.csv");
        QCOMPARE(folder_->Read("rows.csv"),
                 "FileID,File Name,Title,Type,Category,CRC,Size,Length,FourCC,Rating,Keywords\r\n"
                 "3,/m/C.mkv,C.mkv,Video,Live,,9,0,,0,k\r\n"
                 "1,/m/b.avi,b.avi,Video,Live,,10,0,,0,k\r\n"
                 "2,/m/a.mp3,a.mp3,Video,Live,,100,0,,0,k\r\n");
        QCOMPARE(window_->StatusText(), QStringLiteral("3 files exported to ") + prompts_.Path);

        ExportTo("rows.html");
        const std::string page = folder_->Read("rows.html");
        QVERIFY(page.starts_with("<!DOCTYPE html>"));
        QVERIFY(page.find("<h1 dir=\"auto\">c.rvd</h1>") != std::string::npos);
        QVERIFY(page.find("/m/C.mkv") < page.find("/m/b.avi") && page.find("/m/b.avi") < page.find("/m/a.mp3"));
        QCOMPARE(prompts_.Told, QStringList());
    }

    void aFolderThatCannotBeWrittenIsSaidAndLeftAlone() {
        StartWith({QString::fromStdString(MakeCatalogue("c.rvd"))});
        ExportTo("gone/rows.html");
        const QString path = QString::fromStdString(folder_->Path("gone/rows.html"));
        QCOMPARE(prompts_.Told, (QStringList{"Export Listed Files", "Could not write " + path + ": No such file or directory"}));
        QVERIFY(!std::filesystem::exists(folder_->Path("gone")));
        QVERIFY(Find<QAction>("mnuExportListed")->isEnabled());  // for another try
    }
};

RV_WINDOW_TEST_MAIN(ListExportTest)
#include "ListExportTest.moc"
