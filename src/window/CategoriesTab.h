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
    void CategoryAdded();  // the category set holds it already; the lists do not
    // Gone from the catalogue, from the category set and from the records in the file set; the
    // lists and the rows do not show it yet.
    void CategoryDeleted();
    void StatusChanged(const QString& text);
    // While a deletion runs on its worker the catalogue and the sets must not change otherwise.
    void Busy(bool busy);

private:
    void Add();
    void Delete();
    void TakeDeletion(Catalogue& worked, int categoryID);

    Catalogue& catalogue_;
    Prompts& prompts_;
    QListWidget* lstCategoryCategory;
    QLineEdit* txtCategoryCategory;
    QPushButton* cmdCategorySave;
    QPushButton* cmdCategoryDelete;
};
