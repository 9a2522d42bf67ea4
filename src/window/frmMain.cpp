// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QProcess>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>

#include "drives/dialogs/DriveNotes.h"
#include "drives/dialogs/DriveTools.h"
#include "store/modSchema.h"
#include "support/dialogs/frmAbout.h"
#include "support/modFileAssociation.h"
#include "support/modUtilities.h"
#include "tools/dialogs/ToolsMenu.h"
#include "window/AddEditTab.h"
#include "window/CategoriesTab.h"
#include "window/FileListModel.h"
#include "window/FileTypesTab.h"
#include "listing/ListRow.h"
#include "widgets/Prompts.h"
#include "window/SearchTab.h"
#include "window/StatusBar.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// How often the window looks whether the sets are read: often enough that a small catalogue
// seems to open at once, seldom enough to cost nothing.
constexpr int kLoadPollMs = 10;

const char* const kNoCatalogueStatus = "Create a new database or load an existing one before performing any action";
// All arguments joined by blanks, so an unquoted path with blanks typed in a shell still works;
// then one double quote dropped from each end, and a local file's URL read as its path.
std::string CommandLinePath(const QStringList& arguments) {
    std::string path = arguments.join(QLatin1Char(' ')).toStdString();
    if (path.starts_with('"')) path.erase(0, 1);
    if (path.ends_with('"')) path.pop_back();
    // Some file managers hand over "file:///home/me/my%20films.rvd" rather than the path.
    if (path.starts_with("file://")) path = QUrl(QString::fromStdString(path)).toLocalFile().toStdString();
    return path;
}

}  // namespace

frmMain::frmMain(AppState& state, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), state_(state), prompts_(prompts) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("Reelvault"));
    BuildMenus();
    status_ = new StatusBar(QString::fromUtf8(kNoCatalogueStatus));
    setStatusBar(status_);
    status_->addPermanentWidget(drives_->Offer());
    setCentralWidget(BuildCentre());
    ConnectAddEdit();
    ConnectOtherTabs();
    ConnectTools();
    resize(1100, 760);
}

frmMain::~frmMain() = default;

