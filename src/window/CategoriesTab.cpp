// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/CategoriesTab.h"

#include <QGridLayout>

#include <memory>
#include <utility>

#include "model/modCatalogue.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"
#include "window/CatalogueJob.h"

namespace {

// On the worker: the deletion, and the categories as it leaves them, all or nothing. categoryID
// gets the ID whose files lost it.
std::string DeleteOnWorker(Catalogue& worked, const std::string& name, int& categoryID) {
    clsSQLite::Transaction unit(worked.Store);
    if (!unit.BeginError().empty()) return unit.BeginError();
    if (std::string error = worked.Categories.LoadFromDatabase(worked.Store); !error.empty()) return error;
    if (worked.Categories.GotoCategoryName(name)) categoryID = worked.Categories.CategoryID();
    if (std::string error = DeleteCategory(worked, name).Error; !error.empty()) return error;
    return unit.Commit();
}

}  // namespace

CategoriesTab::CategoriesTab(Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : QWidget(parent), catalogue_(catalogue), prompts_(prompts) {
    auto* grid = new QGridLayout(this);
    lstCategoryCategory = MakeList("lstCategoryCategory");
    lstCategoryCategory->setAccessibleName(tr("Categories"));
    txtCategoryCategory = MakeLineEdit("txtCategoryCategory");
    cmdCategorySave = MakeButton("cmdCategorySave", "Add");
    cmdCategorySave->setEnabled(false);
    cmdCategoryDelete = MakeButton("cmdCategoryDelete", "Delete");
    cmdCategoryDelete->setEnabled(false);
    grid->addWidget(lstCategoryCategory, 0, 0, 3, 1);
    grid->addWidget(cmdCategoryDelete, 0, 1);
    grid->addWidget(MakeLabel("New category", txtCategoryCategory), 3, 0);
    grid->addWidget(txtCategoryCategory, 4, 0);
    grid->addWidget(cmdCategorySave, 4, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    connect(cmdCategorySave, &QPushButton::clicked, this, &CategoriesTab::Add);
    connect(txtCategoryCategory, &QLineEdit::returnPressed, this, [this] {
        if (cmdCategorySave->isEnabled()) Add();
    });
    connect(cmdCategoryDelete, &QPushButton::clicked, this, &CategoriesTab::Delete);
}

void CategoriesTab::ShowCategories(const QStringList& names) {
    lstCategoryCategory->clear();
    lstCategoryCategory->addItems(names);
}

void CategoriesTab::EnableSaving(bool on) {
    cmdCategorySave->setEnabled(on);
    cmdCategoryDelete->setEnabled(on);
}

// A name the catalogue already has is dropped without a word, as the box empties for the next.
void CategoriesTab::Add() {
    if (txtCategoryCategory->text().isEmpty()) return;
    const Outcome added = AddCategory(catalogue_, txtCategoryCategory->text().toStdString());
    if (!added.Error.empty()) {
        Q_EMIT StatusChanged(tr("Could not add the category %1: %2").arg(txtCategoryCategory->text(), QString::fromStdString(added.Error)));
        return;
    }
    if (added.Done) Q_EMIT CategoryAdded();
    txtCategoryCategory->clear();
    txtCategoryCategory->setFocus();
}

// Deleting takes the category from every file that has it, so the person is asked first when any does.
void CategoriesTab::Delete() {
    const QList<QListWidgetItem*> chosen = lstCategoryCategory->selectedItems();
    if (chosen.isEmpty()) return;
    const QString name = chosen.first()->text();
    if (!catalogue_.Categories.GotoCategoryName(name.toStdString())) return;
    const int users = FilesInCategory(catalogue_, catalogue_.Categories.CategoryID());
    if (users > 0 && !prompts_.Confirm(this, tr("Delete category"), UsersQuestion(users, tr("category")))) return;
    Q_EMIT Busy(true);
    auto categoryID = std::make_shared<int>(-1);
    auto* job = new CatalogueJob(
        catalogue_.Store, [name = name.toStdString(), categoryID](Catalogue& worked) { return DeleteOnWorker(worked, name, *categoryID); },
        this);
    connect(job, &CatalogueJob::Finished, this, [this, job, name, categoryID](const QString& error) {
        job->deleteLater();
        if (error.isEmpty()) TakeDeletion(job->Worked(), *categoryID);
        else Q_EMIT StatusChanged(tr("Could not delete the category %1: %2").arg(name, error));
        Q_EMIT Busy(false);
    });
}

// The records change in place: a million of them are not read again for one category.
void CategoriesTab::TakeDeletion(Catalogue& worked, int categoryID) {
    std::swap(catalogue_.Categories, worked.Categories);
    catalogue_.Files.ClearCategoryID(categoryID);
    Q_EMIT CategoryDeleted();
}
