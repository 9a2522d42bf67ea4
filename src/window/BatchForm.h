// SPDX-License-Identifier: GPL-3.0-or-later
// The Add/Edit tab's form while several rows of the list are chosen: one category, type or rating
// for all of them, keywords added to or removed from all of them, and Delete for all of them. Each
// change is asked about with the count and written in one transaction; records another program
// deleted meanwhile are named, the rest saved.
#pragma once

#include <QWidget>

#include <vector>

#include "batch/BatchEdit.h"
#include "model/Catalogue.h"

class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class BatchForm : public QWidget {
    Q_OBJECT

public:
    // Asks and tells the person through prompts.
    BatchForm(Catalogue& catalogue, Prompts& prompts, QWidget* parent = nullptr);

    // Off while no catalogue that takes writes is open: every control is then disabled.
    void EnableSaving(bool on);
    // The drop-down boxes: "(unchanged)", "(none)", then the names; "(unchanged)" chosen.
    void ShowCategoryNames(const QStringList& names);
    void ShowFileTypeNames(const QStringList& names);
    // The records the form changes: the chosen rows' file IDs.
    void Choose(std::vector<int> fileIDs);
    // Writes what the form says to every chosen record, once the person said yes to the count.
    void Save();

Q_SIGNALS:
    void Busy(bool on);                  // the catalogue is written on a worker meanwhile
    void RecordsRewritten();             // changed in the catalogue and in the set alike
    void DeleteWanted();                 // the list deletes its chosen rows, asking with the count
    void CatalogueChanged();             // the sets no longer match the catalogue
    void StatusChanged(const QString& text);

private:
    QComboBox* MakeChoice(const char* name);
    static void FillChoice(QComboBox* box, const QStringList& names);
    bool ReadChange(BatchChange& change);
    void Saved(const BatchOutcome& outcome, const BatchChange& change);

    Catalogue& catalogue_;
    Prompts& prompts_;
    std::vector<int> chosen_;
    bool savingEnabled_ = false;
    QLabel* lblBatchCount;
    QComboBox* cboBatchCategory;
    QComboBox* cboBatchType;
    QLineEdit* txtBatchRating;
    QLineEdit* txtBatchAddKeywords;
    QLineEdit* txtBatchRemoveKeywords;
    QPushButton* cmdBatchSave;
    QPushButton* cmdBatchDelete;
};