void frmMain::BuildMenus() {
    const auto menu = [this](const char* name, const QString& title) {
        QMenu* made = menuBar()->addMenu(title);
        made->setObjectName(QString::fromUtf8(name));
        return made;
    };
    const auto item = [this](QMenu* in, const char* name, const QString& text, auto handler) {
        QAction* action = in->addAction(text);
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu* file = menu("mnuFile", tr("&File"));
    item(file, "mnuNew", tr("&New"), [this] { NewCatalogue(); })->setShortcut(QKeySequence::New);
    item(file, "mnuOpen", tr("&Open"), [this] { OpenCatalogueFromDialog(); })->setShortcut(QKeySequence::Open);
    file->addSeparator();
    item(file, "mnuExit", tr("E&xit"), [] { QCoreApplication::exit(0); })->setShortcut(QKeySequence::Quit);

    tools_ = new ToolsMenu(state_.catalogue, state_.settings, prompts_, this);
    menuBar()->addMenu(tools_);
    drives_ = new DriveTools(state_.catalogue, prompts_, *tools_, this);

    QMenu* options = menu("mnuOptions", tr("&Options"));
    autoCalculateCRC_ = item(options, "mnuAutoCalculateCRC", tr("Auto Calculate CRC"), [this](bool on) { ToggleAutoCalculateCRC(on); });
    autoCalculateCRC_->setCheckable(true);
    item(options, "mnuCreateFileAssociation", tr("Create File Association"), [this] { CreateFileAssociation(); });
    QMenu* help = menu("mnuHelp", tr("&Help"));
    item(help, "mnuAbout", tr("&About"), [this] { frmAbout(prompts_, this).exec(); });
}

QWidget* frmMain::BuildCentre() {
    tabTab_ = new QTabWidget;
    tabTab_->setObjectName(QStringLiteral("tabTab"));
    addEdit_ = new AddEditTab(state_.catalogue, state_.settings);
    search_ = new SearchTab(state_.catalogue);
    categories_ = new CategoriesTab(state_.catalogue, prompts_);
    fileTypes_ = new FileTypesTab(state_.catalogue, prompts_);
    tabTab_->addTab(addEdit_, tr("Add/Edit"));
    tabTab_->addTab(search_, tr("Search"));
    tabTab_->addTab(categories_, tr("Categories"));
    tabTab_->addTab(fileTypes_, tr("File Types"));
    tabTab_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    tabTab_->setFixedSize(tabTab_->sizeHint().expandedTo(QSize(820, 330)));
    connect(tabTab_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == 0) addEdit_->Clear();
    });

    model_ = new FileListModel(state_.catalogue, this);
    lstFile_ = new QTableView;
    lstFile_->setObjectName(QStringLiteral("lstFile"));
    lstFile_->setModel(model_);
    lstFile_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstFile_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFile_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstFile_->setWordWrap(false);
    lstFile_->verticalHeader()->hide();
    lstFile_->verticalHeader()->setDefaultSectionSize(lstFile_->fontMetrics().height() + 6);
    lstFile_->horizontalHeader()->setHighlightSections(false);
    lstFile_->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < kListColumnCount; ++column) {
        const int width = kListColumns[column].Width;  // pixels at 96 dots per inch
        lstFile_->setColumnWidth(column, width * logicalDpiX() / 96 + (column == FileNameColumn ? 240 : 20));
    }
    connect(lstFile_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        model_->SortByHeader(column);
        lstFile_->horizontalHeader()->setSortIndicator(column, model_->Order());
        lstFile_->horizontalHeader()->setSortIndicatorShown(true);
    });
    connect(lstFile_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (const FileRecord* listed = model_->RecordAt(index.row())) addEdit_->ShowFileRecord(listed->FileID);
    });
    connect(lstFile_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { OpenListedFile(index.row()); });

    auto* centre = new QWidget;
    auto* layout = new QVBoxLayout(centre);
    auto* tabs = new QHBoxLayout;
    tabs->addStretch();
    tabs->addWidget(tabTab_);
    tabs->addStretch();
    layout->addLayout(tabs);
    layout->addWidget(lstFile_, 1);
    return centre;
}

// What the tab changed, brought to the sets and the lists; and its CRC's progress to the status bar.
void frmMain::ConnectAddEdit() {
    connect(addEdit_, &AddEditTab::FormCleared, this, [this] {
        RefreshCategoryCombos();
        RefreshFileTypeCombos();
    });
    connect(addEdit_, &AddEditTab::FileAdded, this, [this](int fileID) {
        ShowCatalogue();
        lstFile_->scrollTo(model_->index(model_->RowOf(fileID), 0));
    });
    connect(addEdit_, &AddEditTab::FileRewritten, model_, &FileListModel::RewriteRow);
    connect(addEdit_, &AddEditTab::FileDeleted, this, [this](int fileID) {
        model_->RemoveRow(fileID);
        ReloadCatalogue();
    });
    connect(addEdit_, &AddEditTab::CatalogueChanged, this, &frmMain::ShowCatalogue);
    connect(addEdit_, &AddEditTab::StatusChanged, status_, &StatusBar::SetText);
    connect(addEdit_, &AddEditTab::CRCStarted, this, [this](const QString& path) {
        status_->BeginWork(tr("Calculating CRC for %1").arg(path), [this] { addEdit_->CancelCRC(); });
    });
    connect(addEdit_, &AddEditTab::CRCProgress, status_, &StatusBar::ShowProgress);
    connect(addEdit_, &AddEditTab::CRCEnded, status_, &StatusBar::EndWork);
}

