// SPDX-License-Identifier: GPL-3.0-or-later
// The window's everyday comforts, driven headless: Open Recent across restarts and the desktop's
// recent files, the window as it was left, the keys, and rows dragged out as files.
#include <QDomDocument>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <memory>

#include "window/WindowFixture.h"

class ComfortsTest : public WindowFixture {
    Q_OBJECT

    // The program run again over the same settings, as a person would start it the next day.
    void Restart(const QStringList& arguments = {}) {
        window_->close();
        window_.reset();
        state_ = std::make_unique<AppState>();
        window_ = std::make_unique<frmMain>(*state_, prompts_);
        StartWith(arguments);
    }
    void Open(const std::string& path) {
        prompts_.Path = QString::fromStdString(path);
        Trigger("mnuOpen");
    }
    // The recent entries' captions, and which are enabled, as the menu shows them when opened.
    QStringList Recent() {
        auto* menu = Find<QMenu>("mnuOpenRecent");
        Q_EMIT menu->aboutToShow();
        QStringList shown;
        for (const QAction* item : menu->actions()) {
            if (item->objectName().startsWith(QStringLiteral("mnuRecent")))
                shown << (item->isEnabled() ? QString() : QStringLiteral("off:")) + item->text();
        }
        return shown;
    }
    QString Entry(int number, const std::string& path, bool on = true) {
        return (on ? QString() : QStringLiteral("off:")) + QStringLiteral("&%1 %2").arg(number).arg(QString::fromStdString(path));
    }
    // The desktop's recent files as GTK would read them: "href program" -> how often it used the file.
    QMap<QString, int> DesktopRecent() {
        QFile file(QString::fromStdString(folder_->Path("data/recently-used.xbel")));
        QDomDocument document;
        if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file, true)) return {};
        const QString bookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
        QMap<QString, int> uses;
        const QDomNodeList bookmarks = document.documentElement().elementsByTagName(QStringLiteral("bookmark"));
        for (int at = 0; at < bookmarks.size(); ++at) {
            const QDomElement bookmark = bookmarks.at(at).toElement();
            const QDomNodeList apps = bookmark.elementsByTagNameNS(bookmarkNs, QStringLiteral("application"));
            for (int app = 0; app < apps.size(); ++app) {
                const QDomElement used = apps.at(app).toElement();
                uses[bookmark.attribute(QStringLiteral("href")) + QLatin1Char(' ') + used.attribute(QStringLiteral("name"))] =
                    used.attribute(QStringLiteral("count")).toInt();
            }
        }
        return uses;
    }
    static QString Used(const std::string& path) {
        return QString::fromUtf8(QUrl::fromLocalFile(QString::fromStdString(path)).toEncoded()) + QLatin1Char(' ') + QCoreApplication::applicationName();
    }

