// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export Listed Files...: the rows the list shows, in the order it shows them, written as a
// web page or as CSV (by the extension of the name chosen). The rows are read at once; the page is
// made and written on a worker, and the list may change meanwhile.
#pragma once

#include <QObject>
#include <QPointer>

#include "model/Catalogue.h"

class CatalogueJob;
class FileListModel;
class Prompts;
class QAction;
class QMenu;
class QWidget;

class ListExport : public QObject {
    Q_OBJECT

public:
    // The action is enabled while the list shows rows. parent also parents the dialogs.
    ListExport(Catalogue& catalogue, FileListModel& model, Prompts& prompts, QWidget* parent);

    QAction* Action() const { return action_; }
    // Puts the action in the menu, above the item named before.
    void AddTo(QMenu* menu, const QString& before);
    // Writes the listed rows to path; Finished comes once they are written or could not be.
    void ExportTo(const QString& path);
    bool Running() const { return !job_.isNull(); }

Q_SIGNALS:
    void StatusChanged(const QString& text);
    // "" once the file is written whole, or the sentence the person was shown.
    void Finished(const QString& error);

private:
    void Choose();

    Catalogue& catalogue_;
    FileListModel& model_;
    Prompts& prompts_;
    QWidget* parent_;
    QAction* action_;
    QPointer<CatalogueJob> job_;
};
