// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's offer to re-point the records of a drive that is mounted at another place than
// their paths say, one drive at a time; or the report of a drive that two devices claim at once,
// for which nothing is offered, since which of them holds the records cannot be known.
#pragma once

#include <QWidget>

#include "model/Catalogue.h"

class QLabel;
class QPushButton;

class RebindOffer : public QWidget {
    Q_OBJECT

public:
    explicit RebindOffer(QWidget* parent = nullptr);

    // Looks at the drives as the catalogue's set now sees them, and shows the first drive to offer
    // or report; hides when there is none. Nothing is offered for a catalogue that cannot be written.
    void Refresh(const Catalogue& catalogue);
    QString Text() const;

Q_SIGNALS:
    // Re-point was pressed for the drive with this name.
    void RepointWanted(const QString& drive);

private:
    QLabel* text_;
    QPushButton* repoint_;
    QString drive_;
};

// The devices that claim the drive's identity now, as the mount table names them: "/dev/sdb1".
QStringList DevicesOf(const Catalogue& catalogue, const Drive& drive);
