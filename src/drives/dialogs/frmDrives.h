// SPDX-License-Identifier: GPL-3.0-or-later
// The Drives dialog: every drive the catalogue's records lie on, with where it is mounted now and
// what of the catalogue it holds. A drive is renamed here at once; re-pointing and forgetting one
// are asked for, and the window runs them as it runs its other tools.
#pragma once

#include <QDialog>

#include "model/Catalogue.h"

class Prompts;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

class frmDrives : public QDialog {
    Q_OBJECT

public:
    enum Column { NameColumn, LabelColumn, UUIDColumn, TypeColumn, SizeColumn, MountPointColumn, RecordsColumn, RecordsSizeColumn };

    frmDrives(Catalogue& catalogue, Prompts& prompts, QWidget* parent);

    // Lists the drives of the catalogue's set as they are now; the chosen drive stays chosen.
    void Refresh();

Q_SIGNALS:
    void Renamed();
    // Asked for, and for Forget agreed to; the run is the window's.
    void RepointWanted(const QString& drive);
    void ForgetWanted(const QString& drive);

private:
    void FillRow(int row, const Drive& drive, qint64 records, qint64 bytes);
    const Drive* Chosen() const;
    void UpdateButtons();
    void Rename(QTableWidgetItem* name);
    void Forget();

    Catalogue& catalogue_;
    Prompts& prompts_;
    QTableWidget* lstDrives_;
    QPushButton* rename_;
    QPushButton* repoint_;
    QPushButton* forget_;
};
