// SPDX-License-Identifier: GPL-3.0-or-later
// Tools > Refresh... and the offer of a drive plugged in, driven headless, with the plan made and
// applied on workers for real.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <fstream>

#include "common/DialogDriver.h"
#include "common/LoopDrive.h"
#include "refresh/dialogs/RefreshOffer.h"
#include "window/WindowFixture.h"

namespace fs = std::filesystem;

class RefreshDialogTest : public WindowFixture {
    Q_OBJECT

    std::string media_;

    QString Media(const std::string& name = {}) { return QString::fromStdString(media_ + name); }
    void Make(const std::string& name, const std::string& contents) { folder_->Write("media/" + name, contents); }
    QDialog* Dialog() { return Find<QDialog>("frmRefresh"); }
    void WaitForTools() { QTRY_VERIFY_WITH_TIMEOUT(!ToolRunning(window_.get()) && !window_->Busy(), 60000); }
    QString Totals() { return In<QLabel>(Dialog(), "lblRefreshTotals")->text(); }
    QAbstractItemModel* Plan() { return In<QTreeView>(Dialog(), "tvwRefreshPlan")->model(); }
    QModelIndex Group(int group) { return Plan()->index(group, 0); }
    void Tick(const QModelIndex& index, bool ticked) { QVERIFY(Plan()->setData(index, ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole)); }
    void MakePlan(const QString& pattern = {}) {
        Find<QAction>("mnuRefresh")->trigger();
        In<QLineEdit>(Dialog(), "txtRefreshFolder")->setText(Media());
        In<QLineEdit>(Dialog(), "txtRefreshPattern")->setText(pattern);
        Press(Dialog(), "cmdMakePlan");
        WaitForTools();
    }
    std::unique_ptr<Catalogue> Stored() { return Opened(folder_->Path("c.rvd")); }
    int FileID(const std::string& name) {
        const std::unique_ptr<Catalogue> stored = Stored();
        return stored->Files.GotoFileName(media_ + name) ? stored->Files.Current()->FileID : -1;
    }

private Q_SLOTS:
    void init() {
        SetUp();
        media_ = folder_->Path("media/");
        fs::create_directories(media_);
    }
    void cleanup() { TearDown(); }

    void thePlanShowsEveryKindAndApplyCarriesOutOnlyTheTickedRows() {
        for (const char* name : {"a", "b", "c", "d", "e"}) Make(name + std::string(".avi"), name);
        StartWith({QString::fromStdString(MakeCatalogue("c.rvd"))});
        Find<QAction>("mnuAutoCalculateCRC")->trigger();  // the contents known, a moved file is found by them
        Find<QAction>("mnuLoadDirectory")->trigger();
        In<QLineEdit>(Find<QDialog>("frmLoadDirectory"), "txtDirectory")->setText(Media());
        In<QLineEdit>(Find<QDialog>("frmLoadDirectory"), "txtWildCard")->setText(QStringLiteral("*.avi"));
        Press(Find<QDialog>("frmLoadDirectory"), "cmdLoadDirectory");
        WaitForTools();
        const int renamed = FileID("a.avi");
        fs::rename(media_ + "a.avi", media_ + "a2.avi");
        Make("b.avi", "an edit");
        fs::remove(media_ + "c.avi");
        fs::remove(media_ + "e.avi");
        Make("n.avi", "new");

        MakePlan();
        QCOMPARE(Totals(), QStringLiteral("1 new, 1 moved, 1 changed, 2 missing, 1 unchanged"));
        QStringList groups;
        for (int group = 0; group < Plan()->rowCount(); ++group) groups << Group(group).data().toString();
        QCOMPARE(groups, (QStringList{"New (1)", "Moved (1)", "Changed (1)", "Missing (2)", "Unchanged (1)"}));
        QCOMPARE(Plan()->index(0, 0, Group(1)).data().toString(), Media("a.avi"));
        QCOMPARE(Plan()->index(0, 1, Group(1)).data().toString(), Media("a2.avi"));
        QVERIFY(!Group(4).data(Qt::CheckStateRole).isValid());  // unchanged: there to be known
        QCOMPARE(FileID("a.avi"), renamed);                     // nothing written before Apply
        QCOMPARE(Unnamed(Dialog()), QStringList());

        Tick(Group(3), false);
        QVERIFY(In<QPushButton>(Dialog(), "cmdApplyRefresh")->isEnabled());  // other groups stay ticked
        Tick(Group(3), true);
        Tick(Plan()->index(1, 0, Group(3)), false);  // e.avi's record stays
        QCOMPARE(Group(3).data(Qt::CheckStateRole).toInt(), int(Qt::PartiallyChecked));
        Press(Dialog(), "cmdApplyRefresh");
        WaitForTools();
        QCOMPARE(window_->StatusText(), QStringLiteral("4 of 4 ticked row(s) applied"));
        QCOMPARE(prompts_.Shown.last(), QString::fromStdString(folder_->Path("config/reelvault/refresh.log")));
        QCOMPARE(FileID("a2.avi"), renamed);
        QCOMPARE(FileID("a.avi"), -1);
        QCOMPARE(FileID("c.avi"), -1);
        QVERIFY(FileID("e.avi") >= 0);
        QVERIFY(FileID("n.avi") >= 0);
        QCOMPARE(Stored()->Files.Records().size(), std::size_t{3 + 5});
        QCOMPARE(RowNamed(Media("a2.avi")) >= 0, true);  // the window's list was reloaded
    }

