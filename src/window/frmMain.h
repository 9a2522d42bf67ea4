// SPDX-License-Identifier: GPL-3.0-or-later
// The program's window: it opens and creates catalogues, keeps every list and drop-down box in step
// with the catalogue, and holds the four tabs above the results list.
#pragma once

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

#include "window/AppState.h"
#include "window/SetsLoader.h"

class AddEditTab;
class CategoriesTab;
class DriveTools;
class FileListModel;
class FileTypesTab;
class Prompts;
class QAction;
class QTabWidget;
class QTableView;
class SearchTab;
class StatusBar;
class ToolsMenu;

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // Asks and tells the person through prompts.
    frmMain(AppState& state, Prompts& prompts, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: reads the settings, then opens the catalogue named by the program's arguments (all
    // of them joined by blanks, one pair of enclosing double quotes removed; or a file:// URL), if any.
    void Start(const QStringList& arguments);

    QString StatusText() const;

    // The routines the tabs and tools call after they change the catalogue.
    void ReloadCatalogue();
    void RefreshLists();
    void RefreshCategoryList();
    void RefreshCategoryCombos();
    void RefreshFileTypeList();
    void RefreshFileTypeCombos();
    void RefreshFileList();
    void EnableTools();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildCentre();
    void ConnectAddEdit();
    void ConnectOtherTabs();
    void ConnectTools();
    // After a tool has changed the catalogue, or may have: the sets and the list afresh.
    void ToolEnded(const QString& outcome);
    void NewCatalogue();
    void OpenCatalogueFromDialog();
    void OpenFromCommandLine(const std::string& path);
    void AfterOpen(const std::string& status);
    void ForgetCatalogue();
    void ShowTitle();
    // Reloads the sets and refills every list and drop-down box from them.
    void ShowCatalogue();
    // Reloads the sets, keeping the window painted meanwhile, then lists the files with these IDs.
    void LoadSets(const std::vector<int>& thenShow);
    // Reads the sets on the loader's thread, then takes them in.
    std::string ReadSetsAside();
    // OpenCatalogue, with the file's check on the loader's thread.
    std::string OpenChecked(const std::string& path);
    // While busy, the window paints but takes no orders: the sets or the catalogue are being replaced.
    void SetBusy(bool busy);
    // Turns the event loop, showing the loader's progress, until the loader is done.
    void WaitForLoader();
    // Closes the window once nothing uses the catalogue any more, if it was closed meanwhile.
    void CloseIfAsked();
    void ToggleAutoCalculateCRC(bool on);
    void SaveSetting(const std::string& key, const std::string& value);
    QStringList CategoryNames();
    QStringList FileTypeNames();
    void CreateFileAssociation();
    void OpenListedFile(int row);
    void SetStatus(const std::string& text);
    void ShowError(const std::string& message);

    AppState& state_;
    Prompts& prompts_;
    bool busy_ = false;  // a load is under way and lets the window repaint meanwhile
    QTabWidget* tabTab_;
    AddEditTab* addEdit_;
    SearchTab* search_;
    CategoriesTab* categories_;
    FileTypesTab* fileTypes_;
    QTableView* lstFile_;
    FileListModel* model_;
    StatusBar* status_;
    QAction* autoCalculateCRC_;
    ToolsMenu* tools_;
    DriveTools* drives_;
    bool closeWhenIdle_ = false;  // the window was closed while a tool ran or the sets loaded
    SetsLoader loader_;
};
