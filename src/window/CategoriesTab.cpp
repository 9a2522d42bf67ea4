// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/CategoriesTab.h"

#include <QGridLayout>

#include "window/Controls.h"

CategoriesTab::CategoriesTab(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    lstCategoryCategory = MakeList("lstCategoryCategory");
    txtCategoryCategory = MakeLineEdit("txtCategoryCategory");
    cmdCategorySave = MakeButton("cmdCategorySave", "Add");
    cmdCategorySave->setEnabled(false);
    grid->addWidget(lstCategoryCategory, 0, 0, 3, 1);
    grid->addWidget(MakeButton("cmdCategoryDelete", "Delete"), 0, 1);
    grid->addWidget(MakeLabel("New category", txtCategoryCategory), 3, 0);
    grid->addWidget(txtCategoryCategory, 4, 0);
    grid->addWidget(cmdCategorySave, 4, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
}

void CategoriesTab::ShowCategories(const QStringList& names) {
    lstCategoryCategory->clear();
    lstCategoryCategory->addItems(names);
}

void CategoriesTab::EnableSaving() { cmdCategorySave->setEnabled(true); }
