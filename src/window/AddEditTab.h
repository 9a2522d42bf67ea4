// SPDX-License-Identifier: GPL-3.0-or-later
// The Add/Edit tab: the form of one file record, with buttons that compute its facts from the file,
// its keywords, and a frame onto which a file can be dropped. It writes the catalogue itself and
// tells the window what changed, so that the window can bring its sets and lists up to date.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/MediaFacts.h"
#include "model/Catalogue.h"
#include "model/modCatalogue.h"
#include "support/modSettings.h"

class BatchForm;
class CRCJob;
class QStackedLayout;
class FramePicture;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
struct CRCResult;

class AddEditTab : public QWidget {
    Q_OBJECT

public:
    // Reads the automatic-CRC setting from settings each time a file fills the form.
    AddEditTab(Catalogue& catalogue, const Settings& settings, QWidget* parent = nullptr);

    // Save and Delete stay disabled until a catalogue that takes writes is open; Save also while a
    // CRC is being computed.
    void EnableSaving(bool on);
    // The form shown in place of the record's while several rows are chosen; the tab owns it.
    void AddBatchForm(BatchForm* form);
    // The rows chosen in the list: with two or more the batch form shows, otherwise the record's.
    void ShowChosen(const std::vector<int>& fileIDs);
    // The drop-down boxes: an empty entry, then the names, none chosen.
    void ShowCategoryNames(const QStringList& names);
    void ShowFileTypeNames(const QStringList& names);

    // Empties every field and the keyword list and drops a CRC in flight; the next Save adds a new
    // record. The drop-down boxes keep their entries but none is chosen.
    void ClearAddForm();
    // The Clear button: ClearAddForm, then FormCleared asks for fresh drop-down boxes.
    void Clear();
    // Fills the form from the loaded record with this ID, to edit it; nothing when there is none.
    void ShowFileRecord(int fileID);
    // Puts the path in the form with the type its extension names, then its size, length, FourCC
    // and, when the setting asks for it, its CRC (which goes on after the call returns).
    void FillFormFromPath(const QString& path);
    // Stops a CRC in flight at once; the CRC field keeps what it held before.
    void CancelCRC();
    // Frames were stored for these records: the form's record shows its own when it is among them.
    void FramesArrived(const QList<int>& fileIDs);

Q_SIGNALS:
    void FormCleared();              // the drop-down boxes want their names again
    void FileAdded(int fileID);      // a new record is in the catalogue, not yet in the sets
    void FileRewritten(int fileID);  // the record changed in the catalogue and in the set alike
    void FileDeleted(int fileID);    // gone from the catalogue, not yet from the sets
    void CatalogueChanged();         // the sets no longer match the catalogue
    void StatusChanged(const QString& text);
    void CRCStarted(const QString& path);
    void CRCProgress(std::int64_t done, std::int64_t total);
    void CRCEnded(const QString& outcome);  // "" when there is nothing to tell

private:
    QWidget* MakeFields();
    QWidget* MakeKeywords();
    QWidget* MakeButtons();
    QWidget* MakeMedia();
    void ShowFacts(const MediaFacts* facts, const QString& none);
    NewKey SaveWithFacts(const FileRecord& record, const std::function<NewKey()>& save);
    QPushButton* MakeCalculateButton(const char* name, const char* field, void (AddEditTab::*action)());

    void Save();
    std::optional<FileRecord> RecordFromForm();
    void Insert(const FileRecord& record);
    void Update(const FileRecord& record);
    void Delete();
    void CalculateCRC();
    void CRCFinished(const CRCResult& result);
    void CalculateSize();
    void CalculateLength();
    void CalculateFourCC();
    void OpenFile();
    int EditedFileID() const;  // -1 when adding
    std::string FilePath() const;
    bool FileExists() const;
    void UpdateSaveButton();

    Catalogue& catalogue_;
    const Settings& settings_;
    bool savingEnabled_ = false;
    CRCJob* crc_ = nullptr;  // the computation the form waits for; others still running are orphans
    QLineEdit* txtAddFileName;
    QLineEdit* txtAddCRC;
    QLineEdit* txtAddTitle;
    QLineEdit* txtAddSize;
    QLineEdit* txtAddLength;
    QComboBox* cboAddType;
    QLineEdit* txtAddRating;
    QComboBox* cboAddCategory;
    QLineEdit* txtAddFourCC;
    QLineEdit* txtAddFileID;  // hidden: the record being edited, "" when adding
    QLineEdit* txtAddKeyword;
    QListWidget* lstAddKeywords;
    QPushButton* cmdAddCRCCalculate;
    QPushButton* cmdAddSave;
    QPushButton* cmdAddDelete;
    QPlainTextEdit* txtAddMedia;  // read-only: what the probe found, or what the catalogue keeps
    // The facts the last probe of the form's file found, and the path it probed; a save of that
    // path keeps them with the record. Empty path: nothing probed since the form was filled.
    std::optional<MediaFacts> probedFacts_;
    std::string probedPath_;
    FramePicture* picAddFrame;
    QStackedLayout* pages_;
    QWidget* single_;
    BatchForm* batch_ = nullptr;
};
