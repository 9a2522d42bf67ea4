// SPDX-License-Identifier: GPL-3.0-or-later
// The window on real drives, loop-mounted in a mount table of the test's own: rows of a drive that
// is unplugged or mounted elsewhere, the offer to re-point it, the Drives dialog, and the mount
// table watched while the window runs.
#include <QAction>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include <poll.h>
#include <sys/mount.h>

#include <filesystem>

#include "common/LoopDrive.h"
#include "drives/dialogs/DriveNotes.h"
#include "drives/MountMonitor.h"
#include "model/modCatalogue.h"
#include "common/DialogDriver.h"
#include "listing/RowSort.h"
#include "window/WindowFixture.h"

namespace {

const char* const kFilmsUUID = "4d0f6a1e-2201-4a2b-9c3d-5e6f7a8b9c0d";
const char* const kOtherUUID = "4d0f6a1e-2202-4a2b-9c3d-5e6f7a8b9c0d";
// How soon a mount or an unmount must show in the list.
constexpr int kLiveMs = 1000;

bool Readable(int fd, int waitMs) {
    pollfd wanted{fd, POLLIN, 0};
    return poll(&wanted, 1, waitMs) == 1;
}

}  // namespace

class DrivesWindowTest : public WindowFixture {
    Q_OBJECT

    // Files with these names in the drive's top folder, and a catalogue with a record for each (type
    // Video, played by a script that notes what it was given) besides the three of /m, on no drive.
    void StartOn(const std::string& place, const std::vector<std::string>& names) {
        const std::string path = MakeCatalogue("films.rvd");
        const std::unique_ptr<Catalogue> made = Opened(path);
        for (const std::string& name : names) {
            folder_->Write(std::filesystem::relative(place + "/" + name, folder_->Root()).string(), name);
            InsertFile(*made, {-1, place + "/" + name, name, 1, 1, "", 1, 0, "", 0, {}});
        }
        folder_->Write("player", "#!/bin/sh\nprintf '%s|' \"$@\" >> \"$0.args\"\n");
        std::filesystem::permissions(folder_->Path("player"), std::filesystem::perms::owner_all);
        StartWith({QString::fromStdString(path)});
    }
    QAbstractItemModel* Rows() { return List()->model(); }
    bool Greyed(int row) { return Rows()->index(row, 0).data(Qt::ForegroundRole).isValid(); }
    QString Tip(int row) { return Rows()->index(row, 0).data(Qt::ToolTipRole).toString(); }
    QString Drive(int row) { return Cell(row, kDriveColumn); }
    int Row(const std::string& path) { return RowNamed(QString::fromStdString(path)); }
    void Open(int row) {
        const QPoint at = List()->visualRect(Rows()->index(row, 0)).center();
        QTest::mousePress(List()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
    }
    QString Offer() {
        QWidget* offer = Find<QWidget>("fraRebindOffer");
        return offer->isHidden() ? QString() : Find<QLabel>("lblRebindOffer")->text();
    }
    void WaitForTools() { QTRY_VERIFY_WITH_TIMEOUT(!ToolRunning(window_.get()) && !window_->Busy(), 60000); }
    int Found(const char* plugged) {
        Choose("cboSearchPlugged", QString::fromUtf8(plugged));
        Click("cmdSearchSearch");
        return Rows()->rowCount();
    }
    QTableWidget* Drives() { return Find<QTableWidget>("lstDrives"); }
    QString DriveCell(int row, int column) { return Drives()->item(row, column)->text(); }

private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void theMountMonitorTellsOfEachChangeOnce() {
        MountMonitor monitor;
        QVERIFY2(monitor.Fd() >= 0, monitor.Error().c_str());
        QVERIFY(!monitor.TakeChanges());
        std::filesystem::create_directory(folder_->Path("tmp"));
        if (mount("none", folder_->Path("tmp").c_str(), "tmpfs", 0, nullptr) != 0) QSKIP("No mounting here: root is needed");
        QVERIFY(Readable(monitor.Fd(), kLiveMs));
        QVERIFY(monitor.TakeChanges());
        QVERIFY(!Readable(monitor.Fd(), 0));  // taken, so an event loop is not woken again for it
        QVERIFY(!monitor.TakeChanges());
        QCOMPARE(umount(folder_->Path("tmp").c_str()), 0);
        QVERIFY(Readable(monitor.Fd(), kLiveMs));
        QVERIFY(monitor.TakeChanges());
    }

    void rowsOfAnUnpluggedDriveStayBrowsableAndComeBackLive() {
        LoopDrive films(folder_->Path("films.img"), kFilmsUUID, "FILMS");
        const std::string place = folder_->Path("media/FILMS");
        if (!films.Mount(place)) QSKIP(films.Skip().c_str());
        StartOn(place, {"a.avi", "b.avi"});
        const int a = Row(place + "/a.avi");
        QCOMPARE(Drive(a), QStringLiteral("FILMS"));
        QCOMPARE(Drive(Row("/m/b.avi")), QString());
        QVERIFY(!Greyed(a));
        Open(a);
        QTRY_COMPARE(folder_->Read("player.args"), place + "/a.avi|");

        films.Unmount();
        QTRY_VERIFY_WITH_TIMEOUT(Greyed(a), kLiveMs);
        QVERIFY(Greyed(Row(place + "/b.avi")));
        QVERIFY(!Greyed(Row("/m/b.avi")));
        QCOMPARE(Tip(a), QStringLiteral("FILMS is not plugged in"));
        QCOMPARE(Drive(a), QStringLiteral("FILMS"));
        Open(a);
        QCOMPARE(window_->StatusText(), QStringLiteral("The drive FILMS is not plugged in"));

        QCOMPARE(Found("Not plugged in"), 2);
        QCOMPARE(Found("Plugged in"), 3);
        Choose("cboSearchDrive", QStringLiteral("FILMS"));
        QCOMPARE(Found("Plugged in or not"), 2);
        Click("cmdSearchClear");
        QCOMPARE(Found("Plugged in or not"), 5);

        // Its records are still edited as any others, and keep their drive.
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(Rows()->index(Row(place + "/b.avi"), 0)).center());
        Click("cmdAddPlay");
        QCOMPARE(window_->StatusText(), QStringLiteral("The drive FILMS is not plugged in"));
        Field("txtAddTitle")->setText(QStringLiteral("Beta"));
        Click("cmdAddSave");
        QCOMPARE(Cell(Row(place + "/b.avi"), TitleColumn), QStringLiteral("Beta"));
        QVERIFY(Greyed(Row(place + "/b.avi")));
        const std::unique_ptr<Catalogue> stored = Stored();
        QVERIFY(stored->Files.GotoFileName(place + "/b.avi"));
        QCOMPARE(stored->Files.Current()->Title, std::string("Beta"));
        QCOMPARE(stored->Files.Current()->DriveID, stored->Drives.ByName("FILMS")->DriveID);

        QVERIFY(films.Mount(place));
        QTRY_VERIFY_WITH_TIMEOUT(!Greyed(a), kLiveMs);
        QCOMPARE(Tip(a), QString::fromStdString(place + "/a.avi"));
    }