// After a change of the vocabulary, the lists and every row show the catalogue as it now is.
void frmMain::ConnectOtherTabs() {
    connect(search_, &SearchTab::FilesFound, model_, &FileListModel::ShowRecords);
    connect(search_, &SearchTab::AllFilesWanted, this, &frmMain::RefreshFileList);
    connect(categories_, &CategoriesTab::CategoryAdded, this, [this] {
        RefreshCategoryList();
        RefreshCategoryCombos();
    });
    connect(categories_, &CategoriesTab::CategoryDeleted, this, [this] {
        ReloadCatalogue();  // the files' categories changed too
        RefreshCategoryList();
        RefreshCategoryCombos();
    });
    connect(fileTypes_, &FileTypesTab::FileTypeSaved, this, [this] {
        ReloadCatalogue();
        RefreshLists();
    });
    connect(fileTypes_, &FileTypesTab::FileTypeDeleted, this, &frmMain::ShowCatalogue);
    connect(search_, &SearchTab::StatusChanged, status_, &StatusBar::SetText);
    connect(categories_, &CategoriesTab::StatusChanged, status_, &StatusBar::SetText);
    connect(fileTypes_, &FileTypesTab::StatusChanged, status_, &StatusBar::SetText);
}

// A tool runs on its own connection; the window keeps painting and takes no orders until it ends,
// then shows what the tool made of the catalogue.
void frmMain::ConnectTools() {
    connect(tools_, &ToolsMenu::Busy, menuBar(), &QMenuBar::setDisabled);
    connect(tools_, &ToolsMenu::StatusChanged, status_, &StatusBar::SetText);
    connect(tools_, &ToolsMenu::ToolEnded, this, &frmMain::ToolEnded);
    connect(drives_, &DriveTools::DrivesChanged, model_, &FileListModel::ShowDrives);
    connect(drives_, &DriveTools::DrivesChanged, search_, &SearchTab::ShowDrives);
}

void frmMain::ToolEnded(const QString& outcome) {
    ReloadCatalogue();
    RefreshFileList();
    status_->SetText(outcome);
    CloseIfAsked();
}

void frmMain::Start(const QStringList& arguments) {
    if (std::string error = LoadSettings(state_.ini, state_.settings); !error.empty()) ShowError(error);
    autoCalculateCRC_->setChecked(state_.settings.AutoCalculateCRC);
    if (const std::string path = CommandLinePath(arguments); !path.empty()) OpenFromCommandLine(path);
}

void frmMain::OpenFromCommandLine(const std::string& path) {
    if (std::string error = OpenChecked(path); !error.empty()) {
        SetStatus("Could not open " + path + ": " + error);
        return;
    }
    AfterOpen("Loaded database : ");
    EnableTools();
    ShowCatalogue();
}

void frmMain::NewCatalogue() {
    const std::string path = prompts_.ChoosePath(this, Prompts::PathFor::NewCatalogue, Q(state_.settings.LastDir)).toStdString();
    if (path.empty()) return;
    model_->Clear();
    if (std::string error = CreateNewDatabase(state_.catalogue.Store, path); !error.empty()) {
        RefreshFileList();
        ShowError(error);
        return;
    }
    AfterOpen("Created new database : ");
    ShowCatalogue();
    addEdit_->Clear();
    EnableTools();
}

void frmMain::OpenCatalogueFromDialog() {
    const std::string path = prompts_.ChoosePath(this, Prompts::PathFor::Catalogue, Q(state_.settings.LastDir)).toStdString();
    if (path.empty()) return;
    clsSQLite& store = state_.catalogue.Store;
    const std::string previous = store.FileName();
    if (std::string error = OpenChecked(path); !error.empty()) {
        // A file refused by the check leaves the open catalogue, and everything on screen, as it was.
        if (store.FileName() != previous) {
            model_->Clear();
            ForgetCatalogue();
        }
        ShowError(error);
        return;
    }
    AfterOpen("Loaded database : ");
    addEdit_->Clear();
    EnableTools();
    ShowCatalogue();
}

