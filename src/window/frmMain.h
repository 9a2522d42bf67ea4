// SPDX-License-Identifier: GPL-3.0-or-later
// The program's window: it opens and creates catalogues, keeps every list and drop-down box in step
// with the catalogue, and holds the four tabs above the results list.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window/AppState.h"
#include "window/SetsLoader.h"

class AddEditTab;
class BatchForm;
class CategoriesTab;
class DriveTools;
class FileListModel;
class FileTypesTab;
class FormAndList;
class ListExport;
class FramePasses;
class OptionsMenu;
class Prompts;
class QTabWidget;
class RecentMenu;
class ResultsList;
class SearchTab;
class StatusBar;
class ToolsMenu;
class WindowKeys;
class WindowMemory;

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // Asks and tells the person through prompts.
    frmMain(AppState& state, Prompts& prompts, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: reads the settings, then opens the catalogue named by the program's arguments (all
    // of them joined by blanks, one pair of enclosing double quotes removed; or a file:// URL), if
    // any. The catalogue is checked and read on the loader's thread: it shows once Busy is over.
    void Start(const QStringList& arguments);

    QString StatusText() const;
    // While a catalogue is checked, the sets load, or a tab's statements run on their worker; and
    // until what the window was asked to do meanwhile (what would replace the sets waits) is done.
    // A close asked for meanwhile waits too.
    bool Busy() const { return busy_ > 0 || !whenIdle_.empty(); }

    // The routines the tabs and tools call after they change the catalogue. The sets are read on
    // the loader's thread; the list shows the same files afresh once they are, then comes then.
    void ReloadCatalogue(std::function<void()> then = {});
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
    // Open Recent, the window's keys, and the list's Delete.
    void ConnectComforts();
    // After a tool has changed the catalogue, or may have: the sets and the list afresh.
    void ToolEnded(const QString& outcome);
    void NewCatalogue();
    void OpenCatalogueFromDialog();
    void OpenCatalogue(const std::string& path);
    void OpenFromCommandLine(const std::string& path);
    // A file refused by the check leaves the open catalogue, and everything on screen, as it was.
    void OpenFailed(const std::string& previous, const std::string& error);
    void AfterOpen(const std::string& status);
    void ForgetCatalogue();
    void ShowTitle();
    // Reloads the sets, then refills every list and drop-down box from them, then comes then.
    // readAlready: the sets the open read beside its check are taken, not read again.
    void ShowCatalogue(std::function<void()> then = {}, bool readAlready = false);
    // Reloads the sets on the loader's thread, the window painted meanwhile; then lists the files
    // with these IDs, and then comes then.
    void LoadSets(std::vector<int> thenShow, std::function<void()> then, bool readAlready = false);
    void TakeSets(bool loaded);
    // Makes the frames the catalogue lacks, in the background; a pass still running is stopped
    // first and the new one starts when it has.
    // Checks the file on the loader's thread and opens it when it passed; then gets "" or why not.
    void CheckThen(const std::string& path, std::function<void(const std::string& error)> then);
    void ShowPreview();
    void DiscardOpened();
    // The records changed in place: the list shows the same files afresh, at the same place.
    // Busy work nests. The window takes no orders meanwhile: at once, or for work that is usually
    // over in a blink, only once it has lasted long enough to be seen.
    void SetBusy(bool busy, bool greyAtOnce);
    void Grey(bool grey);
    // Runs work now, or when the window is no longer busy, in the order asked.
    void WhenIdle(std::function<void()> work);
    void RunIdleWork();
    // Closes the window once nothing uses the catalogue any more, if it was closed meanwhile.
    void CloseIfAsked();
    void SetStatus(const std::string& text);
    void ShowError(const std::string& message);

    AppState& state_;
    Prompts& prompts_;
    int busy_ = 0;  // work under way that uses the catalogue or replaces the sets
    QTimer greyLater_;
    QPointer<QWidget> focusBeforeGrey_;
    std::deque<std::function<void()>> whenIdle_;
    std::function<void()> onLoaderFinished_;
    std::optional<std::vector<int>> shownBeforePreview_;  // the rows to show again if the catalogue previewed is not opened
    std::vector<int> showAfterLoad_;
    std::function<void()> afterLoad_;
    QTabWidget* tabTab_;
    FormAndList* split_;
    RecentMenu* recent_;
    WindowMemory* memory_;
    WindowKeys* keys_;
    AddEditTab* addEdit_;
    BatchForm* batch_;
    SearchTab* search_;
    CategoriesTab* categories_;
    FileTypesTab* fileTypes_;
    ResultsList* lstFile_;
    FileListModel* model_;
    StatusBar* status_;
    OptionsMenu* options_;
    ToolsMenu* tools_;
    DriveTools* drives_;
    FramePasses* frames_;
    bool closeWhenIdle_ = false;  // the window was closed while a tool ran or the window was busy
    SetsLoader loader_;
};
