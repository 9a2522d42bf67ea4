// SPDX-License-Identifier: GPL-3.0-or-later
// Tools > Duplicates: the records with the same contents, the biggest waste first, to tick and take
// out of the catalogue or move to the trash; and on a second tab the records whose contents lie on
// one drive only.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

#include "identity/Duplicates.h"
#include "identity/SingleCopies.h"
#include "model/Catalogue.h"
#include "tools/dialogs/frmToolProgress.h"

class DuplicatesModel;
class Prompts;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeView;
class SingleCopiesModel;

class frmDuplicates : public QDialog {
    Q_OBJECT

public:
    frmDuplicates(const Catalogue& catalogue, Prompts& prompts, QWidget* parent);

    frmToolProgress* Progress() const { return progress_; }
    // Shows the dialog and finds the duplicates and single copies anew, on a worker.
    void Start();

Q_SIGNALS:
    // What was found, in a line.
    void StatusChanged(const QString& status);
    // Copies were taken out (outcome says how many); the window's lists are out of date.
    void Ended(const QString& outcome, const ToolResult& result, const QString& logPath);

private:
    struct Findings {
        DuplicateReport Duplicates;
        SingleCopyReport SingleCopies;
    };

    QWidget* MakeDuplicatesTab();
    QWidget* MakeSingleCopiesTab();
    // then runs once the lists show what was found.
    void Find(const std::function<void()>& then = {});
    void Show(Findings& findings);
    void ShowSingleCopies();
    void RemoveTicked(bool toTrash);
    bool ConfirmRemoval(const std::vector<int>& ticked, bool toTrash);

    const Catalogue& catalogue_;
    Prompts& prompts_;
    frmToolProgress* progress_;
    QTabWidget* tabs_;
    QLabel* duplicateTotals_;
    QTreeView* duplicates_;
    DuplicatesModel* duplicatesModel_;
    QPushButton* remove_;
    QPushButton* trash_;
    QComboBox* singleDrive_;
    QLabel* singleTotals_;
    QTreeView* singles_;
    SingleCopiesModel* singlesModel_;
    SingleCopyReport allSingles_;
};
