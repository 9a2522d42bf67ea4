// SPDX-License-Identifier: GPL-3.0-or-later
// What the window asks of a person, or tells them, in a dialog box of its own. The program uses
// the desktop's dialogs; tests hand in an object with their own answers instead.
#pragma once

#include <QString>

#include <string>

class QWidget;

class Prompts {
public:
    enum class PathFor {
        NewCatalogue,  // a name to create; an existing file is not asked about here
        Catalogue,     // a catalogue to open
        Application,   // a program that plays files
        Export,        // a web page or CSV file to write; its extension says which
    };

    virtual ~Prompts() = default;

    // A message with an OK button; a warning also shows the exclamation icon.
    virtual void Tell(QWidget* parent, const QString& title, const QString& text, bool warning = false);
    // A question answered Yes or No; No is the default, so Enter alone changes nothing.
    virtual bool Confirm(QWidget* parent, const QString& title, const QString& text);
    // A file chosen for the purpose, starting in folder; "" when the person cancelled.
    virtual QString ChoosePath(QWidget* parent, PathFor purpose, const QString& folder);
    // A folder chosen under the title, starting in start; "" when the person cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& start);
    // Shows a file, such as a tool's log, with the desktop's default program: "" or why it could not.
    virtual std::string ShowFile(const std::string& path);
};
