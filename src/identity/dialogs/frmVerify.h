// SPDX-License-Identifier: GPL-3.0-or-later
// Tools > Verify Files: reads the catalogued files on the plugged-in drives again and compares them
// with their hashes; then offers to take edited files' contents into their records.
#pragma once

#include <memory>

#include "identity/Verify.h"
#include "tools/dialogs/ToolDialog.h"

class QComboBox;
class QSpinBox;

class frmVerify : public ToolDialog {
    Q_OBJECT

public:
    frmVerify(const Catalogue& catalogue, Prompts& prompts, QWidget* parent);

    // Before each showing: the plugged-in drives to choose from; the days typed last are kept.
    void Prepare();

Q_SIGNALS:
    // A verify, or an update of records it offered, has ended; outcome is its totals in a line.
    void Ended(const QString& outcome, const ToolResult& result, const QString& logPath);

private:
    void Run();
    void Verified(const ToolResult& result, const QString& logPath);
    void OfferToTakeFindings(const VerifyReport& report);

    QComboBox* drive_;
    QSpinBox* olderThan_;
    std::shared_ptr<VerifyReport> report_;  // the last run's: written by its worker, read here once it ended
};
