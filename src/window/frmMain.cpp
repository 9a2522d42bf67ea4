// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <cstdio>

#include "store/modSchema.h"
#include "support/modUtilities.h"
#include "window/AddEditTab.h"
#include "window/CategoriesTab.h"
#include "window/FileListModel.h"
#include "window/FileTypesTab.h"
#include "window/ListRow.h"
#include "window/SearchTab.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

const char* const kNoCatalogueStatus = "Create a new database or load an existing one before performing any action";
const char* const kCatalogueFilter = "Reelvault Database (*.rvd);;All (*)";

QString AskForNewPath(QWidget* parent, const QString& startFolder) {
    // The name is used as typed, and New refuses an existing file itself.
    return QFileDialog::getSaveFileName(parent, QObject::tr("New catalogue"), startFolder, QString::fromUtf8(kCatalogueFilter),
                                        nullptr, QFileDialog::DontConfirmOverwrite);
}

QString AskForExistingPath(QWidget* parent, const QString& startFolder) {
    return QFileDialog::getOpenFileName(parent, QObject::tr("Open catalogue"), startFolder, QString::fromUtf8(kCatalogueFilter));
}

// All arguments joined by blanks, so an unquoted path with blanks typed in a shell still works;
// then one double quote dropped from each end.
std::string CommandLinePath(const QStringList& arguments) {
    std::string path = arguments.join(QLatin1Char(' ')).toStdString();
    if (path.starts_with('"')) path.erase(0, 1);
    if (path.ends_with('"')) path.pop_back();
    return path;
}

// Both boxes get an empty entry and the names. The add box is left with nothing chosen; the search
// box keeps its choice by position, as long as there is still an entry there.
void FillNameCombos(QComboBox* add, QComboBox* search, const QStringList& names) {
    const int searched = search->currentIndex();
    for (QComboBox* box : {add, search}) {
        box->clear();
        box->addItem(QString());
        box->addItems(names);
    }
    add->setCurrentIndex(-1);
    search->setCurrentIndex(searched < search->count() ? searched : -1);
}

}  // namespace

frmMain::frmMain(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), chooseNew_(AskForNewPath), chooseOpen_(AskForExistingPath) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("Reelvault"));
    BuildMenus();
    setCentralWidget(BuildCentre());
    BuildStatusBar();
    resize(1100, 760);
}

frmMain::~frmMain() = default;

void frmMain::SetPathChoosers(PathChooser forNew, PathChooser forOpen) {
    chooseNew_ = std::move(forNew);
    chooseOpen_ = std::move(forOpen);
}

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

    QMenu* tools = menu("mnuTools", tr("&Tools"));
    for (const auto& [name, text] : {std::pair{"mnuLoadDirectory", tr("Load &Directory")},
                                     {"mnuRemoveMissingFiles", tr("Remove &Missing Files")},
                                     {"mnuDetectFileTypes", tr("Detect File &Types")},
                                     {"mnuDetectMovedFiles", tr("Detect Moved Files")},
                                     {"mnuFileNameFindReplace", tr("File Name &Find/Replace")}}) {
        tools_.append(item(tools, name, text, [] {}));
        tools_.back()->setEnabled(false);
    }

    QMenu* options = menu("mnuOptions", tr("&Options"));
    autoCalculateCRC_ = item(options, "mnuAutoCalculateCRC", tr("Auto Calculate CRC"), [this](bool on) { ToggleAutoCalculateCRC(on); });
    autoCalculateCRC_->setCheckable(true);
    item(options, "mnuCreateFileAssociation", tr("Create File Association"), [] {});
    QMenu* help = menu("mnuHelp", tr("&Help"));
    item(help, "mnuAbout", tr("&About"), [] {});
}

QWidget* frmMain::BuildCentre() {
    tabTab_ = new QTabWidget;
    tabTab_->setObjectName(QStringLiteral("tabTab"));
    addEdit_ = new AddEditTab;
    search_ = new SearchTab;
    categories_ = new CategoriesTab;
    fileTypes_ = new FileTypesTab;
    tabTab_->addTab(addEdit_, tr("Add/Edit"));
    tabTab_->addTab(search_, tr("Search"));
    tabTab_->addTab(categories_, tr("Categories"));
    tabTab_->addTab(fileTypes_, tr("File Types"));
    tabTab_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    tabTab_->setFixedSize(tabTab_->sizeHint().expandedTo(QSize(820, 330)));
    connect(tabTab_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == 0) ClearAddEdit();
    });
    connect(addEdit_->cmdAddClear, &QPushButton::clicked, this, [this] { ClearAddEdit(); });

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

void frmMain::BuildStatusBar() {
    statusBar()->setObjectName(QStringLiteral("barStatus"));
    statusPanel_ = new QLabel(QString::fromUtf8(kNoCatalogueStatus));
    statusPanel_->setObjectName(QStringLiteral("barStatusPanel"));
    statusBar()->addWidget(statusPanel_, 1);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("barProgress"));
    progress_->setMaximumWidth(220);
    progress_->hide();
    statusBar()->addPermanentWidget(progress_);
}

