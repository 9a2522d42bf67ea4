// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/FormAndList.h"

#include <QHBoxLayout>

FormAndList::FormAndList(QWidget* tabs, int formHeight, QWidget* list, QWidget* parent) : QSplitter(Qt::Vertical, parent) {
    setObjectName(QStringLiteral("splFormList"));
    setAccessibleName(tr("Form and list"));
    auto* form = new QWidget;
    auto* centred = new QHBoxLayout(form);
    centred->setContentsMargins({});
    centred->addStretch();
    centred->addWidget(tabs);
    centred->addStretch();
    tabs->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setChildrenCollapsible(false);
    addWidget(form);
    addWidget(list);
    setStretchFactor(1, 1);  // a taller window gives the list the room
    setSizes({formHeight, 400});
}
