// SPDX-License-Identifier: GPL-3.0-or-later
// The Add/Edit tab, driven headless: saving new and edited records, deleting, dropping files, and
// the calculations, the CRC on its worker thread included.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocument>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "analysis/modCrc2.h"
#include "common/FileSizeLimit.h"
#include "common/ReadOnlyFile.h"
#include "window/FramePicture.h"
#include "window/WindowFixture.h"

namespace {

// What a file manager's drag of these URLs does: enter, then drop. False when the target refused.
bool DropUrls(QWidget* target, const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

}  // namespace

class AddEditTabTest : public WindowFixture {
    Q_OBJECT

    void ClickRow(int row) {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(List()->model()->index(row, 0)).center());
    }
    // The record with this path, as a second connection to the catalogue reads it.
    FileRecord StoredFile(const std::string& path) {
        const auto second = Stored();
        return second->Files.GotoFileName(path) ? *second->Files.Current() : FileRecord{};
    }

private Q_SLOTS:
    void init() {
        SetUp();
        StartWith({QString::fromStdString(MakeCatalogue("films.rvd"))});
    }
    void cleanup() { TearDown(); }

    void savesANewFileWithAllItsFieldsAndListsIt() {
        const QString path = QStringLiteral("/films/It's a \"new\" one.avi");
        Field("txtAddFileName")->setText(path);
        Field("txtAddTitle")->setText(QStringLiteral("Don't 'quote' me"));
        Choose("cboAddType", QStringLiteral("Video"));
        Choose("cboAddCategory", QStringLiteral("Live"));
        Field("txtAddRating")->setText(QStringLiteral("4"));
        Field("txtAddLength")->setText(QStringLiteral("3.5 s"));
        QTest::keyClicks(Field("txtAddKeyword"), QStringLiteral("live"));
        QTest::keyClick(Field("txtAddKeyword"), Qt::Key_Return);
        Click("cmdAddKeywordAdd");  // empty: nothing added
        for (const char* keyword : {"rock", "rock"}) {
            Field("txtAddKeyword")->setText(QString::fromUtf8(keyword));
            Click("cmdAddKeywordAdd");
        }
        auto* keywords = Find<QListWidget>("lstAddKeywords");
        QCOMPARE(keywords->count(), 3);
        keywords->setCurrentRow(2);
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        keywords->setFocus();
        QTest::keyClick(keywords, Qt::Key_Delete);
        QCOMPARE(keywords->count(), 2);

        Click("cmdAddSave");
        QCOMPARE(List()->model()->rowCount(), 4);
        const int row = RowNamed(path);
        QVERIFY(row >= 0);
        QCOMPARE(Cell(row, 2), QStringLiteral("Video"));
        QCOMPARE(Cell(row, 9), QStringLiteral("live, rock"));
        QVERIFY(Field("txtAddFileName")->text().isEmpty());
        QCOMPARE(keywords->count(), 0);
        const FileRecord stored = StoredFile(path.toStdString());
        QCOMPARE(stored.Title, std::string("Don't 'quote' me"));
        QCOMPARE(stored.TypeID, 1);
        QCOMPARE(stored.CategoryID, 1);
        QCOMPARE(stored.Rating, 4);
        QCOMPARE(stored.Length, 4);
        QCOMPARE(stored.Keywords, (std::vector<std::string>{"live", "rock"}));
    }

