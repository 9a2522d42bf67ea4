// SPDX-License-Identifier: GPL-3.0-or-later
// The Options menu, and the settings file behind it: whether a file's CRC is calculated when it is
// chosen, the desktop's association of catalogue files with the program, and the folder last used.
#pragma once

#include <QMenu>

#include <string>

#include "window/AppState.h"

class Prompts;

class OptionsMenu : public QMenu {
    Q_OBJECT

public:
    // Tells the person through prompts what could not be done.
    OptionsMenu(AppState& state, Prompts& prompts, QWidget* parent);

    // Reads the settings file into the state and shows what it says.
    void LoadSettings();
    // The folder of the catalogue at path (a name typed without one still has one), remembered.
    void RememberFolderOf(const std::string& path);
    // The list's columns shown, by header, kept for the next run.
    void RememberColumns(const QStringList& shown);

private:
    void ToggleAutoCalculateCRC(bool on);
    void CreateFileAssociation();
    void Save(const std::string& key, const std::string& value);
    void ShowError(const std::string& message);

    AppState& state_;
    Prompts& prompts_;
    QAction* autoCalculateCRC_;
};
