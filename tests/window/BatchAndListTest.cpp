// SPDX-License-Identifier: GPL-3.0-or-later
// Several rows at once (the batch form, Delete with the count), names in natural order, and sizes
// and lengths people read, driven through the window headless.
#include <QClipboard>
#include <QLocale>
#include <QMenu>

#include <algorithm>

#include "listing/ListRow.h"
#include "window/WindowFixture.h"

class BatchAndListTest : public WindowFixture {
    Q_OBJECT

    // Chooses the rows showing these files, as Ctrl+clicks would.
    void ChooseRows(const QStringList& names) {
        List()->clearSelection();
        for (const QString& name : names)
            List()->selectionModel()->select(List()->model()->index(RowNamed(name), 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QStringList Column(int column) {
        QStringList cells;
        for (int row = 0; row < List()->model()->rowCount(); ++row) cells << Cell(row, column);
        return cells;
    }
    // Starts on a catalogue with these files besides the fixture's three.
    std::string StartWithFiles(const std::vector<FileRecord>& files) {
        const std::string path = MakeCatalogue("films.rvd");
        {
            const auto second = Opened(path);
            AddCategory(*second, "Studio");
            for (const FileRecord& file : files) InsertFile(*second, file);
        }
        StartWith({QString::fromStdString(path)});
        return path;
    }

private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() {
        QLocale::setDefault(QLocale::c());
        TearDown();
    }

    void theBatchFormChangesEveryChosenRecordAndNamesTheMissing() {
        const std::string path = StartWithFiles({});
        auto* batch = Find<QWidget>("frmBatch");
        ChooseRows({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.avi")});
        QVERIFY(batch->isVisible());
        Choose("cboBatchCategory", QStringLiteral("Studio"));
        Field("txtBatchAddKeywords")->setText(QStringLiteral("new, k2 ,"));
        Field("txtBatchRemoveKeywords")->setText(QStringLiteral("k"));
        prompts_.Yes = false;
        Click("cmdBatchSave");
        QCOMPARE(prompts_.Asked, QStringList{QStringLiteral("Change 2 records?")});
        const auto before = Stored();
        QVERIFY(before->Files.GotoFileName("/m/a.mp3"));
        QCOMPARE(before->Files.CategoryID(), 1);  // No changes nothing
        prompts_.Yes = true;
        Click("cmdBatchSave");
        const auto stored = Stored();
        for (const char* file : {"/m/a.mp3", "/m/b.avi", "/m/C.mkv"}) {
            QVERIFY(stored->Files.GotoFileName(file));
            const bool chosen = std::string(file) != "/m/C.mkv";
            QCOMPARE(stored->Files.Current()->CategoryID, chosen ? 2 : 1);
            const std::vector<std::string> keywords = chosen ? std::vector<std::string>{"k2", "new"} : std::vector<std::string>{"k"};
            QCOMPARE(stored->Files.Current()->Keywords, keywords);
        }
        QCOMPARE(Cell(RowNamed(QStringLiteral("/m/b.avi")), CategoryColumn), QStringLiteral("Studio"));
        QCOMPARE(Cell(RowNamed(QStringLiteral("/m/b.avi")), KeywordsColumn), QStringLiteral("k2, new"));

        // Another program deletes one of the chosen meanwhile: the rest is saved, that one named.
        ChooseRows({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.avi"), QStringLiteral("/m/C.mkv")});
        const int gone = [&] {
            const auto second = Opened(path);
            second->Files.GotoFileName("/m/b.avi");
            const int id = second->Files.FileID();
            DeleteFile(*second, id);
            return id;
        }();
        Choose("cboBatchCategory", QStringLiteral("(unchanged)"));
        Field("txtBatchAddKeywords")->clear();
        Field("txtBatchRemoveKeywords")->clear();
        Field("txtBatchRating")->setText(QStringLiteral("5"));
        Click("cmdBatchSave");
        QCOMPARE(prompts_.Told.last(), QStringLiteral("FileID %1 was not changed: it is no longer in the catalogue.").arg(gone));
        const auto after = Stored();
        QCOMPARE(after->Files.Records().size(), std::size_t{2});
        for (const FileRecord& record : after->Files.Records()) QCOMPARE(record.Rating, 5);
        QCOMPARE(List()->model()->rowCount(), 2);
    }

    void deleteAsksWithTheCountAndDeletesEveryChosenRecord() {
        StartWithFiles({});
        ChooseRows({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/C.mkv")});
        // A Ctrl+click that takes one away edits the one left, not the one clicked.
        const QRect clicked = List()->visualRect(List()->model()->index(RowNamed(QStringLiteral("/m/C.mkv")), 0));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::ControlModifier, clicked.center());
        QVERIFY(!Find<QWidget>("frmBatch")->isVisible());
        QCOMPARE(Field("txtAddFileName")->text(), QStringLiteral("/m/a.mp3"));
        ChooseRows({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/C.mkv")});
        Click("cmdBatchDelete");
        QCOMPARE(prompts_.Asked, QStringList{QStringLiteral("Delete 2 records from the catalogue?")});
        QCOMPARE(Stored()->Files.Records().size(), std::size_t{1});
        QCOMPARE(Column(FileNameColumn), QStringList{QStringLiteral("/m/b.avi")});
        QVERIFY(!Find<QWidget>("frmBatch")->isVisible());  // nothing chosen any more
    }

    void namesSortNaturallyInTheUsersLanguageUnlessUnticked() {
        StartWithFiles({{-1, "/n/clip 10.avi", "", 0, 0, "", 0, 0, "", 0, {}},
                        {-1, "/n/clip 2.avi", "", 0, 0, "", 0, 0, "", 0, {}},
                        {-1, "/n/Clip 3.avi", "", 0, 0, "", 0, 0, "", 0, {}},
                        {-1, "/n/\xc3\xb6.avi", "", 0, 0, "", 0, 0, "", 0, {}},
                        {-1, "/n/z.avi", "", 0, 0, "", 0, 0, "", 0, {}}});
        const auto names = [this] {
            QStringList shown = Column(FileNameColumn);
            shown.erase(std::remove_if(shown.begin(), shown.end(), [](const QString& name) { return !name.startsWith(QLatin1String("/n/")); }),
                        shown.end());
            return shown;
        };
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ClickHeader(FileNameColumn);
        QCOMPARE(names(), (QStringList{"/n/clip 2.avi", "/n/Clip 3.avi", "/n/clip 10.avi", "/n/\xc3\xb6.avi", "/n/z.avi"}));
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));  // ö after z
        ClickHeader(FileNameColumn);
        ClickHeader(FileNameColumn);
        QCOMPARE(names(), (QStringList{"/n/clip 2.avi", "/n/Clip 3.avi", "/n/clip 10.avi", "/n/z.avi", "/n/\xc3\xb6.avi"}));
        Trigger("mnuSortNamesNaturally");  // sorts again at once, as before
        QCOMPARE(names(), (QStringList{"/n/clip 10.avi", "/n/clip 2.avi", "/n/Clip 3.avi", "/n/z.avi", "/n/\xc3\xb6.avi"}));
        QCOMPARE(state_->ini.GetVariableValue("SortNamesNaturally"), std::string("false"));
        QVERIFY(!Find<QAction>("mnuSortNamesNaturally")->isChecked());
    }

    void sizesAndLengthsReadableExactWhenCopiedOrAsked() {
        StartWithFiles({{-1, "/n/film.mkv", "", 0, 0, "", 1073741824, 5421000, "", 0, {}}});
        const int row = RowNamed(QStringLiteral("/n/film.mkv"));
        QCOMPARE(Cell(row, SizeColumn), QStringLiteral("1.0 GiB"));
        QCOMPARE(Cell(row, LengthColumn), QStringLiteral("1:30:21"));
        QVERIFY(List()->model()->index(row, SizeColumn).data(Qt::ToolTipRole).toString().contains(QStringLiteral("1073741824")));
        ClickHeader(SizeColumn);  // numbers still sort as numbers: 9, 10, 100 bytes, then 1 GiB
        QCOMPARE(Column(SizeColumn), (QStringList{"9 B", "10 B", "100 B", "1.0 GiB"}));
        ChooseRows({QStringLiteral("/n/film.mkv"), QStringLiteral("/m/C.mkv")});
        QTest::keyClick(List(), Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QStringLiteral("/m/C.mkv\t")) && lines[0].contains(QStringLiteral("\t9\t0\t")));
        QVERIFY(lines[1].contains(QStringLiteral("\t1073741824\t5421000\t")));
        Trigger("mnuShowExactNumbers");
        QCOMPARE(Cell(RowNamed(QStringLiteral("/n/film.mkv")), SizeColumn), QStringLiteral("1073741824"));
        QCOMPARE(Cell(RowNamed(QStringLiteral("/n/film.mkv")), LengthColumn), QStringLiteral("5421000"));
        QCOMPARE(state_->ini.GetVariableValue("ShowExactNumbers"), std::string("true"));
    }
};

RV_WINDOW_TEST_MAIN(BatchAndListTest)
#include "BatchAndListTest.moc"
