// SPDX-License-Identifier: GPL-3.0-or-later
// The window, driven headless: start-up, New, Open, settings, closing, the list's sorting and opening.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <memory>

#include "common/Damage.h"
#include "common/ReadOnlyFile.h"
#include "model/modCatalogue.h"
#include "window/WindowFixture.h"

class frmMainTest : public WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void startsWithoutACatalogue() {
        StartWith({});
        QCOMPARE(window_->StatusText(), QStringLiteral("Create a new database or load an existing one before performing any action"));
        for (const char* tool : {"mnuLoadDirectory", "mnuRemoveMissingFiles", "mnuDetectFileTypes", "mnuDetectMovedFiles", "mnuFileNameFindReplace"})
            QVERIFY(!Find<QAction>(tool)->isEnabled());
        for (const char* button : {"cmdAddSave", "cmdCategorySave", "cmdFileSave"}) QVERIFY(!Find<QPushButton>(button)->isEnabled());
        QCOMPARE(List()->model()->rowCount(), 0);
        QCOMPARE(Items("cboSearchSize"), QStringList());
        QCOMPARE(folder_->Read("config/reelvault/rv.ini"), "AutoCalculateCRC=false\nLastDir=" + folder_->Path("config/reelvault/") + "\n");
    }

    void opensTheCatalogueNamedOnTheCommandLine_data() {
        QTest::addColumn<QString>("form");
        QTest::newRow("quoted") << QStringLiteral("quoted");
        QTest::newRow("unquoted, split at the blank") << QStringLiteral("split");
        QTest::newRow("a file manager's URL") << QStringLiteral("url");
    }
    void opensTheCatalogueNamedOnTheCommandLine() {
        QFETCH(QString, form);
        const std::string path = MakeCatalogue("my films.rvd");
        const QString typed = QString::fromStdString(path);
        if (form == QStringLiteral("quoted")) StartWith({QLatin1Char('"') + typed + QLatin1Char('"')});
        if (form == QStringLiteral("split")) StartWith(typed.split(QLatin1Char(' ')));
        if (form == QStringLiteral("url")) StartWith({QUrl::fromLocalFile(typed).toString(QUrl::FullyEncoded)});
        QCOMPARE(window_->StatusText(), QString::fromStdString("Loaded database : " + path));
        QVERIFY(Find<QAction>("mnuDetectFileTypes")->isEnabled());
        QVERIFY(Find<QPushButton>("cmdFileSave")->isEnabled());
        QCOMPARE(List()->model()->rowCount(), 3);
        QCOMPARE(Cell(0, 0), QStringLiteral("/m/C.mkv"));
        QCOMPARE(Cell(0, 3), QStringLiteral("Live"));
        for (const char* box : {"cboSearchSize", "cboSearchLength", "cboSearchRating"})
            QCOMPARE(Items(box), (QStringList{QString(), QStringLiteral("<"), QStringLiteral("="), QStringLiteral(">")}));
        QCOMPARE(Items("cboSearchCategory"), (QStringList{QString(), QStringLiteral("Live")}));
        QCOMPARE(Items("cboAddType"), (QStringList{QString(), QStringLiteral("Video")}));
        QCOMPARE(state_->settings.LastDir, folder_->Root() + "/");
    }

    void saysWhyACommandLineCatalogueDidNotOpen() {
        StartWith({QString::fromStdString(folder_->Path("missing.rvd"))});
        QCOMPARE(window_->StatusText(), QString::fromStdString("Could not open " + folder_->Path("missing.rvd") + ": No such file"));
        QVERIFY(!std::filesystem::exists(folder_->Path("missing.rvd")));
        QVERIFY(!Find<QAction>("mnuLoadDirectory")->isEnabled());
    }

    void newRefusesAnExistingFileAndCreatesOtherwise() {
        StartWith({QString::fromStdString(MakeCatalogue("first.rvd"))});
        prompts_.Path = QString::fromStdString(folder_->Write("taken.rvd", "mine"));
        Trigger("mnuNew");
        QCOMPARE(prompts_.Told, (QStringList{QStringLiteral("Error"), QStringLiteral("File already exists")}));
        QCOMPARE(List()->model()->rowCount(), 3);
        QCOMPARE(folder_->Read("taken.rvd"), std::string("mine"));

        prompts_.Path.clear();  // cancelled
        Trigger("mnuNew");
        QCOMPARE(List()->model()->rowCount(), 3);

        prompts_.Path = QString::fromStdString(folder_->Path("sub/new.rvd"));
        std::filesystem::create_directory(folder_->Path("sub"));
        Trigger("mnuNew");
        QCOMPARE(window_->StatusText(), QStringLiteral("Created new database : ") + prompts_.Path);
        QCOMPARE(List()->model()->rowCount(), 0);
        QCOMPARE(Items("cboSearchCategory"), QStringList{QString()});
        const std::string ini = folder_->Read("config/reelvault/rv.ini");
        QVERIFY(ini.find("\nLastDir=" + folder_->Path("sub/") + "\n\n[Recent]\nFile1=" + folder_->Path("sub/new.rvd") + "\n") != std::string::npos);
    }

    void openKeepsEverythingWhenTheFileIsNoCatalogueOrDamaged() {
        const std::string path = MakeCatalogue("films.rvd");
        StartWith({});
        prompts_.Path = QString::fromStdString(path);
        Trigger("mnuOpen");
        QCOMPARE(List()->model()->rowCount(), 3);
        QVERIFY(Find<QAction>("mnuLoadDirectory")->isEnabled());
        Field("txtSearchFileName")->setText(QStringLiteral("b.avi"));
        Click("cmdSearchSearch");
        const QString status = window_->StatusText();
        const std::string cut = MakeCatalogue("cut.rvd");
        Truncate(cut);
        const std::string zeroed = MakeCatalogue("zeroed.rvd");
        ZeroPage(zeroed);
        const std::string index = MakeCatalogue("index.rvd");
        ZeroPage(index, 9);  // an index the rows are read without: they show before the check refuses the file
        for (const auto& [name, reason] : {std::pair{folder_->Path("missing.rvd"), "No such file"},
                                           {folder_->Write("notes.txt", "words"), "Not an SQLite database"},
                                           {cut, "The catalogue file is damaged: it is shorter than it should be (truncated)"},
                                           {zeroed, kUnreadablePages},
                                           {index, kUnreadablePages}}) {
            const std::string before = Bytes(name);
            prompts_.Path = QString::fromStdString(name);
            prompts_.Told.clear();
            Trigger("mnuOpen");
            QCOMPARE(prompts_.Told, (QStringList{QStringLiteral("Error"), QString::fromUtf8(reason)}));
            QCOMPARE(window_->StatusText(), status);
            QCOMPARE(List()->model()->rowCount(), 1);  // the rows shown before, whatever was previewed meanwhile
            QCOMPARE(state_->catalogue.Files.Count(), 3);
            QCOMPARE(state_->catalogue.Store.FileName(), path);
            QVERIFY(Bytes(name) == before);
        }
        QVERIFY(!std::filesystem::exists(folder_->Path("missing.rvd")));
    }

    void aCatalogueThatCannotBeWrittenIsBrowsedButNotChanged() {
        std::filesystem::create_directory(folder_->Path("disc"));
        const std::string path = MakeCatalogue("disc/films.rvd");
        StartWith({});
        for (const char* settings : {"config", "config/reelvault"}) std::filesystem::permissions(folder_->Path(settings), std::filesystem::perms::all);
        std::filesystem::permissions(folder_->Path("config/reelvault/rv.ini"), std::filesystem::perms::all);
        const ReadOnlyFile medium(path);
        if (!medium.Usable()) QSKIP("cannot give up root rights");
        prompts_.Path = QString::fromStdString(path);
        Trigger("mnuOpen");
        QCOMPARE(window_->windowTitle(), QStringLiteral("Reelvault - films.rvd (read-only)"));
        for (const char* button : {"cmdAddSave", "cmdAddDelete", "cmdBatchSave", "cmdBatchDelete", "cmdCategorySave", "cmdCategoryDelete", "cmdFileSave", "cmdFileFileTypeDelete"})
            QVERIFY2(!Find<QPushButton>(button)->isEnabled(), button);
        for (QAction* tool : Find<QMenu>("mnuTools")->actions()) QVERIFY(tool->isEnabled() == (tool->objectName() == QStringLiteral("mnuDrives")));
        QVERIFY(Find<QPushButton>("cmdAddSizeCalculate")->isEnabled());

        QCOMPARE(List()->model()->rowCount(), 3);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(List()->model()->index(0, 0)).center());
        QCOMPARE(Field("txtAddFileName")->text(), QStringLiteral("/m/C.mkv"));
        Field("txtSearchFileName")->setText(QStringLiteral("b.avi"));
        Click("cmdSearchSearch");
        QCOMPARE(List()->model()->rowCount(), 1);
        Click("cmdSearchShowAll");
        QCOMPARE(List()->model()->rowCount(), 3);
        QCOMPARE(prompts_.Told, QStringList());
    }

    void autoCalculateCrcTogglesItsSetting() {
        StartWith({});
        const std::string before = folder_->Read("config/reelvault/rv.ini");
        Find<QAction>("mnuAutoCalculateCRC")->trigger();
        QVERIFY(state_->settings.AutoCalculateCRC);
        QVERIFY(folder_->Read("config/reelvault/rv.ini").starts_with("AutoCalculateCRC=true\n"));
        Find<QAction>("mnuAutoCalculateCRC")->trigger();
        QCOMPARE(folder_->Read("config/reelvault/rv.ini"), before);
    }

    void closingDeletesTheToolLogsButExitDoesNot() {
        StartWith({});
        const char* logs[] = {"move.log", "load.log", "delete.log", "error.log"};
        for (const char* log : logs) folder_->Write(std::string("config/reelvault/") + log, "x");
        Find<QAction>("mnuExit")->trigger();
        for (const char* log : logs) QVERIFY(std::filesystem::exists(folder_->Path(std::string("config/reelvault/") + log)));
        window_->close();
        for (const char* log : logs)
            QCOMPARE(std::filesystem::exists(folder_->Path(std::string("config/reelvault/") + log)), std::string(log) == "error.log");
        QVERIFY(!state_->catalogue.Store.DBOpen());
    }

    void headerClicksFlipTheOrderAndSortNumbersAsNumbers() {
        StartWith({QString::fromStdString(MakeCatalogue("films.rvd"))});
        const auto column = [&](int index) {
            QStringList texts;
            for (int row = 0; row < 3; ++row) texts << List()->model()->index(row, index).data(Qt::EditRole).toString();  // exact
            return texts;
        };
        ClickHeader(5);
        QCOMPARE(column(5), (QStringList{QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("100")}));
        List()->selectRow(2);
        ClickHeader(5);
        QCOMPARE(column(5), (QStringList{QStringLiteral("100"), QStringLiteral("10"), QStringLiteral("9")}));
        QCOMPARE(SelectedFile(), QStringLiteral("/m/a.mp3"));  // the selection goes with its file
        QCOMPARE(List()->currentIndex().row(), 0);
        ClickHeader(1);  // the order flips whatever the column: ascending again
        QCOMPARE(column(1), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.avi"), QStringLiteral("C.mkv")}));
        window_->RefreshFileList();  // a refill keeps the list sorted
        QCOMPARE(column(1), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.avi"), QStringLiteral("C.mkv")}));
    }

    // The sets are read on a worker thread while the event loop turns: the list comes back as it
    // was, and a close asked for meanwhile waits for the load, then closes the catalogue.
    void aReloadKeepsTheListsOrderAndPlaceAndACloseMeanwhileWaits() {
        const std::string path = MakeCatalogue("films.rvd");
        {
            const std::unique_ptr<Catalogue> second = Opened(path);
            for (int file = 0; file < 300; ++file)
                InsertFile(*second, {-1, "/n/" + std::to_string(file), "", 1, 1, "", file % 7, 0, "", 0, {}});
        }
        StartWith({QString::fromStdString(path)});
        ClickHeader(5);
        ClickHeader(5);  // sizes descending: rows of equal size in their file-name order
        QTRY_VERIFY(List()->verticalScrollBar()->maximum() >= 100);  // the list lays its rows out a moment later
        List()->verticalScrollBar()->setValue(100);
        QStringList before;
        for (int row = 0; row < List()->model()->rowCount(); ++row) before << Cell(row, 0);
        QStringList after;
        int scrolled = -1;
        window_->ReloadCatalogue([&] {
            for (int row = 0; row < List()->model()->rowCount(); ++row) after << Cell(row, 0);
            scrolled = List()->verticalScrollBar()->value();
        });
        QVERIFY(window_->Busy());
        QVERIFY(!window_->close());
        QTRY_VERIFY(!window_->isVisible());
        QCOMPARE(after, before);
        QCOMPARE(scrolled, 100);
        QVERIFY(!state_->catalogue.Store.DBOpen());
    }

    void doubleClickOpensWithTheTypesApplicationOrTheDesktop() {
        StartWith({QString::fromStdString(MakeCatalogue("films.rvd"))});
        const std::string script = "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.args\"\n";
        std::filesystem::create_directory(folder_->Path("bin"));
        folder_->Write("player", script);
        folder_->Write("bin/xdg-open", script);
        for (const char* stub : {"player", "bin/xdg-open"})
            std::filesystem::permissions(folder_->Path(stub), std::filesystem::perms::owner_all);
        ScopedEnv path("PATH", folder_->Path("bin") + ":/usr/bin:/bin");
        const auto open = [&](int row) {
            const QRect cell = List()->visualRect(List()->model()->index(row, 0));
            QTest::mousePress(List()->viewport(), Qt::LeftButton, {}, cell.center());  // the view checks the press
            QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, cell.center());
        };
        open(0);  // /m/C.mkv has the type Video, whose application is the player
        QTRY_COMPARE(folder_->Read("player.args"), std::string("/m/C.mkv|"));
        SaveFileType(state_->catalogue, 1, "Video", "", {"avi"});
        window_->ReloadCatalogue();
        WaitIdle();
        window_->RefreshFileList();
        open(1);
        QTRY_COMPARE(folder_->Read("bin/xdg-open.args"), std::string("/m/a.mp3|"));
    }

    void createFileAssociationSaysHowItWent() {
        const ScopedEnv data("XDG_DATA_HOME", folder_->Path("data"));
        StartWith({});
        Find<QAction>("mnuCreateFileAssociation")->trigger();
        const std::string entry = folder_->Read("data/applications/org.reelvault.Reelvault.desktop");
        QVERIFY(entry.find("\nExec=" + QCoreApplication::applicationFilePath().toStdString() + " %f\n") != std::string::npos);
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) {
            QCOMPARE(prompts_.Told.value(0), QStringLiteral("Error"));
            QVERIFY(prompts_.Told.value(1).contains(QStringLiteral("xdg-mime")));
        } else {
            QCOMPARE(prompts_.Told, (QStringList{QStringLiteral("Create File Association"), QStringLiteral("Reelvault now opens .rvd files")}));
        }
    }
};

RV_WINDOW_TEST_MAIN(frmMainTest)

#include "frmMainTest.moc"