    void showsTheChosenRecordsFrameAsItArrivesAndWhileItsFileIsAway() {
        const ScopedEnv cache("XDG_CACHE_HOME", folder_->Path("cache"));
        const auto makeFilm = [this](const char* name, const char* size) {
            const std::string path = folder_->Path(name);
            const std::string make = std::string("ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc=size=") + size +
                                     ":duration=2 -c:v libx264 -preset ultrafast '" + path + "'";
            return std::system(make.c_str()) == 0 ? path : std::string();
        };
        const std::string film = makeFilm("film.mp4", "640x360");
        QVERIFY(!film.empty());
        Field("txtAddFileName")->setText(QString::fromStdString(film));
        Click("cmdAddSave");  // the load that shows the new record starts the frames' pass
        const int row = RowNamed(QString::fromStdString(film));
        QVERIFY(row >= 0);
        ClickRow(row);
        auto* picture = Find<FramePicture>("picAddFrame");
        QTRY_VERIFY_WITH_TIMEOUT(picture->PictureSize().width() == 320, 30000);
        QCOMPARE(picture->PictureSize().height(), 180);
        QVERIFY(picture->pixmap().height() <= picture->height());  // scaled to its room, never cut
        QCOMPARE(picture->accessibleName(), QStringLiteral("Frame"));

        // Hovering the row shows the frame above the name, as a picture the tooltip can draw.
        const QString tip = List()->model()->index(row, 0).data(Qt::ToolTipRole).toString();
        QVERIFY(tip.startsWith(QStringLiteral("<img src=\"data:image/jpeg;base64,")));
        QTextDocument shown;
        shown.setHtml(tip);
        QVERIFY(shown.size().height() > 180);

        // The file gone, as on a drive that is not plugged in: the stored frame still shows.
        std::filesystem::remove(film);
        Click("cmdAddClear");
        QCOMPARE(picture->pixmap().isNull(), true);
        ClickRow(row);
        QCOMPARE(picture->PictureSize().width(), 320);
        // A record without one says so.
        ClickRow(RowNamed(QStringLiteral("/m/b.avi")));
        QCOMPARE(picture->text(), QStringLiteral("No frame yet"));

        // The path edited to another film: that film's frame follows without a reload.
        const std::string square = makeFilm("square.mp4", "240x240");
        QVERIFY(!square.empty());
        ClickRow(row);
        Field("txtAddFileName")->setText(QString::fromStdString(square));
        Click("cmdAddSave");
        ClickRow(row);
        QTRY_COMPARE_WITH_TIMEOUT(picture->PictureSize().height(), 240, 30000);
    }

    void readsNumberFieldsAsTheirLeadingNumber() {
        const std::pair<const char*, const char*> sizes[] = {{"12abc", "12"}, {"abc", "0"}, {"2.5", "2"}, {"3.5", "4"},
                                                             {"&HFF", "255"}, {"5368709120", "5368709120"}};
        for (const auto& [typed, stored] : sizes) {
            Field("txtAddFileName")->setText(QStringLiteral("/size/") + QString::fromUtf8(typed));
            Field("txtAddSize")->setText(QString::fromUtf8(typed));
            Click("cmdAddSave");
            QCOMPARE(List()->model()->index(RowNamed(QStringLiteral("/size/") + QString::fromUtf8(typed)), 5).data(Qt::EditRole).toString(),
                     QString::fromUtf8(stored));
        }
        Field("txtAddFileName")->setText(QStringLiteral("/size/too long"));
        Field("txtAddLength")->setText(QStringLiteral("2147483648"));
        Click("cmdAddSave");
        QVERIFY(window_->StatusText().startsWith(QStringLiteral("Not saved: Length (ms) \"2147483648\"")));
        QCOMPARE(Field("txtAddFileName")->text(), QStringLiteral("/size/too long"));  // nothing lost
        QCOMPARE(RowNamed(QStringLiteral("/size/too long")), -1);
    }

    void aFullDiskStopsTheSaveAndSaysSo() {
        const QString title(30000, QLatin1Char('t'));  // within a line edit's limit, beyond the disk's
        Field("txtAddFileName")->setText(QStringLiteral("/m/new.avi"));
        Field("txtAddTitle")->setText(title);
        {
            const FileSizeLimit disk(std::filesystem::file_size(state_->catalogue.Store.FileName()) + 4096);
            Click("cmdAddSave");
        }
        QCOMPARE(window_->StatusText(), QStringLiteral("Could not save /m/new.avi: ") + QString::fromUtf8(kCatalogueFull));
        QCOMPARE(Field("txtAddTitle")->text(), title);  // nothing lost
        QCOMPARE(RowNamed(QStringLiteral("/m/new.avi")), -1);
        QCOMPARE(Stored()->Files.Count(), 3);
    }

