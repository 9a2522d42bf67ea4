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

// A frame holding a text box with an Add button, and below it a list with a Delete button: how a
// record's keywords and a type's extensions are edited.
struct ListEditor {
    QGroupBox* Frame;
    QLineEdit* Edit;
    QListWidget* List;
};
ListEditor MakeListEditor(const char* frame, const char* caption, const char* edit, const char* add, const char* list,
                          const char* remove);
