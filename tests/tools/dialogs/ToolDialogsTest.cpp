// SPDX-License-Identifier: GPL-3.0-or-later
// The Tools menu, driven headless through its dialogs, with the tools running on their worker
// threads for real.
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>

#include <filesystem>

#include "model/modCatalogue.h"
#include "common/DialogDriver.h"
#include "window/WindowFixture.h"

class ToolDialogsTest : public WindowFixture {
    Q_OBJECT

    QString media_;

    QString Media(const std::string& relative = {}) { return media_ + QString::fromStdString(relative); }
    void MakeFile(const std::string& relative, const std::string& contents) {
        std::filesystem::create_directories(std::filesystem::path(folder_->Path("media/" + relative)).parent_path());
        folder_->Write("media/" + relative, contents);
    }
    // Opens the catalogue at path in the window, with a record for each of extra.
    void Start(const std::string& path, const std::vector<std::string>& extra = {}) {
        {
            const std::unique_ptr<Catalogue> made = Opened(path);
            for (const std::string& file : extra) InsertFile(*made, {-1, file, "", -1, -1, "", 0, 0, "", 0, {}});
        }
        StartWith({QString::fromStdString(path)});
    }
    QDialog* Dialog(const char* name) { return Find<QDialog>(name); }
    void Press(const char* dialog, const char* button) { ::Press(Dialog(dialog), button); }
    void Type(const char* dialog, const char* box, const QString& text) { In<QLineEdit>(Dialog(dialog), box)->setText(text); }
    bool Running() { return ToolRunning(window_.get()); }
    void WaitForTools() { QTRY_VERIFY_WITH_TIMEOUT(!Running() && !window_->Busy(), 60000); }
    QString Log(const char* name) { return QString::fromStdString(folder_->Read(std::string("config/reelvault/") + name)); }
    int StoredCount() { return static_cast<int>(Opened(folder_->Path("c.rvd"))->Files.Records().size()); }

private Q_SLOTS:
    void init() {
        SetUp();
        media_ = QString::fromStdString(folder_->Path("media/"));
    }
    void cleanup() { TearDown(); }

    void loadDirectoryAddsFilesSkipsDuplicatesAndRefusesBadInput() {
        MakeFile("one.avi", "same");
        MakeFile("two.AVI", "same");
        MakeFile("notes.txt", "other");
        Start(MakeCatalogue("c.rvd"));
        Find<QAction>("mnuAutoCalculateCRC")->trigger();
        Find<QAction>("mnuLoadDirectory")->trigger();
        QVERIFY(Dialog("frmLoadDirectory")->isVisible());
        Press("frmLoadDirectory", "cmdLoadDirectory");
        QCOMPARE(prompts_.Told, (QStringList{QStringLiteral("Reelvault"), QStringLiteral("You must enter a wildcard")}));

        prompts_.Folder = Media().chopped(1);
        Press("frmLoadDirectory", "cmdSelectDirectory");
        QCOMPARE(prompts_.Asked, QStringList{QStringLiteral("Select directory to scan:")});
        Type("frmLoadDirectory", "txtWildCard", QStringLiteral("*.avi"));
        Press("frmLoadDirectory", "cmdLoadDirectory");
        WaitForTools();
        QVERIFY(!Dialog("frmLoadDirectory")->isVisible());
        QCOMPARE(Log("load.log"), QStringLiteral("Reelvault\nLoaded %1*.avi\n\nNot adding possible duplicate %1two.AVI.  Matches CRC of %1one.avi\n\n"
                                                 "1 possible duplicates not added.\n1 files added.\n").arg(Media()));
        QCOMPARE(prompts_.Shown, QStringList{QString::fromStdString(folder_->Path("config/reelvault/load.log"))});
        QCOMPARE(window_->StatusText(), QStringLiteral("Finished loading directory %1: 1 files added, 1 possible duplicates not added").arg(Media()));
        QVERIFY(RowNamed(Media("one.avi")) >= 0);
        QCOMPARE(List()->model()->rowCount(), 4);

        // The folder is kept between uses, the pattern is not; an empty folder is refused.
        Find<QAction>("mnuLoadDirectory")->trigger();
        QCOMPARE(In<QLineEdit>(Dialog("frmLoadDirectory"), "txtDirectory")->text(), Media().chopped(1));
        QCOMPARE(In<QLineEdit>(Dialog("frmLoadDirectory"), "txtWildCard")->text(), QString());
        Type("frmLoadDirectory", "txtDirectory", QString());
        Type("frmLoadDirectory", "txtWildCard", QStringLiteral("*"));
        In<QCheckBox>(Dialog("frmLoadDirectory"), "chkScanSubdirectories")->setChecked(true);
        prompts_.Told.clear();
        Press("frmLoadDirectory", "cmdLoadDirectory");
        WaitForTools();
        QCOMPARE(prompts_.Told.value(0), QStringLiteral("Load Directory"));
        QVERIFY(Dialog("frmLoadDirectory")->isVisible());
        QVERIFY(!Log("load.log").contains(QStringLiteral("one.avi")));
        QCOMPARE(StoredCount(), 4);
    }

