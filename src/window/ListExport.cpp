// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ListExport.h"

#include <QMenu>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include "export/ExportRows.h"
#include "widgets/Prompts.h"
#include "window/CatalogueJob.h"
#include "window/FileListModel.h"

namespace {

QString FilesText(std::size_t count) {
    return count == 1 ? QObject::tr("1 file") : QObject::tr("%1 files").arg(count);
}

}  // namespace

ListExport::ListExport(Catalogue& catalogue, FileListModel& model, Prompts& prompts, QWidget* parent)
    : QObject(parent), catalogue_(catalogue), model_(model), prompts_(prompts), parent_(parent) {
    action_ = new QAction(tr("&Export Listed Files..."), this);
    action_->setObjectName(QStringLiteral("mnuExportListed"));
    action_->setEnabled(false);
    connect(action_, &QAction::triggered, this, &ListExport::Choose);
    const auto follow = [this] { action_->setEnabled(model_.rowCount() > 0 && !Running()); };
    connect(&model_, &QAbstractItemModel::modelReset, this, follow);
    connect(&model_, &QAbstractItemModel::rowsInserted, this, follow);
    connect(&model_, &QAbstractItemModel::rowsRemoved, this, follow);
    connect(this, &ListExport::Finished, this, follow);
}

void ListExport::Choose() {
    const QString folder = QFileInfo(QString::fromStdString(catalogue_.Store.FileName())).absolutePath();
    const QString path = prompts_.ChoosePath(parent_, Prompts::PathFor::Export, folder);
    if (!path.isEmpty()) ExportTo(path);
}

void ListExport::ExportTo(const QString& path) {
    std::vector<const FileRecord*> records;
    records.reserve(static_cast<std::size_t>(model_.rowCount()));
    for (int row = 0; row < model_.rowCount(); ++row) {
        if (const FileRecord* record = model_.RecordAt(row)) records.push_back(record);
    }
    const ExportFormat format =
        path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? ExportFormat::CSV : ExportFormat::HTML;
    const ExportHeading heading{QFileInfo(QString::fromStdString(catalogue_.Store.FileName())).fileName().toStdString(),
                                ExportDateNow()};
    const std::size_t count = records.size();
    // The texts are taken here, on the thread that owns the sets; the worker holds copies only.
    auto work = [rows = ExportRowsOf(catalogue_, records), format, heading, target = path.toStdString()](Catalogue&) {
        return WriteExport(target, RenderExport(format, heading, rows));
    };
    action_->setEnabled(false);
    Q_EMIT StatusChanged(tr("Exporting %1...").arg(FilesText(count)));
    job_ = new CatalogueJob(catalogue_.Store, std::move(work), this);
    connect(job_, &CatalogueJob::Finished, this, [this, path, count](const QString& error) {
        job_->deleteLater();
        job_.clear();
        if (error.isEmpty()) {
            Q_EMIT StatusChanged(tr("%1 exported to %2").arg(FilesText(count), QDir::toNativeSeparators(path)));
        } else {
            Q_EMIT StatusChanged(QString());
            prompts_.Tell(parent_, tr("Export Listed Files"), error, true);
        }
        Q_EMIT Finished(error);
    });
}

void ListExport::AddTo(QMenu* menu, const QString& before) {
    QAction* next = menu->findChild<QAction*>(before);
    menu->insertAction(next, action_);
    menu->insertSeparator(next);
}
