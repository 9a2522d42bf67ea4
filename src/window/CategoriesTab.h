// SPDX-License-Identifier: GPL-3.0-or-later
// The Categories tab: the catalogue's categories, and adding and deleting them.
#pragma once

#include <QWidget>

#include "model/Catalogue.h"

class Prompts;
class QLineEdit;
class QListWidget;
class QPushButton;

class CategoriesTab : public QWidget {
    Q_OBJECT

public:
    CategoriesTab(Catalogue& catalogue, Prompts& prompts, QWidget* parent = nullptr);

    void ShowCategories(const QStringList& names);
    // Adding and deleting stay disabled until a catalogue that takes writes is open.
    void EnableSaving(bool on);

Q_SIGNALS:
    void CategoryAdded();    // the category set holds it already; the lists do not
    void CategoryDeleted();  // gone from the catalogue and from its files; the sets are out of date
    void StatusChanged(const QString& text);

private:
    void Add();
    void Delete();

    Catalogue& catalogue_;
    Prompts& prompts_;
    QListWidget* lstCategoryCategory;
    QLineEdit* txtCategoryCategory;
    QPushButton* cmdCategorySave;
    QPushButton* cmdCategoryDelete;
};
