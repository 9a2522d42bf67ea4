// SPDX-License-Identifier: GPL-3.0-or-later
#include "refresh/dialogs/RefreshTools.h"

#include <QAction>

#include "drives/dialogs/DriveTools.h"
#include "refresh/dialogs/RefreshOffer.h"
#include "refresh/dialogs/frmRefresh.h"
#include "tools/dialogs/ToolsMenu.h"

RefreshTools::RefreshTools(const Catalogue& catalogue, const Settings& settings, Prompts& prompts, ToolsMenu& tools, DriveTools& drives,
                           QWidget* window)
    : QObject(window), catalogue_(catalogue), offer_(new RefreshOffer), dialog_(new frmRefresh(catalogue, prompts, window)) {
    QAction* item = tools.addAction(tr("&Refresh..."), this,
                                    [this, &settings] { dialog_->Prepare(QString::fromStdString(settings.LastDir)); });
    item->setObjectName(QStringLiteral("mnuRefresh"));
    item->setEnabled(false);  // until the menu's tools are, with a catalogue that can be written
    tools.Watch(dialog_->Progress());
    connect(dialog_->Progress(), &frmToolProgress::RunningChanged, offer_, &QWidget::setDisabled);
    connect(dialog_, &frmRefresh::Ended, &tools, &ToolsMenu::Finish);
    connect(&drives, &DriveTools::PluggedIn, this, &RefreshTools::PluggedIn);
    connect(&drives, &DriveTools::DrivesChanged, this, [this] { offer_->Check(catalogue_); });
    connect(offer_, &RefreshOffer::RefreshWanted, dialog_, &frmRefresh::PlanDrive);
}

QWidget* RefreshTools::Offer() const { return offer_; }

void RefreshTools::PluggedIn(const QString& drive) {
    if (!catalogue_.Store.DBOpen() || catalogue_.Store.ReadOnly()) return;
    offer_->Offer(drive);
}