void frmMain::AfterOpen(const std::string& status) {
    SetStatus(status + state_.catalogue.Store.FileName());
    const bool writable = !state_.catalogue.Store.ReadOnly();
    addEdit_->EnableSaving(writable);
    categories_->EnableSaving(writable);
    fileTypes_->EnableSaving(writable);
    ShowTitle();
    // From the absolute path: a name typed without a folder still has one.
    const QString folder = QFileInfo(Q(state_.catalogue.Store.FileName())).absolutePath();
    state_.settings.LastDir = (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')).toStdString();
    SaveSetting("LastDir", state_.settings.LastDir);
}

// The catalogue closed under us (the file went away between the check and the open): show nothing
// rather than the last catalogue's records, which could no longer be written.
void frmMain::ForgetCatalogue() {
    state_.catalogue.Files.Deleteall();
    state_.catalogue.Categories.Deleteall();
    state_.catalogue.FileTypes.Deleteall();
    RefreshLists();
    RefreshFileList();
    SetStatus(kNoCatalogueStatus);
    ShowTitle();
}

// The list goes on showing the same files, read afresh, at the same place; those gone drop out.
void frmMain::ReloadCatalogue() {
    const int scrolled = lstFile_->verticalScrollBar()->value();
    LoadSets(model_->ShownFileIDs());
    lstFile_->doItemsLayout();  // the scroll range, now rather than later
    lstFile_->verticalScrollBar()->setValue(scrolled);
}

void frmMain::LoadSets(const std::vector<int>& thenShow) {
    lstFile_->setUpdatesEnabled(false);  // it shows what it last painted until the sets are back
    model_->Clear();  // its rows point into the sets that are about to be replaced
    SetBusy(true);
    const std::string error = ReadSetsAside();
    status_->HideProgress();
    SetBusy(false);
    model_->ShowFileIDs(thenShow);
    lstFile_->setUpdatesEnabled(true);
    if (!error.empty()) ShowError("Could not load the catalogue: " + error);
    drives_->SetsReloaded();
}

// The old sets are freed first, so that a million records are not held twice meanwhile. With no
// catalogue open the sets keep what they hold, as a reload does then.
std::string frmMain::ReadSetsAside() {
    if (!state_.catalogue.Store.DBOpen()) return {};
    loader_.FreeSets(state_.catalogue);
    loader_.Start(state_.catalogue.Store.FileName());
    WaitForLoader();
    return loader_.TakeInto(state_.catalogue);
}

// Reading every page of a large file takes a while; the catalogue open until then stays open.
std::string frmMain::OpenChecked(const std::string& path) {
    const QString before = status_->Text();
    status_->SetText(tr("Checking %1...").arg(Q(path)));  // a large file takes a second to read through
    SetBusy(true);
    loader_.StartCheck(path);
    WaitForLoader();
    const CatalogueCheck check = loader_.TakeCheck();
    SetBusy(false);
    status_->SetText(before);
    if (!check) return check.Reason;
    return OpenCheckedCatalogue(state_.catalogue.Store, path);
}

void frmMain::SetBusy(bool busy) {
    busy_ = busy;
    menuBar()->setEnabled(!busy);
    centralWidget()->setEnabled(!busy);
    if (!busy && closeWhenIdle_) QMetaObject::invokeMethod(this, &frmMain::CloseIfAsked, Qt::QueuedConnection);
}

// The poll's timer wakes the loop while nothing else happens. Not a QEventLoop of its own: once
// the program was told to quit, that would return at once. What is due turns even when the load
// is over at once, so that a close asked for meanwhile always meets a busy window.
void frmMain::WaitForLoader() {
    QTimer poll;
    poll.start(kLoadPollMs);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    while (!loader_.Finished()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        if (loader_.Total() > 0) status_->ShowProgress(loader_.Done(), loader_.Total());
    }
}

void frmMain::ShowCatalogue() {
    LoadSets({});
    RefreshLists();
    RefreshFileList();
}

void frmMain::RefreshLists() {
    RefreshCategoryList();
    RefreshCategoryCombos();
    RefreshFileTypeList();
    RefreshFileTypeCombos();
    search_->ResetComparisons();
}

void frmMain::RefreshCategoryList() { categories_->ShowCategories(CategoryNames()); }

void frmMain::RefreshCategoryCombos() {
    const QStringList names = CategoryNames();
    addEdit_->ShowCategoryNames(names);
    search_->ShowCategoryNames(names);
}

void frmMain::RefreshFileTypeList() {
    std::vector<std::pair<int, QString>> entries;
    clsFileType& set = state_.catalogue.FileTypes;
    for (bool more = set.MoveFirst(); more; more = set.MoveNext()) entries.emplace_back(set.FileTypeID(), Q(set.FileType()));
    fileTypes_->ShowFileTypes(entries);
}

void frmMain::RefreshFileTypeCombos() {
    const QStringList names = FileTypeNames();
    addEdit_->ShowFileTypeNames(names);
    search_->ShowFileTypeNames(names);
}

QStringList frmMain::CategoryNames() {
    QStringList names;
    clsCategory& set = state_.catalogue.Categories;
    for (bool more = set.MoveFirst(); more; more = set.MoveNext()) names.append(Q(set.Category()));
    return names;
}

QStringList frmMain::FileTypeNames() {
    QStringList names;
    clsFileType& set = state_.catalogue.FileTypes;
    for (bool more = set.MoveFirst(); more; more = set.MoveNext()) names.append(Q(set.FileType()));
    return names;
}

void frmMain::RefreshFileList() { model_->ShowAll(); }

// Every tool writes the catalogue; its drives can still be looked at when it cannot be written.
void frmMain::EnableTools() {
    tools_->EnableTools(!state_.catalogue.Store.ReadOnly());
    drives_->EnableDrives();
}

// A catalogue that cannot be written says so before the person finds out by a refused change.
void frmMain::ShowTitle() {
    const clsSQLite& store = state_.catalogue.Store;
    if (!store.DBOpen()) return setWindowTitle(tr("Reelvault"));
    const QString name = QFileInfo(Q(store.FileName())).fileName();
    setWindowTitle(store.ReadOnly() ? tr("Reelvault - %1 (read-only)").arg(name) : tr("Reelvault - %1").arg(name));
}

void frmMain::ToggleAutoCalculateCRC(bool on) {
    state_.settings.AutoCalculateCRC = on;
    SaveSetting("AutoCalculateCRC", on ? "true" : "false");
}

// A key missing from a hand-edited rv.ini is added back rather than the change silently lost.
void frmMain::SaveSetting(const std::string& key, const std::string& value) {
    if (!state_.ini.ChangeVariable(key, value)) state_.ini.AddVariable(key, value);
    if (std::string error = state_.ini.SaveINI(); !error.empty()) ShowError(error);
}

// For the program as it runs now, so that running it again repairs or moves the association.
void frmMain::CreateFileAssociation() {
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    if (const std::string error = ::CreateFileAssociation(program); !error.empty()) return ShowError(error);
    prompts_.Tell(this, tr("Create File Association"), tr("Reelvault now opens .rvd files"));
}

void frmMain::OpenListedFile(int row) {
    const FileRecord* listed = model_->RecordAt(row);
    if (!listed) return;
    if (const QString away = CannotOpenNote(state_.catalogue, *listed); !away.isEmpty()) return status_->SetText(away);
    const std::string path = listed->FileName;
    clsFile& files = state_.catalogue.Files;
    clsFileType& types = state_.catalogue.FileTypes;
    if (files.GotoFileName(path) && types.GotoFileTypeID(files.TypeID()) && !types.ExternalApp().empty()) {
        if (!QProcess::startDetached(Q(types.ExternalApp()), {Q(path)}))
            SetStatus("Could not start " + types.ExternalApp());
        return;
    }
    if (std::string error = ShellOpen(path); !error.empty()) SetStatus(error);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (tools_->IsRunning()) tools_->Cancel();  // stop it first; what it committed until then stays
    if (busy_ || tools_->IsRunning()) {  // the catalogue is still in use: close when it is not
        closeWhenIdle_ = true;
        event->ignore();
        return;
    }
    for (const char* log : {"move.log", "load.log", "delete.log"}) std::remove((AppPath() + log).c_str());
    state_.catalogue.Store.CloseDB();
    event->accept();
}

void frmMain::CloseIfAsked() {
    if (!closeWhenIdle_ || busy_ || tools_->IsRunning()) return;
    closeWhenIdle_ = false;
    close();
}

QString frmMain::StatusText() const { return status_->Text(); }

void frmMain::SetStatus(const std::string& text) { status_->SetText(Q(text)); }

void frmMain::ShowError(const std::string& message) { prompts_.Tell(this, tr("Error"), Q(message), true); }
