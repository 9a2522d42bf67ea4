// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <utility>

#include "drives/dialogs/DriveTools.h"
#include "listing/ListRow.h"
#include "refresh/dialogs/RefreshTools.h"
#include "store/modSchema.h"
#include "support/dialogs/frmAbout.h"
#include "support/modUtilities.h"
#include "tools/dialogs/ToolsMenu.h"
#include "widgets/Prompts.h"
#include "window/AddEditTab.h"
#include "window/BatchForm.h"
#include "window/CategoriesTab.h"
#include "window/CommandLine.h"
#include "window/FileListModel.h"
#include "window/FileTypesTab.h"
#include "window/FormAndList.h"
#include "window/ListExport.h"
#include "window/FramePasses.h"
#include "window/OptionsMenu.h"
#include "window/RecentMenu.h"
#include "window/ResultsList.h"
#include "window/SearchTab.h"
#include "window/SetNames.h"
#include "window/StatusBar.h"
#include "window/WindowKeys.h"
#include "window/WindowMemory.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Work on a worker that lasts longer than this greys the window; shorter, it would only flicker.
constexpr int kGreyAfterMs = 150;

const char* const kNoCatalogueStatus = "Create a new database or load an existing one before performing any action";
}  // namespace

frmMain::frmMain(AppState& state, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), state_(state), prompts_(prompts) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("Reelvault"));
    BuildMenus();
    status_ = new StatusBar(QString::fromUtf8(kNoCatalogueStatus));
    setStatusBar(status_);
    status_->addPermanentWidget(drives_->Offer());
    status_->addPermanentWidget((new RefreshTools(state_.catalogue, state_.settings, prompts_, *tools_, *drives_, this))->Offer());
    setCentralWidget(BuildCentre());
    auto* exporter = new ListExport(state_.catalogue, *model_, prompts_, this);
    exporter->AddTo(menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile")), QStringLiteral("mnuExit"));
    connect(exporter, &ListExport::StatusChanged, status_, &StatusBar::SetText);
    frames_ = new FramePasses(this);
    ConnectAddEdit();
    ConnectOtherTabs();
    ConnectTools();
    ConnectComforts();
    greyLater_.setSingleShot(true);
    greyLater_.setInterval(kGreyAfterMs);
    connect(&greyLater_, &QTimer::timeout, this, [this] { Grey(true); });
    connect(&loader_, &SetsLoader::Progress, status_, &StatusBar::ShowProgress);
    connect(&loader_, &SetsLoader::Finished, this, [this] { std::exchange(onLoaderFinished_, {})(); });
    connect(&loader_, &SetsLoader::PreviewReady, this, &frmMain::ShowPreview);
    resize(1100, 760);
}

frmMain::~frmMain() = default;

void frmMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    const auto item = [this, file](const char* name, const QString& text, QKeySequence::StandardKey key, auto handler) {
        QAction* action = file->addAction(text);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, handler);
    };
    item("mnuNew", tr("&New"), QKeySequence::New, [this] { NewCatalogue(); });
    item("mnuOpen", tr("&Open"), QKeySequence::Open, [this] { OpenCatalogueFromDialog(); });
    recent_ = new RecentMenu(state_.ini, prompts_, this);
    file->addMenu(recent_);
    keys_ = new WindowKeys(this, file);
    file->addSeparator();
    item("mnuExit", tr("E&xit"), QKeySequence::Quit, [] { QCoreApplication::exit(0); });

    tools_ = new ToolsMenu(state_.catalogue, state_.settings, prompts_, this);
    menuBar()->addMenu(tools_);
    drives_ = new DriveTools(state_.catalogue, prompts_, *tools_, this);
    options_ = new OptionsMenu(state_, prompts_, this);
    menuBar()->addMenu(options_);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* about = help->addAction(tr("&About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, [this] { frmAbout(prompts_, this).exec(); });
}

QWidget* frmMain::BuildCentre() {
    tabTab_ = new QTabWidget;
    tabTab_->setObjectName(QStringLiteral("tabTab"));
    addEdit_ = new AddEditTab(state_.catalogue, state_.settings);
    addEdit_->AddBatchForm(batch_ = new BatchForm(state_.catalogue, prompts_));
    search_ = new SearchTab(state_.catalogue);
    categories_ = new CategoriesTab(state_.catalogue, prompts_);
    fileTypes_ = new FileTypesTab(state_.catalogue, prompts_);
    tabTab_->addTab(addEdit_, tr("Add/Edit"));
    tabTab_->addTab(search_, tr("Search"));
    tabTab_->addTab(categories_, tr("Categories"));
    tabTab_->addTab(fileTypes_, tr("File Types"));
    const QSize tabSize = tabTab_->sizeHint().expandedTo(QSize(820, 330));
    tabTab_->setFixedWidth(tabSize.width());
    connect(tabTab_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == 0) addEdit_->Clear();
    });
    model_ = new FileListModel(state_.catalogue, this);
    lstFile_ = new ResultsList(state_.catalogue, model_, prompts_);

    split_ = new FormAndList(tabTab_, tabSize.height(), lstFile_);
    memory_ = new WindowMemory(*this, *tabTab_, *split_, *lstFile_, *model_, state_.ini);
    auto* centre = new QWidget;
    auto* layout = new QVBoxLayout(centre);
    layout->addWidget(split_);
    return centre;
}