private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void openRecentOutlivesARestartKeepsWhatIsGoneAndClears() {
        for (const char* made : {"config/reelvault", "data"}) std::filesystem::create_directories(folder_->Path(made));
        folder_->Write("config/reelvault/rv.ini", "LastDir=/\n\n[Future]\nShape=round\n\n[Recent]\nPinned=/x.rvd\n");
        const std::string other = "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\" xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\">"
                                  "<bookmark href=\"file:///elsewhere/song.ogg\"><info><metadata owner=\"http://freedesktop.org\"><bookmark:applications>"
                                  "<bookmark:application name=\"Player\" exec=\"'player %u'\" count=\"4\"/></bookmark:applications></metadata></info></bookmark></xbel>\n";
        folder_->Write("data/recently-used.xbel", other);
        const std::string a = MakeCatalogue("a.rvd"), b = MakeCatalogue("b #2.rvd"), c = MakeCatalogue("c.rvd");
        StartWith({});
        QCOMPARE(Recent(), QStringList{});
        QVERIFY(!Find<QMenu>("mnuOpenRecent")->menuAction()->isEnabled());
        for (const std::string& path : {a, b, c, a}) Open(path);
        QCOMPARE(DesktopRecent(), (QMap<QString, int>{{QStringLiteral("file:///elsewhere/song.ogg Player"), 4}, {Used(a), 2}, {Used(b), 1}, {Used(c), 1}}));

        std::filesystem::rename(b, folder_->Path("moved.rvd"));
        Restart();
        QCOMPARE(Recent(), (QStringList{Entry(1, a), Entry(2, c), Entry(3, b, false)}));
        Find<QAction>("mnuRecent2")->trigger();
        WaitIdle();
        QCOMPARE(window_->StatusText(), QStringLiteral("Loaded database : ") + QString::fromStdString(c));
        QCOMPARE(Recent(), (QStringList{Entry(1, c), Entry(2, a), Entry(3, b, false)}));

        // Gone between the menu's drawing and the choice: said in one sentence, and not made anew.
        std::filesystem::remove(a);
        Find<QAction>("mnuRecent2")->trigger();
        WaitIdle();
        QCOMPARE(prompts_.Told.value(1), QString::fromStdString(a) + QStringLiteral(" is no longer there: it was moved or deleted."));
        QVERIFY(!std::filesystem::exists(a));
        folder_->Write("b #2.rvd", "not a catalogue");  // back, but damaged: the open says why
        QCOMPARE(Recent(), (QStringList{Entry(1, c), Entry(2, a, false), Entry(3, b)}));
        Find<QAction>("mnuRecent3")->trigger();
        WaitIdle();
        QCOMPARE(prompts_.Told.value(2), QStringLiteral("Error"));
        QCOMPARE(Recent(), (QStringList{Entry(1, c), Entry(2, a, false), Entry(3, b)}));

        Trigger("mnuClearRecent");
        QCOMPARE(Recent(), QStringList{});
        Restart();
        QCOMPARE(Recent(), QStringList{});
        const std::string ini = folder_->Read("config/reelvault/rv.ini");
        for (const char* kept : {"[Future]\nShape=round\n", "Pinned=/x.rvd\n", "LastDir="}) QVERIFY2(ini.find(kept) != std::string::npos, kept);
        QVERIFY(ini.find("File1=") == std::string::npos);
    }

    void aDesktopListThatIsNotXbelIsLeftAlone() {
        std::filesystem::create_directories(folder_->Path("data"));
        folder_->Write("data/recently-used.xbel", "<html>not a list");
        StartWith({QString::fromStdString(MakeCatalogue("a.rvd"))});
        QVERIFY(window_->StatusText().contains(QStringLiteral("not in the desktop's recent files")));
        QCOMPARE(folder_->Read("data/recently-used.xbel"), std::string("<html>not a list"));
    }

    void theWindowComesBackAsItWasLeft() {
        const QString path = QString::fromStdString(MakeCatalogue("films.rvd"));
        StartWith({path});
        window_->resize(1200, 700);
        Find<QTabWidget>("tabTab")->setCurrentIndex(2);
        auto* split = Find<QSplitter>("splFormList");
        split->setSizes({split->sizes()[0] + 40, split->sizes()[1] - 40});
        const QList<int> sizes = split->sizes();
        QHeaderView* header = List()->horizontalHeader();
        header->resizeSection(2, 333);
        header->moveSection(header->visualIndex(4), 1);  // CRC right after the file name
        Find<QAction>("mnuColumnTitle")->trigger();       // hidden
        ClickHeader(5);
        ClickHeader(5);  // sizes descending
        Restart({path});
        QCOMPARE(window_->size(), QSize(1200, 700));
        QCOMPARE(Find<QTabWidget>("tabTab")->currentIndex(), 2);
        QCOMPARE(Find<QSplitter>("splFormList")->sizes(), sizes);
        header = List()->horizontalHeader();
        QCOMPARE(header->sectionSize(2), 333);
        QCOMPARE(header->visualIndex(4), 1);
        QVERIFY(List()->isColumnHidden(1));
        QVERIFY(!Find<QAction>("mnuColumnTitle")->isChecked());
        QCOMPARE((QStringList{Cell(0, 5), Cell(1, 5), Cell(2, 5)}), (QStringList{QStringLiteral("100 B"), QStringLiteral("10 B"), QStringLiteral("9 B")}));
        QCOMPARE(header->sortIndicatorSection(), 5);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        ClickHeader(5);  // and the next click goes on from there
        QCOMPARE(Cell(0, 5), QStringLiteral("9 B"));

        window_->showMaximized();
        QTRY_VERIFY(window_->isMaximized());
        Restart();
        QVERIFY(window_->isMaximized());
    }

    void theKeys() {
        const std::string path = MakeCatalogue("films.rvd");
        StartWith({});
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        const auto press = [&](QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(to, key, modifiers);
            WaitIdle();
        };
        prompts_.Path = QString::fromStdString(folder_->Path("new.rvd"));
        press(window_.get(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(window_->StatusText().startsWith(QStringLiteral("Created new database : ")));
        prompts_.Path = QString::fromStdString(path);
        press(window_.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(List()->model()->rowCount(), 3);

        press(List(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(Find<QTabWidget>("tabTab")->currentIndex(), 1);
        QVERIFY(Field("txtSearchFileName")->hasFocus());

        InsertFile(*Stored(), {-1, "/m/d.avi", "", 1, 1, "", 1, 0, "", 0, {}});  // another program's change
        press(window_.get(), Qt::Key_F5);
        QCOMPARE(List()->model()->rowCount(), 4);

        // Enter opens the current row's file with its type's application.
        folder_->Write("player", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.args\"\n");
        std::filesystem::permissions(folder_->Path("player"), std::filesystem::perms::owner_all);
        List()->setFocus();
        List()->selectRow(RowNamed(QStringLiteral("/m/b.avi")));
        press(List(), Qt::Key_Return);
        QTRY_COMPARE(folder_->Read("player.args"), std::string("/m/b.avi|"));

        prompts_.Yes = false;
        press(List(), Qt::Key_Delete);
        QCOMPARE(prompts_.Asked, QStringList{QStringLiteral("Delete 1 record from the catalogue?")});
        QCOMPARE(Stored()->Files.Count(), 4);
        prompts_.Yes = true;
        press(List(), Qt::Key_Delete);
        QCOMPARE(RowNamed(QStringLiteral("/m/b.avi")), -1);
        QCOMPARE(Stored()->Files.Count(), 3);

        press(List(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(List()->selectionModel()->selectedRows().size(), 3);
        press(List(), Qt::Key_Delete);
        QCOMPARE(prompts_.Asked.last(), QStringLiteral("Delete 3 records from the catalogue?"));
        QCOMPARE(List()->model()->rowCount(), 0);
        QCOMPARE(Stored()->Files.Count(), 0);
    }

    // A '#' or a blank in a name is where a URL written by hand goes wrong.
    void rowsDraggedOutCarryTheirFiles() {
        const std::string path = MakeCatalogue("films.rvd");
        InsertFile(*Opened(path), {-1, "/m/clip #1 été.avi", "", 1, 1, "", 1, 0, "", 0, {}});
        StartWith({QString::fromStdString(path)});
        QAbstractItemModel* model = List()->model();
        QVERIFY(model->flags(model->index(0, 3)) & Qt::ItemIsDragEnabled);
        QCOMPARE(model->supportedDragActions(), Qt::CopyAction);
        List()->selectAll();
        const std::unique_ptr<QMimeData> mime(model->mimeData(List()->selectionModel()->selectedIndexes()));
        QVERIFY(mime->hasFormat(QStringLiteral("text/uri-list")));
        QList<QUrl> expected;
        for (int row = 0; row < model->rowCount(); ++row) expected << QUrl::fromLocalFile(Cell(row, 0));
        QCOMPARE(mime->urls(), expected);
        QVERIFY(mime->data(QStringLiteral("text/uri-list")).contains("file:///m/clip%20%231%20%C3%A9t%C3%A9.avi"));
    }
};

RV_WINDOW_TEST_MAIN(ComfortsTest)
#include "ComfortsTest.moc"
