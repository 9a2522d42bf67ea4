// SPDX-License-Identifier: GPL-3.0-or-later
// The Categories and File Types tabs, driven headless: adding, editing and deleting, the messages
// and questions, and the lists and rows that must follow every change.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "window/WindowFixture.h"

class VocabularyTabsTest : public WindowFixture {
    Q_OBJECT

    QStringList Entries(const char* list) {
        QStringList texts;
        auto* box = Find<QListWidget>(list);
        for (int i = 0; i < box->count(); ++i) texts << box->item(i)->text();
        return texts;
    }
    void ClickEntry(const char* list, int row) {
        auto* box = Find<QListWidget>(list);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(row)).center());
    }
    void AddExtension(const char* typed) {
        Field("txtFileFileExtension")->setText(QString::fromUtf8(typed));
        QTest::keyClick(Field("txtFileFileExtension"), Qt::Key_Return);
    }

    // The sets the deletion changed in place hold what a fresh load of the catalogue holds.
    void SetsMatchTheCatalogue() {
        const auto stored = Stored();
        QVERIFY(state_->catalogue.Files.Records() == stored->Files.Records());
        const auto ids = [](auto& set, auto id) {
            QList<int> all;
            for (bool more = set.MoveFirst(); more; more = set.MoveNext()) all << (set.*id)();
            return all;
        };
        QCOMPARE(ids(state_->catalogue.Categories, &clsCategory::CategoryID), ids(stored->Categories, &clsCategory::CategoryID));
        QCOMPARE(ids(state_->catalogue.FileTypes, &clsFileType::FileTypeID), ids(stored->FileTypes, &clsFileType::FileTypeID));
    }

