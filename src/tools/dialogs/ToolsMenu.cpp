// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dialogs/ToolsMenu.h"

#include <algorithm>

#include "identity/dialogs/frmDuplicates.h"
#include "identity/dialogs/frmVerify.h"
#include "tools/DetectFileTypes.h"
#include "tools/ReadMediaFacts.h"
#include "tools/RemoveMissingFiles.h"
#include "tools/dialogs/frmDetectMovedFiles.h"
#include "tools/dialogs/frmFindReplace.h"
#include "tools/dialogs/frmLoadDirectory.h"
#include "widgets/Prompts.h"

namespace {

QString Count(int number, const char* what) { return QStringLiteral("%1 %2").arg(number).arg(QString::fromUtf8(what)); }

QString LoadTotals(const ToolResult& result) {
    QString totals = Count(result.Changed, "files added") + QStringLiteral(", ") + Count(result.Skipped, "possible duplicates not added");
    if (result.Unreadable > 0) totals += QStringLiteral(", ") + Count(result.Unreadable, "files could not be read");
    return totals;
}

QString OutOfReach(const ToolResult& survey) {
    QString kept;
    if (survey.DriveAway > 0) kept += QObject::tr("\n%1 records are kept: their drive is not plugged in.").arg(survey.DriveAway);
    if (survey.Skipped > 0) kept += QObject::tr("\n%1 records are kept: their folder is out of reach.").arg(survey.Skipped);
    return kept;
}

}  // namespace

ToolsMenu::ToolsMenu(const Catalogue& catalogue, const Settings& settings, Prompts& prompts, QWidget* window)
    : QMenu(tr("&Tools"), window), catalogue_(catalogue), settings_(settings), prompts_(prompts), window_(window),
      progress_(new frmToolProgress(window)), loadDirectory_(new frmLoadDirectory(catalogue, prompts, window)),
      detectMoved_(new frmDetectMovedFiles(catalogue, prompts, window)), findReplace_(new frmFindReplace(catalogue, prompts, window)),
      duplicates_(new frmDuplicates(catalogue, prompts, window)), verify_(new frmVerify(catalogue, prompts, window)) {
    setObjectName(QStringLiteral("mnuTools"));
    for (const auto& [name, text, handler] : {std::tuple{"mnuLoadDirectory", tr("Load &Directory"), &ToolsMenu::LoadDirectory},
                                              {"mnuRemoveMissingFiles", tr("Remove &Missing Files"), &ToolsMenu::RemoveMissingFiles},
                                              {"mnuDetectFileTypes", tr("Detect File &Types"), &ToolsMenu::DetectFileTypes},
                                              {"mnuDetectMovedFiles", tr("Detect Moved Files"), &ToolsMenu::DetectMovedFiles},
                                              {"mnuReadMediaFacts", tr("Read Media F&acts Again"), &ToolsMenu::ReadMediaFacts},
                                              {"mnuFileNameFindReplace", tr("File Name &Find/Replace"), &ToolsMenu::FindReplace},
                                              {"mnuDuplicates", tr("D&uplicates..."), &ToolsMenu::Duplicates},
                                              {"mnuVerifyFiles", tr("&Verify Files..."), &ToolsMenu::VerifyFiles}}) {
        QAction* item = addAction(text, this, handler);
        item->setObjectName(QString::fromUtf8(name));
    }
    EnableTools(false);
    for (frmToolProgress* progress : {progress_, loadDirectory_->Progress(), detectMoved_->Progress(), findReplace_->Progress(),
                                      duplicates_->Progress(), verify_->Progress()})
        Watch(progress);
    connect(duplicates_, &frmDuplicates::Ended, this, &ToolsMenu::Finish);
    connect(duplicates_, &frmDuplicates::StatusChanged, this, &ToolsMenu::StatusChanged);
    connect(verify_, &frmVerify::Ended, this, &ToolsMenu::Finish);
    connect(loadDirectory_, &ToolDialog::Ran, this, [this](const ToolResult& result, const QString& logPath) {
        const bool whole = !result.Cancelled && result.Error.empty();
        const QString finished = whole ? tr("Finished loading directory %1: ").arg(loadDirectory_->Folder()) : QString();
        Finish(finished + LoadTotals(result), result, logPath);
    });
    connect(detectMoved_, &ToolDialog::Ran, this, [this](const ToolResult& result, const QString& logPath) {
        QString totals = Count(result.Changed, "records re-pointed");
        if (result.Skipped > 0) totals += QStringLiteral(", ") + Count(result.Skipped, "not moved: see the log");
        Finish(totals, result, logPath);
    });
    connect(findReplace_, &ToolDialog::Ran, this, [this](const ToolResult& result, const QString& logPath) {
        Finish(Count(result.Changed, "records changed"), result, logPath);
    });
}

