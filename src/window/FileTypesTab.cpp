// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/FileTypesTab.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>

#include <utility>

#include "model/modCatalogue.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"
#include "window/CatalogueJob.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// What follows the last dot, in lower case: ".MP3" and "movie.part.AVI" are mp3 and avi.
QString ExtensionOf(const QString& typed) { return typed.mid(typed.lastIndexOf(QLatin1Char('.')) + 1).toLower(); }

constexpr int kTypeIDRole = Qt::UserRole;

// On the worker: the deletion, and the types as it leaves them, all or nothing.
std::string DeleteOnWorker(Catalogue& worked, int id) {
    clsSQLite::Transaction unit(worked.Store);
    if (!unit.BeginError().empty()) return unit.BeginError();
    if (std::string error = DeleteFileType(worked, id); !error.empty()) return error;
    if (std::string error = worked.FileTypes.LoadFromDatabase(worked.Store); !error.empty()) return error;
    return unit.Commit();
}

}  // namespace

FileTypesTab::FileTypesTab(Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : QWidget(parent), catalogue_(catalogue), prompts_(prompts) {
    auto* layout = new QHBoxLayout(this);
    auto* types = new QGridLayout;
    lstFileFileType = MakeList("lstFileFileType");
    lstFileFileType->setAccessibleName(tr("File types"));
    cmdFileFileTypeDelete = MakeButton("cmdFileFileTypeDelete", "Delete");
    cmdFileFileTypeDelete->setEnabled(false);
    cmdFileFileTypeDelete->setAccessibleName(tr("Delete file type"));
    types->addWidget(lstFileFileType, 0, 0);
    types->addWidget(cmdFileFileTypeDelete, 1, 0, Qt::AlignLeft);
    layout->addLayout(types, 2);
    layout->addWidget(MakeEditor(), 3);
    connect(lstFileFileType, &QListWidget::itemClicked, this, &FileTypesTab::ShowInEditor);
    connect(lstFileFileType, &QListWidget::currentItemChanged, this, &FileTypesTab::ShowInEditor);
    connect(cmdFileFileTypeDelete, &QPushButton::clicked, this, &FileTypesTab::Delete);
}

QWidget* FileTypesTab::MakeEditor() {
    auto* editor = new QWidget;
    auto* grid = new QGridLayout(editor);
    grid->setContentsMargins(0, 0, 0, 0);
    txtFileFileTypeID = MakeLineEdit("txtFileFileTypeID");
    txtFileFileTypeID->setVisible(false);
    txtFileDescription = MakeLineEdit("txtFileDescription");
    txtFileExternalApp = MakeLineEdit("txtFileExternalApp");
    grid->addWidget(MakeLabel("Description", txtFileDescription), 0, 0);
    grid->addWidget(txtFileDescription, 0, 1, 1, 2);
    grid->addWidget(MakeLabel("External Application", txtFileExternalApp), 1, 0);
    grid->addWidget(txtFileExternalApp, 1, 1);
    QPushButton* browse = MakeButton("cmdFileExternalAppBrowse", "Browse");
    browse->setAccessibleName(tr("Browse for the external application"));
    connect(browse, &QPushButton::clicked, this, &FileTypesTab::Browse);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(txtFileFileTypeID, 2, 1);

    const ListEditor extensions =
        MakeListEditor("fraFileFileExtension", "File Extensions", "extension", "txtFileFileExtension", "cmdFileAddFileExtension",
                       "lstFileFileExtension", "cmdFileDeleteFileExtension", {ExtensionOf, true});
    txtFileFileExtension = extensions.Edit;
    lstFileFileExtension = extensions.List;
    grid->addWidget(extensions.Frame, 3, 0, 1, 3);
    grid->setRowStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    cmdFileSave = MakeButton("cmdFileSave", "Save");
    cmdFileSave->setEnabled(false);
    connect(cmdFileSave, &QPushButton::clicked, this, &FileTypesTab::Save);
    buttons->addWidget(cmdFileSave);
    QPushButton* clear = MakeButton("cmdFileClear", "Clear");
    connect(clear, &QPushButton::clicked, this, &FileTypesTab::Clear);
    buttons->addWidget(clear);
    buttons->addStretch();
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return editor;
}

void FileTypesTab::ShowFileTypes(const std::vector<std::pair<int, QString>>& types) {
    lstFileFileType->clear();
    for (const auto& [id, description] : types) {
        auto* entry = new QListWidgetItem(description, lstFileFileType);
        entry->setData(kTypeIDRole, id);
    }
}

void FileTypesTab::EnableSaving(bool on) {
    cmdFileSave->setEnabled(on);
    cmdFileFileTypeDelete->setEnabled(on);
}

void FileTypesTab::ShowInEditor(const QListWidgetItem* entry) {
    clsFileType& types = catalogue_.FileTypes;
    if (!entry || !types.GotoFileTypeID(entry->data(kTypeIDRole).toInt())) return;
    txtFileFileTypeID->setText(QString::number(types.FileTypeID()));
    txtFileDescription->setText(Q(types.FileType()));
    txtFileExternalApp->setText(Q(types.ExternalApp()));
    lstFileFileExtension->clear();
    for (int index = 0; index < types.ExtensionCount(); ++index) lstFileFileExtension->addItem(Q(types.Extension(index)));
}

void FileTypesTab::Browse() {
    const QString current = txtFileExternalApp->text();
    const QString chosen =
        prompts_.ChoosePath(this, Prompts::PathFor::Application, current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
    if (!chosen.isEmpty()) txtFileExternalApp->setText(chosen);
}

void FileTypesTab::Clear() {
    lstFileFileType->setCurrentRow(-1);
    lstFileFileType->clearSelection();
    lstFileFileExtension->clear();
    for (QLineEdit* field : {txtFileDescription, txtFileExternalApp, txtFileFileExtension, txtFileFileTypeID}) field->clear();
}

void FileTypesTab::Save() {
    const QString description = txtFileDescription->text();
    if (Refused(description)) return;
    std::vector<std::string> extensions;
    for (int entry = 0; entry < lstFileFileExtension->count(); ++entry)
        extensions.push_back(lstFileFileExtension->item(entry)->text().toStdString());
    const int id = txtFileFileTypeID->text().isEmpty() ? -1 : txtFileFileTypeID->text().toInt();
    const NewKey saved = SaveFileType(catalogue_, id, description.toStdString(), txtFileExternalApp->text().toStdString(), extensions);
    if (!saved.Error.empty()) {
        Q_EMIT StatusChanged(tr("Could not save the file type %1: %2").arg(description, Q(saved.Error)));
        return;
    }
    Clear();
    Q_EMIT FileTypeSaved();
}

// Whether the type may not be saved as it stands; the person is told why. Two types of one
// description could not be told apart in the drop-down boxes.
bool FileTypesTab::Refused(const QString& description) {
    QString why;
    if (description.isEmpty()) why = tr("Enter a description for this file type");
    else if (lstFileFileExtension->count() == 0) why = tr("Add at least 1 extension for this file type");
    clsFileType& types = catalogue_.FileTypes;
    for (bool more = types.MoveFirst(); why.isEmpty() && more; more = types.MoveNext()) {
        if (Q(types.FileType()) == description && QString::number(types.FileTypeID()) != txtFileFileTypeID->text())
            why = tr("Another file type is already called %1").arg(description);
    }
    if (!why.isEmpty()) prompts_.Tell(this, tr("Reelvault"), why);
    return !why.isEmpty();
}

// Deleting takes the type from every file that has it, so the person is asked first when any does.
void FileTypesTab::Delete() {
    const QList<QListWidgetItem*> chosen = lstFileFileType->selectedItems();
    if (chosen.isEmpty()) return;
    const int id = chosen.first()->data(kTypeIDRole).toInt();
    if (!catalogue_.FileTypes.GotoFileTypeID(id)) return;
    const int users = FilesOfType(catalogue_, id);
    if (users > 0 && !prompts_.Confirm(this, tr("Delete file type"), UsersQuestion(users, tr("file type")))) return;
    Q_EMIT Busy(true);
    auto* job = new CatalogueJob(catalogue_.Store, [id](Catalogue& worked) { return DeleteOnWorker(worked, id); }, this);
    connect(job, &CatalogueJob::Finished, this, [this, job, id, description = chosen.first()->text()](const QString& error) {
        job->deleteLater();
        if (error.isEmpty()) TakeDeletion(job->Worked(), id);
        else Q_EMIT StatusChanged(tr("Could not delete the file type %1: %2").arg(description, error));
        Q_EMIT Busy(false);
    });
}

// The records change in place: a million of them are not read again for one type.
void FileTypesTab::TakeDeletion(Catalogue& worked, int id) {
    std::swap(catalogue_.FileTypes, worked.FileTypes);
    catalogue_.Files.ClearTypeID(id);
    Q_EMIT FileTypeDeleted();
    Clear();
}