    void aCancelMidApplyKeepsWhatWasAppliedAndSaysHowFar() {
        for (int i = 0; i < 4000; ++i) Make(std::to_string(i) + ".avi", std::to_string(i));
        StartWith({QString::fromStdString(MakeCatalogue("c.rvd"))});
        MakePlan(QStringLiteral("*.avi"));
        QCOMPARE(Totals(), QStringLiteral("4000 new"));
        Press(Dialog(), "cmdApplyRefresh");
        auto* progress = Dialog()->findChild<frmToolProgress*>();
        QTRY_VERIFY(progress->findChild<QProgressBar*>(QStringLiteral("prgTool"))->value() > 0);
        Press(progress, "cmdToolCancel");
        WaitForTools();
        const int kept = static_cast<int>(Stored()->Files.Records().size()) - 3;
        QVERIFY2(kept > 0 && kept < 4000, qPrintable(QString::number(kept)));
        QCOMPARE(window_->StatusText(), QStringLiteral("Cancelled: %1 of 4000 ticked row(s) applied").arg(kept));
        QVERIFY(QString::fromStdString(folder_->Read("config/reelvault/refresh.log")).contains(QStringLiteral("Cancelled after")));
    }

    void aDrivePluggedInIsOfferedForRefresh() {
        LoopDrive films(folder_->Path("films.img"), "4d0f6a1e-2601-4a2b-9c3d-5e6f7a8b9c0d", "FILMS-2");
        const std::string place = folder_->Path("mnt/FILMS-2");
        if (!films.Mount(place)) QSKIP(films.Skip().c_str());
        {
            const std::string path = MakeCatalogue("c.rvd");
            std::ofstream(place + "/a.avi") << "a";
            InsertFile(*Opened(path), {-1, place + "/a.avi", "a", 1, 1, "", 1, 0, "", 0, {}});
            StartWith({QString::fromStdString(path)});
        }
        const auto offer = [this] { return Find<RefreshOffer>("fraRefreshOffer")->Text(); };
        QCOMPARE(offer(), QString());  // plugged in already when the catalogue was opened
        films.Unmount();
        QTRY_VERIFY(!state_->catalogue.Drives.ByName("FILMS-2")->Plugged());
        QVERIFY(films.Mount(place));
        QTRY_COMPARE(offer(), QStringLiteral("FILMS-2 is plugged in: Refresh..."));
        Click("cmdRefreshOffer");
        WaitForTools();
        QVERIFY(Dialog()->isVisible());
        QCOMPARE(In<QComboBox>(Dialog(), "cboRefreshDrive")->currentText(), QStringLiteral("FILMS-2"));
        QCOMPARE(Totals(), QStringLiteral("1 unchanged"));
        QCOMPARE(offer(), QString());
    }
};

// The window watches the mount table from its first test on: the table of the test's own must be
// the one it watches.
int main(int argc, char** argv) {
    LoopDrive::OwnMountTable();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RefreshDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RefreshDialogTest.moc"
