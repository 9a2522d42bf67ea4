// SPDX-License-Identifier: GPL-3.0-or-later
// The Categories tab: the catalogue's categories, and adding and deleting them.
#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

class CategoriesTab : public QWidget {
    Q_OBJECT

public:
    explicit CategoriesTab(QWidget* parent = nullptr);

    void ShowCategories(const QStringList& names);
    // Adding stays disabled until a catalogue is open.
    void EnableSaving();

private:
    QListWidget* lstCategoryCategory;
    QLineEdit* txtCategoryCategory;
    QPushButton* cmdCategorySave;
};