void frmMain::Start(const QStringList& arguments) {
    if (std::string error = LoadSettings(state_.ini, state_.settings); !error.empty()) ShowError(error);
    autoCalculateCRC_->setChecked(state_.settings.AutoCalculateCRC);
    if (const std::string path = CommandLinePath(arguments); !path.empty()) OpenFromCommandLine(path);
}

void frmMain::OpenFromCommandLine(const std::string& path) {
    if (std::string error = OpenCatalogue(state_.catalogue.Store, path); !error.empty()) {
        SetStatus("Could not open " + path + ": " + error);
        return;
    }
    AfterOpen("Loaded database : ");
    EnableTools();
    ShowCatalogue();
}

void frmMain::NewCatalogue() {
    const std::string path = chooseNew_(this, Q(state_.settings.LastDir)).toStdString();
    if (path.empty()) return;
    model_->Clear();
    if (std::string error = CreateNewDatabase(state_.catalogue.Store, path); !error.empty()) {
        RefreshFileList();
        ShowError(error);
        return;
    }
    AfterOpen("Created new database : ");
    ShowCatalogue();
    ClearAddEdit();
    EnableTools();
}

void frmMain::OpenCatalogueFromDialog() {
    const std::string path = chooseOpen_(this, Q(state_.settings.LastDir)).toStdString();
    if (path.empty()) return;
    if (const CatalogueCheck check = IsCatalogue(path); !check) {
        ShowError(check.Reason);  // the open catalogue and everything on screen stay as they were
        return;
    }
    model_->Clear();
    if (std::string error = OpenCatalogue(state_.catalogue.Store, path); !error.empty()) {
        ForgetCatalogue();
        ShowError(error);
        return;
    }
    AfterOpen("Loaded database : ");
    ClearAddEdit();
    EnableTools();
    ShowCatalogue();
}

void frmMain::AfterOpen(const std::string& status) {
    SetStatus(status + state_.catalogue.Store.FileName());
    for (QPushButton* button : {addEdit_->cmdAddSave, categories_->cmdCategorySave, fileTypes_->cmdFileSave})
        button->setEnabled(true);
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
}

void frmMain::ReloadCatalogue() {
    model_->Clear();  // its rows point into the sets that are about to be replaced
    busy_ = true;
    menuBar()->setEnabled(false);
    centralWidget()->setEnabled(false);
    progress_->setValue(0);
    progress_->show();
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    const std::string error = state_.catalogue.Reload([&](std::int64_t done, std::int64_t total) {
        if (sinceRepaint.elapsed() < 50) return;  // the loader calls often; the screen needs 20 a second
        progress_->setMaximum(static_cast<int>(std::max<std::int64_t>(total, 1)));
        progress_->setValue(static_cast<int>(done));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceRepaint.restart();
    });
    progress_->hide();
    centralWidget()->setEnabled(true);
    menuBar()->setEnabled(true);
    busy_ = false;
    if (!error.empty()) ShowError("Could not load the catalogue: " + error);
}

void frmMain::ShowCatalogue() {
    ReloadCatalogue();
    RefreshLists();
    RefreshFileList();
}

void frmMain::RefreshLists() {
    RefreshCategoryList();
    RefreshCategoryCombos();
    RefreshFileTypeList();
    RefreshFileTypeCombos();
    for (QComboBox* box : {search_->cboSearchSize, search_->cboSearchLength, search_->cboSearchRating}) {
        box->clear();
        box->addItems({QString(), QStringLiteral("<"), QStringLiteral("="), QStringLiteral(">")});
    }
}

void frmMain::RefreshCategoryList() {
    categories_->lstCategoryCategory->clear();
    categories_->lstCategoryCategory->addItems(CategoryNames());
}

void frmMain::RefreshCategoryCombos() { FillNameCombos(addEdit_->cboAddCategory, search_->cboSearchCategory, CategoryNames()); }

void frmMain::RefreshFileTypeList() {
    fileTypes_->lstFileFileType->clear();
    fileTypes_->lstFileFileType->addItems(FileTypeNames());
}

void frmMain::RefreshFileTypeCombos() { FillNameCombos(addEdit_->cboAddType, search_->cboSearchType, FileTypeNames()); }

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

void frmMain::EnableTools() {
    for (QAction* tool : tools_) tool->setEnabled(true);
}

void frmMain::ClearAddEdit() {
    addEdit_->ClearAddForm();
    RefreshCategoryCombos();
    RefreshFileTypeCombos();
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

void frmMain::OpenListedFile(int row) {
    const FileRecord* listed = model_->RecordAt(row);
    if (!listed) return;
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
    if (busy_) {  // the load is still using the catalogue
        event->ignore();
        return;
    }
    for (const char* log : {"move.log", "load.log", "delete.log"}) std::remove((AppPath() + log).c_str());
    state_.catalogue.Store.CloseDB();
    event->accept();
}

QString frmMain::StatusText() const { return statusPanel_->text(); }

void frmMain::SetStatus(const std::string& text) { statusPanel_->setText(Q(text)); }

void frmMain::ShowError(const std::string& message) { QMessageBox::warning(this, tr("Error"), Q(message)); }
