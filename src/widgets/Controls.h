// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the named controls the tabs are built of: each gets the name the rest of the program (and
// the tests) find it by.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <functional>

template <class Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromUtf8(name));
    return control;
}

inline QLineEdit* MakeLineEdit(const char* name, int maxLength = 32767) {
    auto* edit = Named(new QLineEdit, name);
    edit->setMaxLength(maxLength);
    return edit;
}

inline QPushButton* MakeButton(const char* name, const char* caption) {
    return Named(new QPushButton(QString::fromUtf8(caption)), name);
}

inline QComboBox* MakeCombo(const char* name) { return Named(new QComboBox, name); }

inline QListWidget* MakeList(const char* name) { return Named(new QListWidget, name); }

inline QGroupBox* MakeFrame(const char* name, const char* caption) {
    return Named(new QGroupBox(QString::fromUtf8(caption)), name);
}

// A label for a field; a click on it, or its Alt key, goes to the field.
inline QLabel* MakeLabel(const char* text, QWidget* field) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(field);
    return label;
}

// Refills a drop-down box with an empty entry and the names. With keepPosition the entry that was
// chosen stays chosen by its position, while there still is one there; otherwise none is chosen.
void FillNameCombo(QComboBox* box, const QStringList& names, bool keepPosition);
// Chooses the last entry whose text is exactly text; none when no entry has it.
void ChooseLastEqual(QComboBox* box, const QString& text);

// How a list editor takes what was typed: Normalise turns the text into the entry (unchanged when
// not given), an empty entry is never added, and with Unique an entry already listed is not listed
// again.
struct ListEditorRules {
    std::function<QString(const QString&)> Normalise;
    bool Unique = false;
};

// "1 file uses this category; delete it?", "3 files use this category; delete it?".
QString UsersQuestion(int files, const QString& what);

// A frame holding a text box with an Add button, and below it a list with a Delete button: how a
// record's keywords and a type's extensions are edited. Add, or Enter in the text box, appends its
// text to the list by the rules, then empties the box for the next; Delete, or the
// Delete key in the list, removes the chosen entry. Screen readers call the text box and the list
// by the frame's caption, and the buttons "Add ..." and "Delete ..." with the item's name.
struct ListEditor {
    QGroupBox* Frame;
    QLineEdit* Edit;
    QPushButton* Add;
    QListWidget* List;
    QPushButton* Remove;
};
ListEditor MakeListEditor(const char* frame, const char* caption, const char* item, const char* edit, const char* add,
                          const char* list, const char* remove, const ListEditorRules& rules = {});
