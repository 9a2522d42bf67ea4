// SPDX-License-Identifier: GPL-3.0-or-later
// The media facts in the window, driven headless: the Media box of the Add/Edit tab, a fact
// column shown from the list header's menu and kept in rv.ini, and the Search tab's fact fields.
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "common/FactClips.h"
#include "window/WindowFixture.h"

class MediaFactsWindowTest : public WindowFixture {
    Q_OBJECT

    QString Media() { return Find<QPlainTextEdit>("txtAddMedia")->toPlainText(); }
    int ColumnNamed(const QString& header) {
        for (int column = 0; column < List()->model()->columnCount(); ++column)
            if (List()->model()->headerData(column, Qt::Horizontal).toString() == header) return column;
        return -1;
    }

private Q_SLOTS:
    void init() {
        SetUp();
        StartWith({QString::fromStdString(MakeCatalogue("films.rvd"))});
    }
    void cleanup() { TearDown(); }

    void aFilmsFactsShowInTheMediaBoxAndAChosenColumn() {
        const QString film = QString::fromStdString(FactClips().Path("film.mkv"));
        Field("txtAddFileName")->setText(film);
        Click("cmdAddLengthCalculate");
        QVERIFY2(Media().contains(QStringLiteral("Video: h264, 640x360, 25 fps")), qPrintable(Media()));
        Click("cmdAddSave");
        QVERIFY(Media().isEmpty());  // the form is cleared for the next file

        // The fact columns are hidden until the person asks for one; the choice outlives the run.
        const int resolution = ColumnNamed(QStringLiteral("Resolution"));
        QVERIFY(resolution > 0);
        QVERIFY(List()->isColumnHidden(resolution));
        Find<QAction>("mnuColumnResolution")->trigger();
        QVERIFY(!List()->isColumnHidden(resolution));
        const int row = RowNamed(film);
        QVERIFY(row >= 0);
        QCOMPARE(Cell(row, resolution), QStringLiteral("640x360"));
        QCOMPARE(Cell(RowNamed(QStringLiteral("/m/b.avi")), resolution), QString());
        QVERIFY(folder_->Read("config/reelvault/rv.ini").find("ListColumns=File Name;Title;") != std::string::npos);

        // Chosen from the list, the record shows the facts the catalogue keeps for it.
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(List()->model()->index(row, 0)).center());
        QVERIFY2(Media().contains(QStringLiteral("Audio 1: aac, 2 channels, 48000 Hz, fre")), qPrintable(Media()));
        QVERIFY(Media().contains(QStringLiteral("Subtitles: 2 (eng, ger)")));

        // The Search tab finds it by its sound track's language, and refuses a height that is no number.
        Field("txtSearchAudioLanguage")->setText(QStringLiteral("fre"));
        Click("cmdSearchSearch");
        QCOMPARE(List()->model()->rowCount(), 1);
        Field("txtSearchHeight")->setText(QStringLiteral("tall"));
        Click("cmdSearchSearch");
        QVERIFY2(window_->StatusText().contains(QStringLiteral("must be a number")), qPrintable(window_->StatusText()));
    }
};

RV_WINDOW_TEST_MAIN(MediaFactsWindowTest)

#include "MediaFactsWindowTest.moc"