private Q_SLOTS:
    void init() {
        SetUp();
        const std::string path = MakeCatalogue("films.rvd");
        const auto made = Opened(path);
        SaveFileType(*made, -1, "Clip", "", {"mov"});  // two types of one description, from an older program
        SaveFileType(*made, -1, "Clip", "", {"webm"});
        std::vector<std::string> many;
        for (int i = 0; i < 60; ++i) many.push_back("x" + std::to_string(i));
        SaveFileType(*made, -1, "Many", "", many);
        StartWith({QString::fromStdString(path)});
    }
    void cleanup() { TearDown(); }

    void categoriesAreAddedOnceAndDeletedAfterAQuestion() {
        for (const char* name : {"Jazz", "Live"}) {
            Field("txtCategoryCategory")->setText(QString::fromUtf8(name));
            Click("cmdCategorySave");
            QVERIFY(Field("txtCategoryCategory")->text().isEmpty());
        }
        QCOMPARE(Entries("lstCategoryCategory"), (QStringList{QStringLiteral("Jazz"), QStringLiteral("Live")}));
        QCOMPARE(Items("cboAddCategory"), (QStringList{QString(), QStringLiteral("Jazz"), QStringLiteral("Live")}));

        auto* categories = Find<QListWidget>("lstCategoryCategory");
        categories->setCurrentRow(1);
        prompts_.Yes = false;
        Click("cmdCategoryDelete");
        QCOMPARE(prompts_.Asked, QStringList{QStringLiteral("3 files use this category; delete it?")});
        QCOMPARE(Entries("lstCategoryCategory").size(), 2);
        prompts_.Yes = true;
        Click("cmdCategoryDelete");
        QCOMPARE(Entries("lstCategoryCategory"), QStringList{QStringLiteral("Jazz")});
        QCOMPARE(Cell(0, 3), QString());  // the rows show it at once, none left out
        QCOMPARE(List()->model()->rowCount(), 3);
        QVERIFY(!Stored()->Categories.GotoCategoryName("Live"));
        SetsMatchTheCatalogue();
        QCOMPARE(Items("cboSearchCategory"), (QStringList{QString(), QStringLiteral("Jazz")}));

        categories->setCurrentRow(0);
        prompts_.Asked.clear();
        Click("cmdCategoryDelete");  // no file uses Jazz: no question
        QVERIFY(prompts_.Asked.isEmpty());
        QCOMPARE(Entries("lstCategoryCategory"), QStringList());
    }

    // The rows change in place: sorted by the category, they are sorted again and the selection
    // stays on its file.
    void aDeletedCategoryLeavesTheRowsSortedAndTheSelectionOnItsFile() {
        Field("txtCategoryCategory")->setText(QStringLiteral("Jazz"));
        Click("cmdCategorySave");
        QVERIFY(state_->catalogue.Store
                    .Execute("UPDATE tblFile SET Category=(SELECT CategoryID FROM tblCategory WHERE Category='Jazz') "
                             "WHERE FileName='/m/C.mkv'")
                    .empty());
        window_->ReloadCatalogue();
        WaitIdle();
        ClickHeader(3);  // C.mkv (Jazz), then a.mp3 and b.avi (Live) in the set's order
        QCOMPARE(Cell(0, 0), QStringLiteral("/m/C.mkv"));
        List()->selectRow(0);
        Find<QListWidget>("lstCategoryCategory")->setCurrentRow(Entries("lstCategoryCategory").indexOf(QStringLiteral("Live")));
        Click("cmdCategoryDelete");
        QCOMPARE(QStringList({Cell(0, 0), Cell(1, 0), Cell(2, 0)}),
                 (QStringList{QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.avi"), QStringLiteral("/m/C.mkv")}));
        QCOMPARE(SelectedFile(), QStringLiteral("/m/C.mkv"));
    }

    void aTypeIsSavedWithItsExtensionsOnceAndOnlyWhenComplete() {
        for (const char* typed : {".MP3", "movie.part.AVI", "mp3.", ".mp3"}) AddExtension(typed);
        QCOMPARE(Entries("lstFileFileExtension"), (QStringList{QStringLiteral("mp3"), QStringLiteral("avi")}));
        Click("cmdFileSave");
        Field("txtFileDescription")->setText(QStringLiteral("Video"));
        Click("cmdFileSave");
        Field("txtFileDescription")->setText(QStringLiteral("Audio"));
        Find<QListWidget>("lstFileFileExtension")->clear();
        Click("cmdFileSave");
        const QString title = QStringLiteral("Reelvault");
        QCOMPARE(prompts_.Told, (QStringList{title, QStringLiteral("Enter a description for this file type"), title,
                                             QStringLiteral("Another file type is already called Video"), title,
                                             QStringLiteral("Add at least 1 extension for this file type")}));
        AddExtension("mp3");
        prompts_.Path = QStringLiteral("/usr/bin/player");
        Click("cmdFileExternalAppBrowse");
        Click("cmdFileSave");
        QVERIFY(Field("txtFileDescription")->text().isEmpty());
        QVERIFY(Entries("lstFileFileType").contains(QStringLiteral("Audio")));
        QVERIFY(Items("cboAddType").contains(QStringLiteral("Audio")));
        const auto stored = Stored();
        QVERIFY(stored->FileTypes.GotoFileType("Audio"));
        QCOMPARE(stored->FileTypes.ExternalApp(), std::string("/usr/bin/player"));
        QCOMPARE(stored->FileTypes.NumExtension(), 1);
    }

    void editingATypeRenamesItInEveryRow() {
        ClickEntry("lstFileFileType", Entries("lstFileFileType").indexOf(QStringLiteral("Video")));
        QCOMPARE(Field("txtFileDescription")->text(), QStringLiteral("Video"));
        QCOMPARE(Entries("lstFileFileExtension"), QStringList{QStringLiteral("avi")});
        Field("txtFileDescription")->setText(QStringLiteral("Films"));
        AddExtension("mkv");
        Click("cmdFileSave");
        QCOMPARE(Cell(0, 2), QStringLiteral("Films"));
        QCOMPARE(List()->model()->rowCount(), 3);
        const auto stored = Stored();
        QVERIFY(stored->FileTypes.GotoFileType("Films") && stored->FileTypes.FileTypeID() == 1);
        QCOMPARE(stored->FileTypes.NumExtension(), 2);

        ClickEntry("lstFileFileType", Entries("lstFileFileType").indexOf(QStringLiteral("Many")));
        QCOMPARE(Entries("lstFileFileExtension").size(), 60);
        Click("cmdFileSave");
        const auto again = Stored();
        QVERIFY(again->FileTypes.GotoFileType("Many"));
        QCOMPARE(again->FileTypes.NumExtension(), 60);
    }

    void deletingActsOnTheEntryChosenAndClearsTheFilesType() {
        ClickEntry("lstFileFileType", 0);  // the first of the two Clips
        QCOMPARE(Entries("lstFileFileExtension"), QStringList{QStringLiteral("mov")});
        Click("cmdFileFileTypeDelete");
        QVERIFY(prompts_.Asked.isEmpty());
        QCOMPARE(Entries("lstFileFileType"), (QStringList{QStringLiteral("Clip"), QStringLiteral("Many"), QStringLiteral("Video")}));
        ClickEntry("lstFileFileType", 0);
        QCOMPARE(Entries("lstFileFileExtension"), QStringList{QStringLiteral("webm")});

        ClickEntry("lstFileFileType", 2);
        prompts_.Yes = false;
        Click("cmdFileFileTypeDelete");
        QCOMPARE(prompts_.Asked, QStringList{QStringLiteral("3 files use this file type; delete it?")});
        QCOMPARE(Cell(0, 2), QStringLiteral("Video"));
        prompts_.Yes = true;
        Click("cmdFileFileTypeDelete");
        QCOMPARE(Entries("lstFileFileType"), (QStringList{QStringLiteral("Clip"), QStringLiteral("Many")}));
        QCOMPARE(List()->model()->rowCount(), 3);
        QCOMPARE(Cell(0, 2), QString());
        QCOMPARE(Stored()->Files.Records().front().TypeID, 0);  // NULL
        SetsMatchTheCatalogue();
        QVERIFY(!Items("cboAddType").contains(QStringLiteral("Video")));
    }

    // Another program holds the catalogue's write lock past the wait: the person reads why, and
    // the lists, the rows and the sets stay as the catalogue still has them.
    void aDeletionTheCatalogueRefusesReachesThePersonAndChangesNothing() {
        state_->catalogue.Store.SetBusyTimeout(50);
        const auto other = Opened(state_->catalogue.Store.FileName());
        QCOMPARE(other->Store.Execute("BEGIN IMMEDIATE;"), std::string());
        const QString busy = QString::fromUtf8(kCatalogueBusy);
        Find<QListWidget>("lstCategoryCategory")->setCurrentRow(0);
        Click("cmdCategoryDelete");
        QCOMPARE(window_->StatusText(), QStringLiteral("Could not delete the category Live: ") + busy);
        ClickEntry("lstFileFileType", Entries("lstFileFileType").indexOf(QStringLiteral("Video")));
        Click("cmdFileFileTypeDelete");
        QCOMPARE(window_->StatusText(), QStringLiteral("Could not delete the file type Video: ") + busy);
        QCOMPARE(other->Store.Execute("ROLLBACK;"), std::string());

        QCOMPARE(Entries("lstCategoryCategory"), QStringList{QStringLiteral("Live")});
        QVERIFY(Entries("lstFileFileType").contains(QStringLiteral("Video")));
        QCOMPARE(Cell(0, 2) + Cell(0, 3), QStringLiteral("VideoLive"));
        SetsMatchTheCatalogue();
        QVERIFY(Find<QPushButton>("cmdCategoryDelete")->isEnabled());
    }
};

RV_WINDOW_TEST_MAIN(VocabularyTabsTest)

#include "VocabularyTabsTest.moc"
