// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/Controls.h"

#include <QGridLayout>

ListEditor MakeListEditor(const char* frame, const char* caption, const char* edit, const char* add, const char* list,
                          const char* remove) {
    const ListEditor editor{MakeFrame(frame, caption), MakeLineEdit(edit), MakeList(list)};
    auto* grid = new QGridLayout(editor.Frame);
    grid->addWidget(editor.Edit, 0, 0);
    grid->addWidget(MakeButton(add, "Add"), 0, 1);
    grid->addWidget(editor.List, 1, 0, 2, 1);
    grid->addWidget(MakeButton(remove, "Delete"), 1, 1);
    grid->setRowStretch(2, 1);
    return editor;
}