    void cancelKeepsWhatWasCommittedAndClosingWaitsForTheTool() {
        for (int i = 0; i < 5000; ++i) MakeFile("many/" + std::to_string(i) + ".avi", std::to_string(i));
        Start(MakeCatalogue("c.rvd"));
        Find<QAction>("mnuAutoCalculateCRC")->trigger();
        Find<QAction>("mnuLoadDirectory")->trigger();
        Type("frmLoadDirectory", "txtDirectory", Media("many"));
        Type("frmLoadDirectory", "txtWildCard", QStringLiteral("*"));
        Press("frmLoadDirectory", "cmdLoadDirectory");
        auto* progress = Dialog("frmLoadDirectory")->findChild<frmToolProgress*>();
        QTRY_VERIFY(progress->findChild<QProgressBar*>(QStringLiteral("prgTool"))->value() > 0);
        QVERIFY(!window_->menuBar()->isEnabled());
        QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("cmdToolCancel")), Qt::LeftButton);
        WaitForTools();
        QVERIFY(window_->menuBar()->isEnabled());
        const int kept = StoredCount() - 3;
        QVERIFY2(kept > 0 && kept < 5000, qPrintable(QString::number(kept)));
        QVERIFY(Log("load.log").contains(QStringLiteral("\nCancelled.\n")));
        QVERIFY(Log("load.log").endsWith(QStringLiteral("%1 files added.\n").arg(kept)));
        QVERIFY(window_->StatusText().startsWith(QStringLiteral("Cancelled: ")));
        QCOMPARE(List()->model()->rowCount(), kept + 3);
        QCOMPARE(Stored()->Store.Execute("PRAGMA integrity_check"), std::string());

        Find<QAction>("mnuLoadDirectory")->trigger();
        Type("frmLoadDirectory", "txtWildCard", QStringLiteral("*"));
        Press("frmLoadDirectory", "cmdLoadDirectory");
        QVERIFY(Running());
        QVERIFY(!window_->close());  // it asks the tool to stop, then closes
        QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 60000);
        QVERIFY(!Running());
        QVERIFY(StoredCount() >= kept + 3);
    }

    void removeMissingAndFindReplaceSayHowManyRecordsFirst() {
        const std::string path = MakeCatalogue("c.rvd");
        MakeFile("here.avi", "x");
        Start(path, {folder_->Path("media/gone.avi"), folder_->Path("media/here.avi")});
        prompts_.Yes = false;
        Find<QAction>("mnuRemoveMissingFiles")->trigger();
        WaitForTools();
        QCOMPARE(prompts_.Asked.value(0), QStringLiteral("1 record points to a file that is gone.\n"
                                                         "3 records are kept: their folder is out of reach.\n"
                                                         "Delete the records of the missing files?"));
        QCOMPARE(StoredCount(), 5);
        QVERIFY(prompts_.Shown.isEmpty());

        std::filesystem::remove(folder_->Path("media/here.avi"));  // the folder stays: only its file is gone
        prompts_.Asked.clear();
        prompts_.Yes = true;
        Find<QAction>("mnuRemoveMissingFiles")->trigger();
        WaitForTools();
        QVERIFY(prompts_.Asked.value(0).startsWith(QStringLiteral("2 records point to files that are gone.")));
        QCOMPARE(StoredCount(), 3);
        QCOMPARE(List()->model()->rowCount(), 3);
        QCOMPARE(prompts_.Shown, QStringList{QString::fromStdString(folder_->Path("config/reelvault/delete.log"))});

        Find<QAction>("mnuFileNameFindReplace")->trigger();
        Press("frmFindReplace", "cmdGo");
        QCOMPARE(prompts_.Told.mid(0, 2), (QStringList{QStringLiteral("Reelvault"), QStringLiteral("You must enter text to find")}));
        Type("frmFindReplace", "txtFind", QStringLiteral("/nowhere/"));
        Press("frmFindReplace", "cmdGo");
        QCOMPARE(prompts_.Told.value(3), QStringLiteral("0 records: no path contains \"/nowhere/\"."));
        QVERIFY(Dialog("frmFindReplace")->isVisible());
        Type("frmFindReplace", "txtFind", QStringLiteral("/m/"));
        Type("frmFindReplace", "txtReplace", QStringLiteral("/Rock'n'Roll/"));
        prompts_.Asked.clear();
        Press("frmFindReplace", "cmdGo");
        WaitForTools();
        QCOMPARE(prompts_.Asked.value(0), QStringLiteral("3 records have paths that contain \"/m/\".\nReplace it with \"/Rock'n'Roll/\" in all of them?"));
        QVERIFY(!Dialog("frmFindReplace")->isVisible());
        QVERIFY(RowNamed(QStringLiteral("/Rock'n'Roll/a.mp3")) >= 0);
        QCOMPARE(window_->StatusText(), QStringLiteral("3 records changed"));
        Find<QAction>("mnuFileNameFindReplace")->trigger();
        QCOMPARE(In<QLineEdit>(Dialog("frmFindReplace"), "txtFind")->text(), QString());
    }

    void detectMovedAndDetectTypesRewriteRecords() {
        const std::string path = MakeCatalogue("c.rvd");
        MakeFile("new/x.avi", "x");
        MakeFile("new/01.mp3", "m");
        Start(path, {"/old/x.avi", "/a/01.mp3", "/b/01.mp3"});
        Find<QAction>("mnuDetectMovedFiles")->trigger();
        prompts_.Folder = Media("new");
        Press("frmDetectMovedFiles", "cmdSelectDirectory");
        QCOMPARE(prompts_.Asked, QStringList{QStringLiteral("Select directory files were moved to:")});
        Press("frmDetectMovedFiles", "cmdGo");
        WaitForTools();
        QVERIFY(RowNamed(Media("new/x.avi")) >= 0);

        QCOMPARE(SaveFileType(state_->catalogue, -1, "Audio", "", {"mp3"}).Error, std::string());
        Find<QAction>("mnuDetectFileTypes")->trigger();
        WaitForTools();
        QCOMPARE(window_->StatusText(), QStringLiteral("4 records given a new file type"));
        QCOMPARE(Cell(RowNamed(QStringLiteral("/m/a.mp3")), 2), QStringLiteral("Audio"));
    }

    void aToolThatThrowsEndsWithItsReason() {
        ToolRunner runner;
        QString error;
        connect(&runner, &ToolRunner::Finished, this, [&](const ToolResult& result, const QString&) {
            error = QString::fromStdString(result.Error);
        });
        runner.Start(MakeCatalogue("c.rvd"), [](Catalogue&, ToolHost&) -> ToolResult { throw std::runtime_error("disk on fire"); });
        QTRY_COMPARE(error, QStringLiteral("Unexpected error: disk on fire"));
        QVERIFY(!runner.IsRunning());
    }
};

RV_WINDOW_TEST_MAIN(ToolDialogsTest)
#include "ToolDialogsTest.moc"