    void editsTheClickedRowInPlaceAndStaysInEditMode() {
        ClickHeader(1);  // by title: a.mp3, b.avi, C.mkv; a new title that sorts last keeps its row
        const int row = RowNamed(QStringLiteral("/m/b.avi"));
        QCOMPARE(row, 1);
        ClickRow(row);
        QCOMPARE(Field("txtAddTitle")->text(), QStringLiteral("b.avi"));
        QCOMPARE(Find<QComboBox>("cboAddType")->currentText(), QStringLiteral("Video"));
        QCOMPARE(Find<QListWidget>("lstAddKeywords")->count(), 1);
        const QString id = Field("txtAddFileID")->text();

        Field("txtAddTitle")->setText(QStringLiteral("Edited"));
        Find<QComboBox>("cboAddType")->setCurrentIndex(0);  // the empty entry: no type
        Click("cmdAddSave");
        QCOMPARE(Cell(row, 0), QStringLiteral("/m/b.avi"));
        QCOMPARE(Cell(row, 1), QStringLiteral("Edited"));
        QCOMPARE(Cell(row, 2), QString());
        QCOMPARE(Cell(0, 1), QStringLiteral("a.mp3"));
        QCOMPARE(Cell(2, 1), QStringLiteral("C.mkv"));
        QCOMPARE(Field("txtAddFileID")->text(), id);
        QCOMPARE(Field("txtAddTitle")->text(), QStringLiteral("Edited"));
        const FileRecord stored = StoredFile("/m/b.avi");
        QCOMPARE(stored.Title, std::string("Edited"));
        QCOMPARE(stored.TypeID, 0);  // NULL
        QCOMPARE(stored.Keywords, std::vector<std::string>{"k"});
    }

    void deleteRemovesOnlyThatRowAndKeepsTheRest() {
        Click("cmdAddDelete");  // nothing loaded: nothing happens
        QCOMPARE(List()->model()->rowCount(), 3);
        ClickHeader(5);
        ClickRow(RowNamed(QStringLiteral("/m/b.avi")));  // by size: C.mkv, b.avi, a.mp3
        Click("cmdAddDelete");
        QCOMPARE(List()->model()->rowCount(), 2);
        QCOMPARE(Cell(0, 0), QStringLiteral("/m/C.mkv"));
        QCOMPARE(Cell(1, 0), QStringLiteral("/m/a.mp3"));
        QCOMPARE(Cell(1, 2), QStringLiteral("Video"));
        QVERIFY(Field("txtAddFileID")->text().isEmpty());
        QCOMPARE(StoredFile("/m/b.avi").FileID, -1);
    }

    void aDropFillsTheFormFromTheFirstFile() {
        state_->settings.AutoCalculateCRC = true;
        std::string riff = std::string("RIFF\x10\0\0\0AVI LIST", 16) + std::string(92, '\0') + "vidsDIVX";
        riff.resize(600, 'x');
        const std::string clip = folder_->Write("clip.AVI", riff);
        const std::string second = folder_->Write("second.avi", "other");
        const std::string third = folder_->Write("third.mp3", "more");
        std::filesystem::create_directory(folder_->Path("folder"));
        const auto url = [](const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); };

