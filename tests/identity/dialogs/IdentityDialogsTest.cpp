// SPDX-License-Identifier: GPL-3.0-or-later
// Tools > Duplicates and Tools > Verify Files, driven headless, with their work on worker threads.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "identity/dialogs/frmDuplicates.h"
#include "common/DialogDriver.h"
#include "window/WindowFixture.h"

class IdentityDialogsTest : public WindowFixture {
    Q_OBJECT

    std::unique_ptr<ScopedEnv> data_;
    std::string media_;

    std::string Media(const std::string& name = {}) { return media_ + name; }
    // Starts the window on a catalogue of the files, loaded without CRCs, so nothing is hashed yet.
    void Start(const std::vector<std::pair<std::string, std::string>>& files) {
        std::filesystem::create_directories(Media());
        const std::string path = folder_->Path("c.rvd");
        {
            Catalogue made;
            if (!CreateNewDatabase(made.Store, path).empty() || !made.Reload().empty()) qFatal("cannot make %s", path.c_str());
            for (const auto& [name, contents] : files) {
                folder_->Write("media/" + name, contents);
                InsertFile(made, {-1, Media(name), "", -1, -1, "", static_cast<std::int64_t>(contents.size()), 0, "", 0, {}, -1});
            }
        }
        StartWith({QString::fromStdString(path)});
    }
    QDialog* Dialog(const char* name) { return Find<QDialog>(name); }
    void Press(const char* dialog, const char* button) { ::Press(Dialog(dialog), button); }
    void WaitForTools() { QTRY_VERIFY_WITH_TIMEOUT(!ToolRunning(window_.get()) && !window_->Busy(), 60000); }
    void Verify() {
        Find<QAction>("mnuVerifyFiles")->trigger();
        Press("frmVerify", "cmdVerify");
        WaitForTools();
    }
    QAbstractItemModel* Groups() { return In<QTreeView>(Dialog("frmDuplicates"), "tvwDuplicates")->model(); }
    void Tick(int group, int copy, bool ticked) {
        QAbstractItemModel* model = Groups();
        QVERIFY(model->setData(model->index(copy, 0, model->index(group, 0)), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
    }
    QString Trashed(const std::string& name) { return QString::fromStdString(folder_->Path("data/Trash/files/" + name)); }

private Q_SLOTS:
    void init() {
        SetUp();
        data_ = std::make_unique<ScopedEnv>("XDG_DATA_HOME", folder_->Path("data"));  // the trash the test looks in
        media_ = folder_->Path("media/");
    }
    void cleanup() {
        TearDown();
        data_.reset();
    }

    void duplicatesAreFoundAndTheLastCopyNeverGoesToTheTrash() {
        Start({{"film.mkv", "the same film"}, {"film copy.mkv", "the same film"}, {"alone.mkv", "only one"}});
        Verify();
        QCOMPARE(window_->StatusText(), QStringLiteral("3 first seen"));
        Find<QAction>("mnuDuplicates")->trigger();
        WaitForTools();
        QCOMPARE(In<QLabel>(Dialog("frmDuplicates"), "lblDuplicateTotals")->text(), QStringLiteral("1 group, 13 bytes in extra copies"));
        QCOMPARE(window_->StatusText(), QStringLiteral("1 group, 13 bytes in extra copies"));
        QCOMPARE(Groups()->rowCount(), 1);
        QCOMPARE(Groups()->rowCount(Groups()->index(0, 0)), 2);
        QCOMPARE(Groups()->index(1, 0, Groups()->index(0, 0)).data().toString(), QString::fromStdString(Media("film.mkv")));
        QCOMPARE(Groups()->index(1, 2, Groups()->index(0, 0)).data().toString(), QStringLiteral("yes"));
        QCOMPARE(In<QLabel>(Dialog("frmDuplicates"), "lblSingleTotals")->text(), QStringLiteral("3 records on one drive only, 21 bytes"));
        QCOMPARE(Unnamed(Dialog("frmDuplicates")), QStringList());
        QCOMPARE(Unnamed(Dialog("frmVerify")), QStringList());

        Tick(0, 0, true);
        Tick(0, 1, true);
        Press("frmDuplicates", "cmdMoveToTrash");
        QVERIFY(prompts_.Told.last().startsWith(QStringLiteral("Every copy of these contents is ticked")));
        QVERIFY(prompts_.Asked.isEmpty());
        Tick(0, 0, false);
        Press("frmDuplicates", "cmdMoveToTrash");
        WaitForTools();
        QVERIFY(QFile::exists(Trashed("film.mkv")));
        QVERIFY(!QFile::exists(QString::fromStdString(Media("film.mkv"))));
        QCOMPARE(window_->StatusText(), QStringLiteral("1 file(s) moved to the trash"));
        QCOMPARE(Stored()->Files.Count(), 2);
        QCOMPARE(Groups()->rowCount(), 0);  // found anew
        QVERIFY(Dialog("frmDuplicates")->isVisible());
    }

    void verifyOffersToTakeEditsAndWarnsOfDamage() {
        Start({{"edited.mkv", "the first cut"}, {"damaged.mkv", "a good copy"}, {"same.mkv", "unchanged"}});
        Verify();
        folder_->Write("media/edited.mkv", "the director's cut");
        struct stat info {};
        QCOMPARE(stat(Media("damaged.mkv").c_str(), &info), 0);
        folder_->Write("media/damaged.mkv", "a bad  copy");
        const timespec times[2] = {info.st_atim, info.st_mtim};
        QCOMPARE(utimensat(AT_FDCWD, Media("damaged.mkv").c_str(), times, 0), 0);
        prompts_.Yes = false;
        Verify();
        QCOMPARE(window_->StatusText(), QStringLiteral("1 damaged, 1 changed, 1 unchanged"));
        QTRY_COMPARE(prompts_.Asked.size(), 2);
        QVERIFY(prompts_.Asked[0].startsWith(QStringLiteral("1 file(s) were edited")));
        QVERIFY(prompts_.Asked[1].startsWith(QStringLiteral("1 file(s) are damaged")));
        QCOMPARE(Stored()->Files.Records()[1].Size, 13);  // edited.mkv: nothing taken

        prompts_.Yes = true;
        Verify();
        QTRY_COMPARE(window_->StatusText(), QStringLiteral("2 record(s) updated to their files' contents"));
        WaitForTools();
        Verify();
        QCOMPARE(window_->StatusText(), QStringLiteral("3 unchanged"));
        QCOMPARE(Stored()->Files.Records()[1].Size, 18);
    }
};

RV_WINDOW_TEST_MAIN(IdentityDialogsTest)
#include "IdentityDialogsTest.moc"
