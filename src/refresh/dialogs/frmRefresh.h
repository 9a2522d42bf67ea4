// SPDX-License-Identifier: GPL-3.0-or-later
// Tools > Refresh...: what changed under some folders or on a drive, made into a plan on a worker
// and shown grouped by kind with a tick box per row; Apply carries out the ticked rows on a worker.
// Nothing is written before Apply.
#pragma once

#include <QDialog>

#include "model/Catalogue.h"
#include "tools/dialogs/frmToolProgress.h"

class PlanModel;
class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

class frmRefresh : public QDialog {
    Q_OBJECT

public:
    frmRefresh(const Catalogue& catalogue, Prompts& prompts, QWidget* parent);

    frmToolProgress* Progress() const { return progress_; }
    // Shows the dialog with the catalogue's drives to choose from; a folder picker starts at lastDir.
    void Prepare(const QString& lastDir);
    // Shows the dialog for the drive with this name and makes its plan.
    void PlanDrive(const QString& drive);

Q_SIGNALS:
    // Apply has ended (outcome says how far it got); the window's sets are out of date.
    void Ended(const QString& outcome, const ToolResult& result, const QString& logPath);

private:
    QLayout* MakeChoice();
    void MakePlan();
    void ShowTotals();
    void Apply();
    void DriveChosen();

    const Catalogue& catalogue_;
    Prompts& prompts_;
    frmToolProgress* progress_;
    QString lastDir_;
    QLineEdit* folder_;
    QPushButton* browse_;
    QComboBox* drive_;
    QLineEdit* pattern_;
    QPushButton* plan_;
    QLabel* totals_;
    PlanModel* model_;
    QTreeView* view_;
    QPushButton* apply_;
};
