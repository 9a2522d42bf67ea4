// SPDX-License-Identifier: GPL-3.0-or-later
// The File Types tab: the catalogue's file types, and an editor for one type's description,
// external application and extensions.
#pragma once

#include <QWidget>

#include <utility>
#include <vector>

#include "model/Catalogue.h"

class Prompts;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class FileTypesTab : public QWidget {
    Q_OBJECT

public:
    FileTypesTab(Catalogue& catalogue, Prompts& prompts, QWidget* parent = nullptr);

    // Each entry shows a description and stands for the type with that ID, so that two types of
    // the same description are still told apart.
    void ShowFileTypes(const std::vector<std::pair<int, QString>>& types);
    // Saving and deleting stay disabled until a catalogue that takes writes is open.
    void EnableSaving(bool on);

Q_SIGNALS:
    void FileTypeSaved();    // in the catalogue; the sets are out of date
    // Gone from the catalogue and from the type set, and the records in the file set have no
    // type where they had it; the lists and the rows do not show it yet.
    void FileTypeDeleted();
    void StatusChanged(const QString& text);
    // While a deletion runs on its worker the catalogue and the sets must not change otherwise.
    void Busy(bool busy);

private:
    QWidget* MakeEditor();
    void ShowInEditor(const QListWidgetItem* entry);
    void Browse();
    void Clear();
    void Save();
    bool Refused(const QString& description);
    void Delete();
    void TakeDeletion(Catalogue& worked, int id);

    Catalogue& catalogue_;
    Prompts& prompts_;
    QListWidget* lstFileFileType;
    QLineEdit* txtFileFileTypeID;  // hidden: the type being edited, "" for a new one
    QLineEdit* txtFileDescription;
    QLineEdit* txtFileExternalApp;
    QListWidget* lstFileFileExtension;
    QLineEdit* txtFileFileExtension;
    QPushButton* cmdFileSave;
    QPushButton* cmdFileFileTypeDelete;
};