// What the tab changed, brought to the sets and the lists; and its CRC's progress to the status bar.
void frmMain::ConnectAddEdit() {
    connect(addEdit_, &AddEditTab::FormCleared, this, [this] {
        RefreshCategoryCombos();
        RefreshFileTypeCombos();
    });
    connect(addEdit_, &AddEditTab::FileAdded, this, [this](int fileID) {
        ShowCatalogue([this, fileID] { lstFile_->scrollTo(model_->index(model_->RowOf(fileID), 0)); });
    });
    connect(addEdit_, &AddEditTab::FileRewritten, model_, &FileListModel::RereadFacts);
    // A path edited to another file wants that file's frame now, not at the next load.
    connect(addEdit_, &AddEditTab::FileRewritten, this, [this] {
        if (!tools_->IsRunning()) frames_->Start(state_.catalogue);
    });
    connect(addEdit_, &AddEditTab::FileDeleted, this, [this](int fileID) {
        model_->RemoveRow(fileID);
        ReloadCatalogue();
    });
    connect(addEdit_, &AddEditTab::CatalogueChanged, this, [this] { ShowCatalogue(); });
    connect(addEdit_, &AddEditTab::StatusChanged, status_, &StatusBar::SetText);
    connect(addEdit_, &AddEditTab::CRCStarted, this, [this](const QString& path) {
        status_->BeginWork(tr("Calculating CRC for %1").arg(path), [this] { addEdit_->CancelCRC(); });
    });
    connect(addEdit_, &AddEditTab::CRCProgress, status_, &StatusBar::ShowProgress);
    connect(addEdit_, &AddEditTab::CRCEnded, status_, &StatusBar::EndWork);
    connect(lstFile_, &ResultsList::FileChosen, addEdit_, &AddEditTab::ShowFileRecord);
    connect(lstFile_, &ResultsList::StatusChanged, status_, &StatusBar::SetText);
    connect(lstFile_, &ResultsList::ColumnsChosen, options_, &OptionsMenu::RememberColumns);
    connect(lstFile_, &ResultsList::ChosenChanged, addEdit_, &AddEditTab::ShowChosen);
    connect(options_, &OptionsMenu::SortNamesNaturallyChanged, model_, &FileListModel::SortNamesNaturally);
    connect(options_, &OptionsMenu::ShowExactNumbersChanged, model_, &FileListModel::ShowExactNumbers);
}