    void aDriveMountedElsewhereIsOfferedAndRepointedButAClonedOneIsNot() {
        LoopDrive films(folder_->Path("films.img"), kFilmsUUID, "FILMS");
        const std::string place = folder_->Path("media/FILMS");
        const std::string elsewhere = folder_->Path("media/FILMS one");
        if (!films.Mount(place)) QSKIP(films.Skip().c_str());
        StartOn(place, {"a.avi", "b.avi"});
        QCOMPARE(Offer(), QString());
        QVERIFY(films.Mount(elsewhere));
        QTRY_COMPARE_WITH_TIMEOUT(Offer(), QString::fromStdString("FILMS is mounted at " + elsewhere + ": re-point its 2 records?"), kLiveMs);
        const int a = Row(place + "/a.avi");
        QVERIFY(Greyed(a));
        QCOMPARE(Tip(a), QString::fromStdString("FILMS is mounted at " + elsewhere + ": its records can be re-pointed there"));
        Open(a);
        QCOMPARE(window_->StatusText(),
                 QString::fromStdString("The drive FILMS is mounted at " + elsewhere + ": re-point its records to open this file"));

        Click("cmdRepoint");
        WaitForTools();
        QCOMPARE(window_->StatusText(), QStringLiteral("2 records re-pointed"));
        QCOMPARE(prompts_.Shown, QStringList{QString::fromStdString(folder_->Path("config/reelvault/rebind.log"))});
        QCOMPARE(Offer(), QString());
        const int moved = Row(elsewhere + "/a.avi");
        QVERIFY(moved >= 0 && !Greyed(moved));
        QCOMPARE(Row(place + "/a.avi"), -1);
        Open(moved);
        QTRY_COMPARE(folder_->Read("player.args"), elsewhere + "/a.avi|");

        // A clone plugged in beside it: which device is the drive is not guessed.
        LoopDrive clone(folder_->Path("clone.img"), kFilmsUUID, "FILMS");
        QVERIFY(clone.Mount(folder_->Path("media/FILMS1")));
        QTRY_VERIFY_WITH_TIMEOUT(Offer().startsWith(QStringLiteral("FILMS is plugged in twice: /dev/loop")), kLiveMs);
        QVERIFY(Offer().endsWith(QStringLiteral("carry the same identity, so its records are left as they are until one is unplugged")));
        QVERIFY(Find<QPushButton>("cmdRepoint")->isHidden());
        QVERIFY(!Greyed(moved));
    }