        auto* frame = Find<QWidget>("fraAddDropFile");
        QVERIFY(!DropUrls(frame, {QUrl(QStringLiteral("https://example.org/a.avi"))}));
        QVERIFY(!DropUrls(frame, {url(folder_->Path("folder"))}));
        // Onto a text box: the whole tab takes files, not only the frame.
        QVERIFY(DropUrls(Field("txtAddTitle"), {url(folder_->Path("folder")), url(clip), url(second), url(third)}));
        QCOMPARE(Field("txtAddFileName")->text(), QString::fromStdString(clip));
        QVERIFY(Field("txtAddTitle")->text().isEmpty());
        QCOMPARE(Find<QComboBox>("cboAddType")->currentText(), QStringLiteral("Video"));
        QCOMPARE(Field("txtAddSize")->text(), QStringLiteral("600"));
        QCOMPARE(Field("txtAddFourCC")->text(), QStringLiteral("DIVX"));
        const auto bytes = std::span(reinterpret_cast<const unsigned char*>(riff.data()), riff.size());
        QTRY_COMPARE(Field("txtAddCRC")->text(), QString::fromStdString(CRCText(~UpdateCRC(0xFFFFFFFF, 0, riff.size(), bytes))));
    }

    void theCRCRunsOnAWorkerAndCancelLeavesTheField() {
        Field("txtAddFileName")->setText(QString::fromStdString(folder_->Write("check.txt", "123456789")));
        const QString before = window_->StatusText();
        Click("cmdAddCRCCalculate");
        QTRY_COMPARE(Field("txtAddCRC")->text(), QStringLiteral("CBF43926"));
        QCOMPARE(window_->StatusText(), before);

        // Holes read as zeros, fast but not instantly: long enough to be cancelled midway.
        const std::string big = folder_->Path("big.bin");
        std::filesystem::resize_file(folder_->Write("big.bin", ""), std::uintmax_t{64} << 30);
        Field("txtAddFileName")->setText(QString::fromStdString(big));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        for (const bool byEscape : {true, false}) {
            Field("txtAddCRC")->setText(QStringLiteral("KEEP"));
            Click("cmdAddCRCCalculate");
            QVERIFY(!Find<QPushButton>("cmdAddCRCCalculate")->isEnabled());
            QVERIFY(!Find<QPushButton>("cmdAddSave")->isEnabled());
            QCOMPARE(window_->StatusText(), QString::fromStdString("Calculating CRC for " + big));
            QTRY_VERIFY(Find<QProgressBar>("barProgress")->value() > 0);  // the event loop runs meanwhile
            if (byEscape) QTest::keyClick(window_.get(), Qt::Key_Escape);
            else Click("cmdStatusCancel");
            QCOMPARE(Field("txtAddCRC")->text(), QStringLiteral("KEEP"));
            QCOMPARE(window_->StatusText(), before);
            QVERIFY(Find<QPushButton>("cmdAddCRCCalculate")->isEnabled());
            QVERIFY(Find<QPushButton>("cmdAddSave")->isEnabled());
            QVERIFY(!Find<QPushButton>("cmdStatusCancel")->isVisible());
        }
        Click("cmdAddCRCCalculate");  // a new path cancels the CRC of the old one
        Field("txtAddFileName")->setText(QStringLiteral("/elsewhere"));
        QTest::qWait(100);
        QCOMPARE(Field("txtAddCRC")->text(), QStringLiteral("KEEP"));
    }

    void anUnreadableFileGetsNoCRCAndTheReasonIsShown() {
        const std::string text = folder_->Write("notes.txt", "words");
        Field("txtAddFileName")->setText(QString::fromStdString(text));
        Field("txtAddLength")->setText(QStringLiteral("123"));
        Click("cmdAddLengthCalculate");
        QCOMPARE(Field("txtAddLength")->text(), QStringLiteral("123"));
        QVERIFY(window_->StatusText().startsWith(QString::fromStdString(text + " is not a media file")));

        const std::string locked = folder_->Write("locked.avi", "secret");
        chmod(locked.c_str(), 0);
        chmod(folder_->Root().c_str(), 0755);
        WithoutRootRights unprivileged;
        if (!unprivileged.Usable()) QSKIP("runs as root and cannot take up another user's rights to test an unreadable file");
        Field("txtAddFileName")->setText(QString::fromStdString(locked));
        Field("txtAddCRC")->setText(QStringLiteral("OLD"));
        Click("cmdAddCRCCalculate");
        const QString reason = QString::fromStdString("Could not read " + locked + ": Permission denied");
        QTRY_COMPARE(window_->StatusText(), reason);
        QVERIFY(Field("txtAddCRC")->text().isEmpty());
    }
};

RV_WINDOW_TEST_MAIN(AddEditTabTest)

#include "AddEditTabTest.moc"
