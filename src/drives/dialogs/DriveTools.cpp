// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/dialogs/DriveTools.h"

#include <QAction>

#include <set>
#include <tuple>

#include "drives/dialogs/DriveNotes.h"
#include "drives/dialogs/DriveWatcher.h"
#include "drives/dialogs/RebindOffer.h"
#include "drives/dialogs/frmDrives.h"
#include "tools/ForgetDrive.h"
#include "tools/RebindDrive.h"
#include "tools/dialogs/ToolsMenu.h"
#include "tools/dialogs/frmToolProgress.h"
#include "widgets/Prompts.h"

namespace {

// What the window's sets hold, told apart from what a new reading says: the same filesystems at
// the same places make no change worth repainting a million rows for.
auto Key(const MountedVolume& volume) {
    return std::tie(volume.At.Source, volume.At.Target, volume.At.Root, volume.At.Device, volume.Is.Identity, volume.Is.Label);
}

bool SameMounts(const MountedVolumes& a, const MountedVolumes& b) {
    return std::equal(a.All().begin(), a.All().end(), b.All().begin(), b.All().end(),
                      [](const MountedVolume& x, const MountedVolume& y) { return Key(x) == Key(y); });
}

}  // namespace

DriveTools::DriveTools(Catalogue& catalogue, Prompts& prompts, ToolsMenu& tools, QWidget* window)
    : QObject(window), catalogue_(catalogue), prompts_(prompts), tools_(tools), window_(window), watcher_(new DriveWatcher(this)),
      offer_(new RebindOffer), dialog_(new frmDrives(catalogue, prompts, window)), progress_(new frmToolProgress(window)) {
    tools.addSeparator();
    drivesItem_ = tools.addAction(tr("Dri&ves..."), this, [this] {
        dialog_->Refresh();
        dialog_->open();
    });
    drivesItem_->setObjectName(QStringLiteral("mnuDrives"));
    drivesItem_->setEnabled(false);
    tools.Watch(progress_);
    connect(progress_, &frmToolProgress::RunningChanged, dialog_, &QWidget::setDisabled);
    connect(progress_, &frmToolProgress::RunningChanged, offer_, &QWidget::setDisabled);
    connect(watcher_, &DriveWatcher::MountsRead, this, &DriveTools::TakeMounts);
    connect(offer_, &RebindOffer::RepointWanted, this, &DriveTools::Repoint);
    connect(dialog_, &frmDrives::RepointWanted, this, &DriveTools::Repoint);
    connect(dialog_, &frmDrives::ForgetWanted, this, &DriveTools::Forget);
    // Queued: the dialog's rows are made anew, and the one renamed is still in its own signal.
    connect(dialog_, &frmDrives::Renamed, this, &DriveTools::Refresh, Qt::QueuedConnection);
}

QWidget* DriveTools::Offer() const { return offer_; }

void DriveTools::EnableDrives() { drivesItem_->setEnabled(catalogue_.Store.DBOpen()); }

void DriveTools::SetsReloaded() {
    const std::string& note = catalogue_.OwnTables.Note;
    if (!note.empty() && (note != noteShown_ || catalogue_.Store.FileName() != noteFor_))
        prompts_.Tell(window_, tr("Reelvault"), QString::fromStdString(note), true);
    noteShown_ = note;
    noteFor_ = catalogue_.Store.FileName();
    if (const QString error = watcher_->Error(); !error.isEmpty() && !watchErrorShown_) {
        watchErrorShown_ = true;
        prompts_.Tell(window_, tr("Reelvault"), error + tr("\nDrives plugged in or out are seen when the catalogue is loaded again."), true);
    }
    Refresh();
    // The sets read the mount table on the loader's thread; what changed since is read again.
    watcher_->ReadAgain();
}

void DriveTools::TakeMounts(const MountedVolumes& mounted) {
    if (SameMounts(mounted, catalogue_.Drives.Mounted())) return;
    std::set<int> before;
    for (const Drive& drive : catalogue_.Drives.All()) {
        if (drive.Plugged()) before.insert(drive.DriveID);
    }
    catalogue_.Drives.SeeMounts(mounted);
    // No drive, nothing that shows one: so also while the sets are being replaced, when the
    // search's choice of a drive must outlast their absence.
    if (catalogue_.Drives.All().empty()) return;
    Refresh();
    for (const Drive& drive : catalogue_.Drives.All()) {
        if (drive.Plugged() && !drive.Cloned && !before.contains(drive.DriveID)) Q_EMIT PluggedIn(QString::fromStdString(drive.Name));
    }
}

void DriveTools::Refresh() {
    offer_->Refresh(catalogue_);
    if (dialog_->isVisible()) dialog_->Refresh();
    Q_EMIT DrivesChanged();
}

void DriveTools::Repoint(const QString& drive) {
    progress_->Run(tr("Re-point %1").arg(drive), catalogue_.Store.FileName(),
                   [name = drive.toStdString()](Catalogue& own, ToolHost& host) { return RebindDrive(own, name, {}, host); },
                   [this](const ToolResult& result, const QString& logPath) {
                       tools_.Finish(RecordCount(result.Changed) + tr(" re-pointed"), result, logPath);
                   });
}

void DriveTools::Forget(const QString& drive) {
    progress_->Run(tr("Forget %1").arg(drive), catalogue_.Store.FileName(),
                   [name = drive.toStdString()](Catalogue& own, ToolHost& host) { return ForgetDrive(own, name, host); },
                   [this, drive](const ToolResult& result, const QString& logPath) {
                       const bool whole = !result.Cancelled && result.Error.empty();
                       tools_.Finish((whole ? tr("%1 forgotten: ").arg(drive) : QString()) + RecordCount(result.Changed) + tr(" deleted"), result,
                              logPath);
                   });
}

