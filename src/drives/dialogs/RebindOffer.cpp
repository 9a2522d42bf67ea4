// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/dialogs/RebindOffer.h"

#include <QHBoxLayout>
#include <QLabel>

#include "drives/dialogs/DriveNotes.h"
#include "tools/RebindDrive.h"
#include "widgets/Controls.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QStringList DevicesOf(const Catalogue& catalogue, const Drive& drive) {
    QStringList devices;
    for (const MountedVolume& volume : catalogue.Drives.Mounted().All()) {
        if (volume.Is.Identity == drive.Identity && !devices.contains(Q(volume.At.Source))) devices << Q(volume.At.Source);
    }
    return devices;
}

RebindOffer::RebindOffer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fraRebindOffer"));
    text_ = Named(new QLabel, "lblRebindOffer");
    text_->setTextFormat(Qt::PlainText);
    repoint_ = MakeButton("cmdRepoint", "&Re-point");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    layout->addWidget(repoint_);
    connect(repoint_, &QPushButton::clicked, this, [this] { Q_EMIT RepointWanted(drive_); });
    hide();
}

QString RebindOffer::Text() const { return isHidden() ? QString() : text_->text(); }

void RebindOffer::Refresh(const Catalogue& catalogue) {
    drive_.clear();
    QString text;
    const bool writable = catalogue.Store.DBOpen() && !catalogue.Store.ReadOnly();
    for (const Drive& drive : catalogue.Drives.All()) {
        if (drive.Cloned) {
            text = tr("%1 is plugged in twice: %2 carry the same identity, so its records are left as they are until one is "
                      "unplugged")
                       .arg(Q(drive.Name), DevicesOf(catalogue, drive).join(tr(" and ")));
            break;
        }
        const int records = writable && drive.Plugged() ? RecordsToRepoint(catalogue, drive) : 0;
        if (records > 0) {
            drive_ = Q(drive.Name);
            text = tr("%1 is mounted at %2: re-point its %3?").arg(drive_, Q(drive.Place()), RecordCount(records));
            break;
        }
    }
    text_->setText(text);
    repoint_->setVisible(!drive_.isEmpty());
    setVisible(!text.isEmpty());
}
