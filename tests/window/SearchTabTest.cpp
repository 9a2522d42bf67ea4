// SPDX-License-Identifier: GPL-3.0-or-later
// The Search tab, driven headless: a search over several fields with required keywords, Show All,
// Clear, and a search the engine rejects.
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "window/WindowFixture.h"

class SearchTabTest : public WindowFixture {
    Q_OBJECT

    void Require(const char* keyword) {
        Field("txtSearchKeyword")->setText(QString::fromUtf8(keyword));
        Click("cmdSearchKeywordAdd");
    }
    QStringList Listed() {
        QStringList names;
        for (int row = 0; row < List()->model()->rowCount(); ++row) names << Cell(row, 0);
        return names;
    }

private Q_SLOTS:
    // Beside the three files of the fixture (Video, Live, keyword k): three of O'Brien.
    void init() {
        SetUp();
        const std::string path = MakeCatalogue("films.rvd");
        const auto made = Opened(path);
        InsertFile(*made, {-1, "/films/O'Brien live.avi", "O'Brien's night", 1, 1, "", 5000, 0, "", 0, {"live", "rock"}});
        InsertFile(*made, {-1, "/films/O'Brien rock.avi", "O'Brien again", 1, 1, "", 50, 0, "", 0, {"live"}});
        InsertFile(*made, {-1, "/films/other.mp3", "O'Brien", -1, -1, "", 6000, 0, "", 0, {"Live", "rock"}});
        StartWith({QString::fromStdString(path)});
    }
    void cleanup() { TearDown(); }

    void findsByEveryFieldAndCountsTheFilesListed() {
        Field("txtSearchTitle")->setText(QStringLiteral("O'Brien"));
        Choose("cboSearchType", QStringLiteral("Video"));
        Choose("cboSearchSize", QStringLiteral(">"));
        Field("txtSearchSize")->setText(QStringLiteral("1k"));  // the leading number: more than 1 byte
        Require("live");
        Require("rock");
        QTest::keyClick(Field("txtSearchTitle"), Qt::Key_Return);
        WaitIdle();
        QCOMPARE(Listed(), QStringList{QStringLiteral("/films/O'Brien live.avi")});
        QCOMPARE(window_->StatusText(), QStringLiteral("1 matching files found"));  // not the 2 the statement matched

        Click("cmdSearchShowAll");
        QCOMPARE(List()->model()->rowCount(), 6);
        QCOMPARE(window_->StatusText(), QStringLiteral("All files listed"));

        Choose("cboSearchCategory", QStringLiteral("Live"));
        Click("cmdSearchClear");
        QVERIFY(Field("txtSearchTitle")->text().isEmpty() && Field("txtSearchSize")->text().isEmpty());
        QCOMPARE(Find<QComboBox>("cboSearchSize")->currentIndex(), -1);
        QCOMPARE(Find<QListWidget>("lstSearchKeywords")->count(), 0);
        ClickHeader(5);
        Click("cmdSearchSearch");  // type and category stay chosen; the list stays sorted by size
        QCOMPARE(Listed(), (QStringList{QStringLiteral("/m/C.mkv"), QStringLiteral("/m/b.avi"), QStringLiteral("/films/O'Brien rock.avi"),
                                        QStringLiteral("/m/a.mp3"), QStringLiteral("/films/O'Brien live.avi")}));
        QCOMPARE(window_->StatusText(), QStringLiteral("5 matching files found"));
    }

    void aRejectedSearchSaysWhyAndKeepsTheList() {
        state_->catalogue.Store.CloseDB();
        Click("cmdSearchSearch");
        QCOMPARE(window_->StatusText(), QStringLiteral("The search failed: SQLite database not open"));
        QCOMPARE(List()->model()->rowCount(), 6);
    }
};

RV_WINDOW_TEST_MAIN(SearchTabTest)

#include "SearchTabTest.moc"