void ToolsMenu::EnableTools(bool enabled) {
    for (QAction* item : actions()) item->setEnabled(enabled);
}

bool ToolsMenu::IsRunning() const {
    return std::any_of(progresses_.begin(), progresses_.end(), [](const frmToolProgress* progress) { return progress->IsRunning(); });
}

void ToolsMenu::Cancel() {
    for (frmToolProgress* progress : progresses_) progress->Cancel();
}

void ToolsMenu::Watch(frmToolProgress* progress) {
    progresses_.append(progress);
    connect(progress, &frmToolProgress::RunningChanged, this, &ToolsMenu::Busy);
    connect(progress, &frmToolProgress::StatusChanged, this, &ToolsMenu::StatusChanged);
}

void ToolsMenu::LoadDirectory() {
    loadDirectory_->Prepare(settings_.AutoCalculateCRC, QString::fromStdString(settings_.LastDir));
    loadDirectory_->open();
}

void ToolsMenu::DetectMovedFiles() {
    detectMoved_->Prepare(QString::fromStdString(settings_.LastDir));
    detectMoved_->open();
}

void ToolsMenu::FindReplace() {
    findReplace_->Prepare();
    findReplace_->open();
}

void ToolsMenu::Duplicates() { duplicates_->Start(); }

void ToolsMenu::VerifyFiles() {
    verify_->Prepare();
    verify_->open();
}

// Deleting records at one click is asked about first, with their number: the folders are looked
// through once to count, and the deletion looks again, so a file back in its place meanwhile stays.
void ToolsMenu::RemoveMissingFiles() {
    const QString title = tr("Remove Missing Files");
    progress_->Run(title, catalogue_.Store.FileName(), CountMissingFiles, [this, title](const ToolResult& survey, const QString&) {
        if (survey.Cancelled || !survey.Error.empty()) return Finish(tr("Nothing deleted"), survey, {});
        if (survey.Changed == 0) {
            prompts_.Tell(window_, title, tr("0 records: every catalogued file is in its place.") + OutOfReach(survey));
            return;
        }
        const QString question = survey.Changed == 1 ? tr("1 record points to a file that is gone.")
                                                     : tr("%1 records point to files that are gone.").arg(survey.Changed);
        if (!prompts_.Confirm(window_, title, question + OutOfReach(survey) + tr("\nDelete the records of the missing files?")))
            return;
        progress_->Run(title, catalogue_.Store.FileName(), ::RemoveMissingFiles, [this](const ToolResult& result, const QString& logPath) {
            QString totals = Count(result.Changed, "records of missing files deleted");
            if (result.DriveAway > 0) totals += QStringLiteral(", ") + Count(result.DriveAway, "kept: their drive is not plugged in");
            if (result.Skipped > 0) totals += QStringLiteral(", ") + Count(result.Skipped, "kept: their folder is out of reach");
            Finish(totals, result, logPath);
        });
    });
}

void ToolsMenu::DetectFileTypes() {
    progress_->Run(tr("Detect File Types"), catalogue_.Store.FileName(), ::DetectFileTypes,
                   [this](const ToolResult& result, const QString& logPath) {
                       Finish(Count(result.Changed, "records given a new file type"), result, logPath);
                   });
}

void ToolsMenu::ReadMediaFacts() {
    progress_->Run(tr("Read Media Facts Again"), catalogue_.Store.FileName(), ::ReadMediaFacts,
                   [this](const ToolResult& result, const QString& logPath) {
                       QString totals = Count(result.Changed, "records' media facts read again");
                       if (result.Skipped > 0) totals += QStringLiteral(", ") + Count(result.Skipped, "files could not be read");
                       Finish(totals, result, logPath);
                   });
}

void ToolsMenu::Finish(const QString& outcome, const ToolResult& result, const QString& logPath) {
    QString status = outcome;
    if (result.Cancelled) status = tr("Cancelled: ") + outcome;
    if (!result.Error.empty()) status = tr("Stopped: ") + outcome;
    if (!logPath.isEmpty()) {
        if (const std::string error = prompts_.ShowFile(logPath.toStdString()); !error.empty())
            status += QStringLiteral(" (") + QString::fromStdString(error) + QLatin1Char(')');
    }
    Q_EMIT ToolEnded(status);
    if (!result.Error.empty()) prompts_.Tell(window_, tr("Error"), QString::fromStdString(result.Error), true);
}
