// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Prompts.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QSortFilterProxyModel>

#include "support/modUtilities.h"

namespace {

const char* const kCatalogueFilter = "Reelvault Database (*.rvd);;All (*)";

// Programs on Linux have no extension to filter by: while its filter is chosen, the dialog shows
// folders and the files the user may run, and nothing else.
class ProgramFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void OnlyPrograms(bool only) {
        only_ = only;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!only_ || !files) return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }

private:
    bool only_ = true;
};

QString ChooseProgram(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QObject::tr("Choose the application"), folder.isEmpty() ? QStringLiteral("/usr/bin") : folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // a proxy model needs Qt's own dialog
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* filter = new ProgramFilter(&dialog);
    dialog.setProxyModel(filter);
    const QString programs = QObject::tr("Applications (*)");
    dialog.setNameFilters({programs, QObject::tr("All files (*)")});
    QObject::connect(&dialog, &QFileDialog::filterSelected, filter,
                     [filter, programs](const QString& chosen) { filter->OnlyPrograms(chosen == programs); });
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

// The name ends in the extension of the format chosen, unless the person typed one.
QString ChooseExport(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QObject::tr("Export Listed Files"), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QString page = QObject::tr("Web page (*.html)");
    dialog.setNameFilters({page, QObject::tr("CSV (*.csv)")});
    dialog.setDefaultSuffix(QStringLiteral("html"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, page](const QString& chosen) {
        dialog.setDefaultSuffix(chosen == page ? QStringLiteral("html") : QStringLiteral("csv"));
    });
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

}  // namespace

void Prompts::Tell(QWidget* parent, const QString& title, const QString& text, bool warning) {
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool Prompts::Confirm(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QString Prompts::ChoosePath(QWidget* parent, PathFor purpose, const QString& folder) {
    switch (purpose) {
    case PathFor::NewCatalogue:
        // The name is used as typed, and New refuses an existing file itself.
        return QFileDialog::getSaveFileName(parent, QObject::tr("New catalogue"), folder, QString::fromUtf8(kCatalogueFilter),
                                            nullptr, QFileDialog::DontConfirmOverwrite);
    case PathFor::Catalogue:
        return QFileDialog::getOpenFileName(parent, QObject::tr("Open catalogue"), folder, QString::fromUtf8(kCatalogueFilter));
    case PathFor::Application: return ChooseProgram(parent, folder);
    case PathFor::Export: return ChooseExport(parent, folder);
    }
    return {};
}

QString Prompts::ChooseFolder(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start);
}

std::string Prompts::ShowFile(const std::string& path) { return ShellOpen(path); }