// After a change of the vocabulary, the lists and every row show the catalogue as it now is. The
// tabs change the sets in place for a deletion, which a million records would take seconds to read.
void frmMain::ConnectOtherTabs() {
    connect(search_, &SearchTab::FilesFound, model_, &FileListModel::ShowRecords);
    connect(search_, &SearchTab::AllFilesWanted, this, &frmMain::RefreshFileList);
    connect(categories_, &CategoriesTab::CategoryAdded, this, [this] {
        RefreshCategoryList();
        RefreshCategoryCombos();
    });
    connect(categories_, &CategoriesTab::CategoryDeleted, this, [this] {
        model_->ShowAfresh(CategoryColumn);
        RefreshCategoryList();
        RefreshCategoryCombos();
    });
    connect(fileTypes_, &FileTypesTab::FileTypeSaved, this, [this] { ReloadCatalogue([this] { RefreshLists(); }); });
    connect(fileTypes_, &FileTypesTab::FileTypeDeleted, this, [this] {
        RefreshLists();
        model_->ShowAllAfresh(TypeColumn);
    });
    const auto busy = [this](bool on) { SetBusy(on, false); };
    connect(search_, &SearchTab::Busy, this, busy);
    connect(categories_, &CategoriesTab::Busy, this, busy);
    connect(fileTypes_, &FileTypesTab::Busy, this, busy);
    connect(batch_, &BatchForm::Busy, this, busy);
    connect(batch_, &BatchForm::StatusChanged, status_, &StatusBar::SetText);
    connect(batch_, &BatchForm::RecordsRewritten, model_, &FileListModel::ShowRecordsAfresh);
    connect(batch_, &BatchForm::CatalogueChanged, this, [this] { ReloadCatalogue(); });
    connect(batch_, &BatchForm::DeleteWanted, lstFile_, &ResultsList::DeleteChosen);
    connect(search_, &SearchTab::StatusChanged, status_, &StatusBar::SetText);
    connect(categories_, &CategoriesTab::StatusChanged, status_, &StatusBar::SetText);
    connect(fileTypes_, &FileTypesTab::StatusChanged, status_, &StatusBar::SetText);
}

// A tool runs on its own connection; the window keeps painting and takes no orders until it ends,
// then shows what the tool made of the catalogue.
void frmMain::ConnectTools() {
    connect(tools_, &ToolsMenu::Busy, menuBar(), &QMenuBar::setDisabled);
    // A tool has the machine to itself: the frames' pass stops, and starts again at the reload
    // that ends the tool.
    connect(tools_, &ToolsMenu::Busy, frames_, &FramePasses::Pause);
    connect(frames_, &FramePasses::Arrived, addEdit_, &AddEditTab::FramesArrived);
    connect(frames_, &FramePasses::StatusChanged, status_, &StatusBar::SetText);
    connect(tools_, &ToolsMenu::StatusChanged, status_, &StatusBar::SetText);
    connect(tools_, &ToolsMenu::ToolEnded, this, &frmMain::ToolEnded);
    connect(drives_, &DriveTools::DrivesChanged, model_, &FileListModel::ShowDrives);
    connect(drives_, &DriveTools::DrivesChanged, search_, &SearchTab::ShowDrives);
}

void frmMain::ConnectComforts() {
    connect(recent_, &RecentMenu::OpenWanted, this, [this](const QString& path) { OpenCatalogue(path.toStdString()); });
    connect(keys_, &WindowKeys::FindWanted, this, [this] {
        tabTab_->setCurrentWidget(search_);
        search_->FocusFileName();
    });
    connect(keys_, &WindowKeys::ReloadWanted, this, [this] {
        if (state_.catalogue.Store.DBOpen()) ShowCatalogue();  // files another program added show too
    });
    connect(lstFile_, &ResultsList::FilesDeleted, this, [this](const std::vector<int>& ids) {
        addEdit_->Clear();  // it may show one of them, which a Save would no longer find
        const QString done = ids.size() == 1 ? tr("Deleted 1 record") : tr("Deleted %1 records").arg(ids.size());
        ReloadCatalogue([this, done] { status_->SetText(done); });
    });
}

void frmMain::ToolEnded(const QString& outcome) {
    ReloadCatalogue([this, outcome] {
        RefreshFileList();
        status_->SetText(outcome);
        CloseIfAsked();
    });
}

void frmMain::Start(const QStringList& arguments) {
    options_->LoadSettings();
    recent_->Load();
    memory_->Restore();  // then the columns shown, which the list's own setting says
    lstFile_->ShowColumns(QString::fromStdString(state_.settings.ListColumns).split(QLatin1Char(';'), Qt::SkipEmptyParts));
    if (const std::string path = CommandLinePath(arguments); !path.empty()) OpenFromCommandLine(path);
}

void frmMain::OpenFromCommandLine(const std::string& path) {
    CheckThen(path, [this, path](const std::string& error) {
        if (!error.empty()) return SetStatus("Could not open " + path + ": " + error);
        AfterOpen("Loaded database : ");
        EnableTools();
        ShowCatalogue({}, true);
    });
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
    ShowCatalogue([this] {
        addEdit_->Clear();
        EnableTools();
    });
}

