// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/dialogs/frmVerify.h"

#include <QComboBox>
#include <QGridLayout>
#include <QSpinBox>

#include "widgets/Controls.h"
#include "widgets/Prompts.h"

namespace {

std::vector<VerifyFinding> WithStatus(const std::vector<VerifyFinding>& findings, VerifyStatus status) {
    std::vector<VerifyFinding> found;
    for (const VerifyFinding& finding : findings) {
        if (finding.Status == status) found.push_back(finding);
    }
    return found;
}

}  // namespace

frmVerify::frmVerify(const Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : ToolDialog(catalogue, prompts, "frmVerify", tr("Verify Files"), parent), report_(std::make_shared<VerifyReport>()) {
    drive_ = MakeCombo("cboVerifyDrive");
    olderThan_ = Named(new QSpinBox, "spnVerifyOlderThan");
    olderThan_->setRange(0, 36500);
    olderThan_->setSpecialValueText(tr("every file"));
    olderThan_->setSuffix(tr(" days"));
    QPushButton* verify = MakeButton("cmdVerify", "&Verify");
    verify->setDefault(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Named(new QLabel(tr("Read the files again and compare them with their hashes, to find files damaged "
                                        "since they were catalogued.")),
                          "lblVerify"),
                    0, 0, 1, 2);
    grid->addWidget(MakeLabel("&Drive", drive_), 1, 0);
    grid->addWidget(drive_, 1, 1);
    grid->addWidget(MakeLabel("Only files not &read for more than", olderThan_), 2, 0);
    grid->addWidget(olderThan_, 2, 1);
    grid->addWidget(verify, 3, 1, Qt::AlignRight);
    connect(verify, &QPushButton::clicked, this, &frmVerify::Run);
    connect(this, &ToolDialog::Ran, this, &frmVerify::Verified);
}

void frmVerify::Prepare() {
    drive_->clear();
    drive_->addItem(tr("Every plugged-in drive"), -1);
    for (const Drive& drive : catalogue_.Drives.All()) {
        if (drive.Plugged()) drive_->addItem(QString::fromStdString(drive.Name), drive.DriveID);
    }
}

void frmVerify::Run() {
    VerifyRequest request{std::nullopt, olderThan_->value()};
    if (const int drive = drive_->currentData().toInt(); drive >= 0) request.DriveID = drive;
    report_ = std::make_shared<VerifyReport>();
    RunTool([request, report = report_](Catalogue& own, ToolHost& host) {
        *report = Verify(own, request, host);
        return report->Result;
    });
}

void frmVerify::Verified(const ToolResult& result, const QString& logPath) {
    Q_EMIT Ended(QString::fromStdString(VerifyTotals(*report_)), result, logPath);
    // After the window has shown the totals and the log, not in the middle of it; by then another
    // run may have begun, with a report of its own that its worker is writing.
    QMetaObject::invokeMethod(this, [this, report = report_] { OfferToTakeFindings(*report); }, Qt::QueuedConnection);
}

// Edited files are the user's to take; damaged ones keep their hashes unless the user insists.
void frmVerify::OfferToTakeFindings(const VerifyReport& report) {
    if (Progress()->IsRunning()) return;  // a newer verify will make its own offer
    std::vector<VerifyFinding> taken = WithStatus(report.Findings, VerifyStatus::Changed);
    const std::vector<VerifyFinding> damaged = WithStatus(report.Findings, VerifyStatus::Damaged);
    const QString title = windowTitle();
    if (!taken.empty() &&
        !prompts_.Confirm(parentWidget(), title,
                          tr("%n file(s) were edited since they were hashed. Update their records to their contents now "
                             "(CRC, size and hash)?",
                             nullptr, static_cast<int>(taken.size()))))
        taken.clear();
    if (!damaged.empty() &&
        prompts_.Confirm(parentWidget(), title,
                         tr("%n file(s) are damaged: other contents with the size and time they were hashed with. Their "
                            "hashes are kept, so that the next verify finds them again; restore them from a copy.\n\n"
                            "Take their contents as they are now instead, and lose the old hashes?",
                            nullptr, static_cast<int>(damaged.size()))))
        taken.insert(taken.end(), damaged.begin(), damaged.end());
    if (taken.empty()) return;
    Progress()->Run(title, catalogue_.Store.FileName(),
                    [taken](Catalogue& own, ToolHost& host) { return AcceptContents(own, taken, host); },
                    [this](const ToolResult& result, const QString& logPath) {
                        Q_EMIT Ended(tr("%n record(s) updated to their files' contents", nullptr, result.Changed), result, logPath);
                    });
}
