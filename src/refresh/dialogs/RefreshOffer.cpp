// SPDX-License-Identifier: GPL-3.0-or-later
#include "refresh/dialogs/RefreshOffer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "widgets/Controls.h"

RefreshOffer::RefreshOffer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fraRefreshOffer"));
    text_ = Named(new QLabel, "lblRefreshOffer");
    text_->setTextFormat(Qt::PlainText);
    refresh_ = MakeButton("cmdRefreshOffer", "Re&fresh...");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    layout->addWidget(refresh_);
    connect(refresh_, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT RefreshWanted(drive_);
    });
    hide();
}

void RefreshOffer::Offer(const QString& drive) {
    drive_ = drive;
    text_->setText(tr("%1 is plugged in:").arg(drive));
    refresh_->setAccessibleName(tr("Refresh %1").arg(drive));
    show();
}

void RefreshOffer::Check(const Catalogue& catalogue) {
    if (isHidden()) return;
    const Drive* drive = catalogue.Drives.ByName(drive_.toStdString());
    const bool writable = catalogue.Store.DBOpen() && !catalogue.Store.ReadOnly();
    if (!drive || !drive->Plugged() || !writable) hide();
}

QString RefreshOffer::Text() const { return isHidden() ? QString() : text_->text() + QLatin1Char(' ') + refresh_->text().remove(QLatin1Char('&')); }
