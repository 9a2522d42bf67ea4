// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Controls.h"

#include <QGridLayout>
#include <QShortcut>

void FillNameCombo(QComboBox* box, const QStringList& names, bool keepPosition) {
    const int chosen = box->currentIndex();
    box->clear();
    box->addItem(QString());
    box->addItems(names);
    box->setCurrentIndex(keepPosition && chosen < box->count() ? chosen : -1);
}

void ChooseLastEqual(QComboBox* box, const QString& text) {
    int chosen = -1;
    for (int entry = 0; entry < box->count(); ++entry) {
        if (box->itemText(entry) == text) chosen = entry;
    }
    box->setCurrentIndex(chosen);
}

QString UsersQuestion(int files, const QString& what) {
    if (files == 1) return QObject::tr("1 file uses this %1; delete it?").arg(what);
    return QObject::tr("%1 files use this %2; delete it?").arg(files).arg(what);
}

ListEditor MakeListEditor(const char* frame, const char* caption, const char* item, const char* edit, const char* add,
                          const char* list, const char* remove, const ListEditorRules& rules) {
    const ListEditor editor{MakeFrame(frame, caption), MakeLineEdit(edit), MakeButton(add, "Add"), MakeList(list),
                            MakeButton(remove, "Delete")};
    const QString itemName = QString::fromUtf8(item);
    editor.Edit->setAccessibleName(QObject::tr("New %1").arg(itemName));
    editor.List->setAccessibleName(QString::fromUtf8(caption));
    editor.Add->setAccessibleName(QObject::tr("Add %1").arg(itemName));
    editor.Remove->setAccessibleName(QObject::tr("Delete %1").arg(itemName));
    auto* grid = new QGridLayout(editor.Frame);
    grid->addWidget(editor.Edit, 0, 0);
    grid->addWidget(editor.Add, 0, 1);
    grid->addWidget(editor.List, 1, 0, 2, 1);
    grid->addWidget(editor.Remove, 1, 1);
    grid->setRowStretch(2, 1);

    const auto append = [editor, rules] {
        const QString entry = rules.Normalise ? rules.Normalise(editor.Edit->text()) : editor.Edit->text();
        if (!entry.isEmpty() && !(rules.Unique && !editor.List->findItems(entry, Qt::MatchExactly).isEmpty()))
            editor.List->addItem(entry);
        editor.Edit->clear();
        editor.Edit->setFocus();
    };
    QObject::connect(editor.Add, &QPushButton::clicked, editor.Frame, append);
    QObject::connect(editor.Edit, &QLineEdit::returnPressed, editor.Frame, append);
    const auto takeOut = [editor] {
        const QList<QListWidgetItem*> chosen = editor.List->selectedItems();
        if (!chosen.isEmpty()) delete chosen.first();
    };
    QObject::connect(editor.Remove, &QPushButton::clicked, editor.Frame, takeOut);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, editor.List, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(deleteKey, &QShortcut::activated, editor.Frame, takeOut);
    return editor;
}