    void twoDrivesOfOneLabelAreRenamedAndForgottenInTheDrivesDialog() {
        LoopDrive films(folder_->Path("films.img"), kFilmsUUID, "FILMS");
        LoopDrive other(folder_->Path("other.img"), kOtherUUID, "FILMS", LoopDrive::Kind::Xfs);
        const std::string place = folder_->Path("media/FILMS");
        const std::string second = folder_->Path("media/FILMS1");
        if (!films.Mount(place) || !other.Mount(second)) QSKIP((films.Skip() + other.Skip()).c_str());
        for (const char* name : {"media/FILMS1/c.avi", "media/FILMS1/d.avi"}) folder_->Write(name, "c");
        StartOn(place, {"a.avi"});
        {
            const std::unique_ptr<Catalogue> made = Stored();
            for (const char* name : {"/c.avi", "/d.avi"}) InsertFile(*made, {-1, second + name, "", 1, 1, "", 5, 0, "", 0, {}});
        }
        window_->ReloadCatalogue();
        WaitIdle();
        window_->RefreshFileList();
        QCOMPARE(Drive(Row(place + "/a.avi")), QStringLiteral("FILMS"));
        QCOMPARE(Drive(Row(second + "/c.avi")), QStringLiteral("FILMS-2"));
        QCOMPARE(Items("cboSearchDrive"), (QStringList{QString(), QStringLiteral("FILMS"), QStringLiteral("FILMS-2")}));
        ClickHeader(kDriveColumn);
        ClickHeader(kDriveColumn);  // descending: the records on no drive last
        QCOMPARE(Drive(0) + Drive(1) + Drive(2) + Drive(3), QStringLiteral("FILMS-2FILMS-2FILMS"));

        Find<QAction>("mnuDrives")->trigger();
        QVERIFY(Find<QDialog>("frmDrives")->isVisible());
        QCOMPARE(Unnamed(Find<QDialog>("frmDrives")), QStringList());
        QCOMPARE(Drives()->rowCount(), 2);
        QCOMPARE(DriveCell(1, 0) + DriveCell(1, 1) + DriveCell(1, 3), QStringLiteral("FILMS-2FILMSxfs"));
        QCOMPARE(DriveCell(0, 2), QString::fromUtf8(kFilmsUUID));
        QCOMPARE(DriveCell(1, 5), QString::fromStdString(second));
        QCOMPARE(DriveCell(1, 6), QStringLiteral("2"));
        QCOMPARE(RecordCount(1) + RecordCount(1204), QStringLiteral("1 record1,204 records"));  // grouped as read, in any language
        QCOMPARE(DriveCell(1, 7), QStringLiteral("10 bytes"));
        QVERIFY(DriveCell(1, 4).endsWith(QStringLiteral(" MB")));

        Drives()->item(1, 0)->setText(QStringLiteral("Backup"));
        QTRY_COMPARE(Items("cboSearchDrive"), (QStringList{QString(), QStringLiteral("Backup"), QStringLiteral("FILMS")}));
        QCOMPARE(Drive(Row(second + "/c.avi")), QStringLiteral("Backup"));
        QVERIFY(Stored()->Drives.ByName("Backup"));
        Drives()->item(0, 0)->setText(QStringLiteral("Backup"));  // taken
        QCOMPARE(prompts_.Told, (QStringList{QStringLiteral("Rename Drive"), QStringLiteral("Another drive is named Backup")}));
        QCOMPARE(DriveCell(0, 0), QStringLiteral("FILMS"));

        Drives()->selectRow(1);
        prompts_.Yes = false;
        Click("cmdDriveForget");
        QCOMPARE(prompts_.Asked.value(0), QStringLiteral("Forget the drive Backup and delete its 2 records from the catalogue?\n"
                                                         "The files on the drive are not touched."));
        QCOMPARE(Rows()->rowCount(), 6);
        prompts_.Yes = true;
        Click("cmdDriveForget");
        WaitForTools();
        QCOMPARE(window_->StatusText(), QStringLiteral("Backup forgotten: 2 records deleted"));
        QCOMPARE(Rows()->rowCount(), 4);
        QCOMPARE(Drives()->rowCount(), 1);
        QVERIFY(std::filesystem::exists(second + "/c.avi"));
        const std::unique_ptr<Catalogue> stored = Stored();
        QCOMPARE(stored->Files.Records().size(), std::size_t{4});
        QVERIFY(!stored->Drives.ByName("Backup"));
    }

    void aNoteOnTheCatalogueOwnTablesIsShownOnce() {
        const std::string path = MakeCatalogue("films.rvd");
        QCOMPARE(Opened(path)->Store.Execute("UPDATE rvSchema SET Version = 99;"), std::string());
        StartWith({QString::fromStdString(path)});
        QCOMPARE(prompts_.Told.value(0), QStringLiteral("Reelvault"));
        QVERIFY(prompts_.Told.value(1).contains(QStringLiteral("newer Reelvault")));
        window_->ReloadCatalogue();
        WaitIdle();
        QCOMPARE(prompts_.Told.size(), 2);
    }
};

// The window watches the mount table from its first test on: the table of the test's own must be
// the one it watches.
int main(int argc, char** argv) {
    LoopDrive::OwnMountTable();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DrivesWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DrivesWindowTest.moc"
