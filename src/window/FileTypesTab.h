// SPDX-License-Identifier: GPL-3.0-or-later
// The File Types tab: the catalogue's file types, and an editor for one type's description,
// external application and extensions.
#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

class FileTypesTab : public QWidget {
    Q_OBJECT

public:
    explicit FileTypesTab(QWidget* parent = nullptr);

    void ShowFileTypes(const QStringList& descriptions);
    // Saving stays disabled until a catalogue is open.
    void EnableSaving();

private:
    QWidget* MakeEditor();

    QListWidget* lstFileFileType;
    QLineEdit* txtFileFileTypeID;  // hidden: the type being edited, "" for a new one
    QLineEdit* txtFileDescription;
    QLineEdit* txtFileExternalApp;
    QListWidget* lstFileFileExtension;
    QLineEdit* txtFileFileExtension;
    QPushButton* cmdFileSave;
};