void frmMain::OpenCatalogueFromDialog() {
    const std::string path = prompts_.ChoosePath(this, Prompts::PathFor::Catalogue, Q(state_.settings.LastDir)).toStdString();
    if (!path.empty()) OpenCatalogue(path);
}

void frmMain::OpenCatalogue(const std::string& path) {
    CheckThen(path, [this, previous = state_.catalogue.Store.FileName()](const std::string& error) {
        if (!error.empty()) return OpenFailed(previous, error);
        AfterOpen("Loaded database : ");
        addEdit_->Clear();
        EnableTools();
        ShowCatalogue({}, true);
    });
}

void frmMain::OpenFailed(const std::string& previous, const std::string& error) {
    if (state_.catalogue.Store.FileName() != previous) {
        model_->Clear();
        ForgetCatalogue();
    }
    ShowError(error);
}

void frmMain::AfterOpen(const std::string& status) {
    SetStatus(status + state_.catalogue.Store.FileName());
    const bool writable = !state_.catalogue.Store.ReadOnly();
    addEdit_->EnableSaving(writable);
    categories_->EnableSaving(writable);
    fileTypes_->EnableSaving(writable);
    ShowTitle();
    options_->RememberFolderOf(state_.catalogue.Store.FileName());
    if (const QString error = recent_->Remember(Q(state_.catalogue.Store.FileName())); !error.isEmpty())
        status_->SetText(status_->Text() + tr(" (not in the desktop's recent files: %1)").arg(error));
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
void frmMain::ReloadCatalogue(std::function<void()> then) {
    if (busy_ > 0) return WhenIdle([this, then = std::move(then)] { ReloadCatalogue(then); });
    LoadSets(model_->ShownFileIDs(), [this, scrolled = lstFile_->ScrolledTo(), then = std::move(then)] {
        lstFile_->ScrollBackTo(scrolled);
        if (then) then();
    });
}

void frmMain::ShowCatalogue(std::function<void()> then, bool readAlready) {
    if (busy_ > 0) return WhenIdle([this, then = std::move(then), readAlready] { ShowCatalogue(then, readAlready); });
    LoadSets({}, [this, then = std::move(then)] {
        RefreshLists();
        RefreshFileList();
        if (then) then();
    }, readAlready);
}

// The old sets are freed first, so that a million records are not held twice meanwhile. With no
// catalogue open the sets keep what they hold, as a reload does then.
void frmMain::LoadSets(std::vector<int> thenShow, std::function<void()> then, bool readAlready) {
    lstFile_->setUpdatesEnabled(false);  // it shows what it last painted until the sets are back
    model_->Clear();  // its rows point into the sets that are about to be replaced
    SetBusy(true, true);
    showAfterLoad_ = std::move(thenShow);
    afterLoad_ = std::move(then);
    if (readAlready || !state_.catalogue.Store.DBOpen()) return TakeSets(readAlready);
    loader_.FreeSets(state_.catalogue);
    onLoaderFinished_ = [this] { TakeSets(true); };
    loader_.Start(state_.catalogue.Store.FileName());
}

void frmMain::TakeSets(bool loaded) {
    const std::string error = loaded ? loader_.TakeInto(state_.catalogue) : std::string();
    status_->HideProgress();
    SetBusy(false, true);
    model_->SetFacts(loader_.TakeFacts());
    model_->ShowFileIDs(std::exchange(showAfterLoad_, {}));
    lstFile_->setUpdatesEnabled(true);
    if (!error.empty()) ShowError("Could not load the catalogue: " + error);
    drives_->SetsReloaded();
    if (loaded && error.empty() && !tools_->IsRunning()) frames_->Start(state_.catalogue);
    if (afterLoad_) std::exchange(afterLoad_, {})();
}

// Every page is checked while the sets are read; the catalogue open until then stays open.
void frmMain::CheckThen(const std::string& path, std::function<void(const std::string& error)> then) {
    const QString before = status_->Text();
    status_->SetText(tr("Checking %1...").arg(Q(path)));  // a large file takes a second to read through
    SetBusy(true, true);
    shownBeforePreview_.reset();
    onLoaderFinished_ = [this, path, before, then = std::move(then)] {
        const CatalogueCheck check = loader_.TakeCheck();
        SetBusy(false, true);
        status_->SetText(before);
        const std::string error = check ? OpenCheckedCatalogue(state_.catalogue.Store, path) : check.Reason;
        if (!error.empty()) DiscardOpened();
        then(error);
    };
    loader_.StartOpen(path);
}

// The first rows of a large catalogue while the rest is read; the window stays greyed meanwhile.
void frmMain::ShowPreview() {
    shownBeforePreview_ = model_->ShownFileIDs();
    model_->Clear();
    loader_.ShowPreview(state_.catalogue);
    RefreshFileList();
    status_->SetText(tr("Showing the first rows; sorting, searching and editing wait for the rest..."));
}

void frmMain::DiscardOpened() {
    if (!shownBeforePreview_) return loader_.Discard(state_.catalogue);
    model_->Clear();
    loader_.Discard(state_.catalogue);
    model_->ShowFileIDs(*std::exchange(shownBeforePreview_, std::nullopt));
}

void frmMain::SetBusy(bool busy, bool greyAtOnce) {
    busy_ += busy ? 1 : -1;
    if (busy) return greyAtOnce ? Grey(true) : greyLater_.start();
    if (busy_ > 0) return;
    greyLater_.stop();
    Grey(false);
    QMetaObject::invokeMethod(this, &frmMain::RunIdleWork, Qt::QueuedConnection);
}

// Greying takes the focus away; it goes back where it was, as if nothing had happened.
void frmMain::Grey(bool grey) {
    if (grey && centralWidget()->isEnabled()) focusBeforeGrey_ = QApplication::focusWidget();
    menuBar()->setEnabled(!grey && !tools_->IsRunning());
    centralWidget()->setEnabled(!grey);
    if (!grey && focusBeforeGrey_) std::exchange(focusBeforeGrey_, nullptr)->setFocus();
}

void frmMain::WhenIdle(std::function<void()> work) {
    whenIdle_.push_back(std::move(work));
}

// Each piece may make the window busy again; the rest then waits for that to end.
void frmMain::RunIdleWork() {
    while (busy_ == 0 && !whenIdle_.empty()) {
        const std::function<void()> work = std::move(whenIdle_.front());
        whenIdle_.pop_front();
        work();
    }
    CloseIfAsked();
}

void frmMain::RefreshLists() {
    RefreshCategoryList();
    RefreshCategoryCombos();
    RefreshFileTypeList();
    RefreshFileTypeCombos();
    search_->ResetComparisons();
}

void frmMain::RefreshCategoryList() { categories_->ShowCategories(NamesOf(state_.catalogue.Categories)); }

void frmMain::RefreshCategoryCombos() {
    const QStringList names = NamesOf(state_.catalogue.Categories);
    addEdit_->ShowCategoryNames(names);
    search_->ShowCategoryNames(names);
}

void frmMain::RefreshFileTypeList() { fileTypes_->ShowFileTypes(EntriesOf(state_.catalogue.FileTypes)); }

void frmMain::RefreshFileTypeCombos() {
    const QStringList names = NamesOf(state_.catalogue.FileTypes);
    addEdit_->ShowFileTypeNames(names);
    search_->ShowFileTypeNames(names);
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

void frmMain::closeEvent(QCloseEvent* event) {
    if (tools_->IsRunning()) tools_->Cancel();  // stop it first; what it committed until then stays
    frames_->Stop();  // the frames stored until then stay; the job waits for the one at hand
    if (Busy() || tools_->IsRunning()) {  // the catalogue is still in use: close when it is not
        closeWhenIdle_ = true;
        event->ignore();
        return;
    }
    if (const std::string error = memory_->Save(); !error.empty()) ShowError(error);
    for (const char* log : {"move.log", "load.log", "delete.log"}) std::remove((AppPath() + log).c_str());
    state_.catalogue.Store.CloseDB();
    event->accept();
}

void frmMain::CloseIfAsked() {
    if (!closeWhenIdle_ || Busy() || tools_->IsRunning()) return;
    closeWhenIdle_ = false;
    close();
}

QString frmMain::StatusText() const { return status_->Text(); }

void frmMain::SetStatus(const std::string& text) { status_->SetText(Q(text)); }

void frmMain::ShowError(const std::string& message) { prompts_.Tell(this, tr("Error"), Q(message), true); }
