// SPDX-License-Identifier: GPL-3.0-or-later
// The Options menu, and the settings file behind it: whether a file's CRC is calculated when it is
// chosen, the desktop's association of catalogue files with the program, the folder last used, and
// how the list orders names and shows numbers.
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

Q_SIGNALS:
    // Sent when the person ticks or unticks the item, and once LoadSettings has read it.
    void SortNamesNaturallyChanged(bool on);
    void ShowExactNumbersChanged(bool on);

private:
    QAction* AddSetting(const char* name, const QString& text, bool Settings::*setting, const char* key,
                        void (OptionsMenu::*changed)(bool));
    void ToggleAutoCalculateCRC(bool on);
    void CreateFileAssociation();
    void Save(const std::string& key, const std::string& value);
    void ShowError(const std::string& message);

    AppState& state_;
    Prompts& prompts_;
    QAction* autoCalculateCRC_;
    QAction* sortNamesNaturally_;
    QAction* showExactNumbers_;
};
