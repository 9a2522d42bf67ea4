// SPDX-License-Identifier: GPL-3.0-or-later
// What the window's tests share: a fresh folder and settings per test, a window over its own
// state, controls found by name, and a small catalogue to start with.
#pragma once

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>
#include <string>

#include "common/TempFolder.h"
#include "model/modCatalogue.h"
#include "store/modSchema.h"
#include "widgets/Prompts.h"
#include "window/frmMain.h"

// Answers the window's questions as a test sets them up, and remembers what it was told.
class ScriptedPrompts : public Prompts {
public:
    QString Path;             // what the file dialogs "choose"
    QString Folder;           // what the folder picker "chooses"
    bool Yes = true;          // the answer to every question
    QStringList Told;         // title and text of every message, in turn
    QStringList Asked;        // every question's text, and every folder picker's title
    QStringList Shown;        // every file shown with the desktop's viewer

    void Tell(QWidget*, const QString& title, const QString& text, bool) override { Told << title << text; }
    bool Confirm(QWidget*, const QString&, const QString& text) override {
        Asked << text;
        return Yes;
    }
    QString ChoosePath(QWidget*, PathFor, const QString&) override { return Path; }
    QString ChooseFolder(QWidget*, const QString& title, const QString&) override {
        Asked << title;
        return Folder;
    }
    std::string ShowFile(const std::string& path) override {
        Shown << QString::fromStdString(path);
        return {};
    }
};

class WindowFixture : public QObject {
protected:
    std::unique_ptr<TempFolder> folder_;
    std::unique_ptr<ScopedEnv> config_;
    std::unique_ptr<ScopedEnv> data_;  // the desktop's recent files, among others: never the real ones
    std::unique_ptr<AppState> state_;
    ScriptedPrompts prompts_;
    std::unique_ptr<frmMain> window_;

    void SetUp() {
        folder_ = std::make_unique<TempFolder>();
        config_ = std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", folder_->Path("config"));
        data_ = std::make_unique<ScopedEnv>("XDG_DATA_HOME", folder_->Path("data"));
        state_ = std::make_unique<AppState>();
        prompts_ = {};
        window_ = std::make_unique<frmMain>(*state_, prompts_);
    }
    void TearDown() {
        window_.reset();
        state_.reset();
        data_.reset();
        config_.reset();
        folder_.reset();
    }

    template <class T>
    T* Find(const char* name) {
        T* found = window_->findChild<T*>(QString::fromUtf8(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    QStringList Items(const char* comboName) {
        QStringList items;
        auto* box = Find<QComboBox>(comboName);
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        return items;
    }
    QLineEdit* Field(const char* name) { return Find<QLineEdit>(name); }
    // The window checks and loads catalogues, and runs searches and deletions, on workers: what a
    // test looks at next is there once the window is no longer busy.
    void WaitIdle() { QTRY_VERIFY_WITH_TIMEOUT(!window_->Busy(), 60000); }
    void Click(const char* button) {
        QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
        WaitIdle();
    }
    void Trigger(const char* action) {
        Find<QAction>(action)->trigger();
        WaitIdle();
    }
    void Choose(const char* box, const QString& entry) {
        auto* combo = Find<QComboBox>(box);
        combo->setCurrentIndex(combo->findText(entry));
    }
    void ClickHeader(int column) {
        QHeaderView* header = List()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(column) + 5, 5));
    }
    QTableView* List() { return Find<QTableView>("lstFile"); }
    QString Cell(int row, int column) { return List()->model()->index(row, column).data().toString(); }
    // The File Name cell of the selected row; "" when none is selected.
    QString SelectedFile() {
        const QModelIndexList rows = List()->selectionModel()->selectedRows(0);
        return rows.size() == 1 ? rows.front().data().toString() : QString();
    }
    // The row whose File Name cell is name; -1 when none is.
    int RowNamed(const QString& name) {
        for (int row = 0; row < List()->model()->rowCount(); ++row) {
            if (Cell(row, 0) == name) return row;
        }
        return -1;
    }

    // A catalogue with the category Live, the type Video (avi, played by "player" in the folder) and
    // three files of both, each with the keyword k: /m/b.avi (10 bytes), /m/a.mp3 (100), /m/C.mkv (9).
    std::string MakeCatalogue(const std::string& name) {
        AppState made;
        const std::string path = folder_->Path(name);
        if (!CreateNewDatabase(made.catalogue.Store, path).empty()) qFatal("cannot make %s", path.c_str());
        AddCategory(made.catalogue, "Live");
        SaveFileType(made.catalogue, -1, "Video", folder_->Path("player"), {"avi"});
        const std::pair<const char*, std::int64_t> files[] = {{"/m/b.avi", 10}, {"/m/a.mp3", 100}, {"/m/C.mkv", 9}};
        for (const auto& [file, size] : files) InsertFile(made.catalogue, {-1, file, file + 3, 1, 1, "", size, 0, "", 0, {"k"}});
        return path;
    }
    // The catalogue at path as a second connection reads it, apart from the window's.
    static std::unique_ptr<Catalogue> Opened(const std::string& path) {
        auto second = std::make_unique<Catalogue>();
        if (!OpenCatalogue(second->Store, path).empty() || !second->Reload().empty()) qFatal("cannot read %s", path.c_str());
        return second;
    }
    std::unique_ptr<Catalogue> Stored() { return Opened(state_->catalogue.Store.FileName()); }
    void StartWith(const QStringList& arguments) {
        window_->Start(arguments);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        WaitIdle();
    }
};

// Runs the Qt Test class offscreen unless the environment asks for a real display.
#define RV_WINDOW_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char** argv) {                                                           \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
        QApplication app(argc, argv);                                                           \
        TestClass test;                                                                         \
        return QTest::qExec(&test, argc, argv);                                                 \
    }
