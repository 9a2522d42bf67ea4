// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's offer to refresh a drive of the catalogue that was plugged in while the program
// runs: "FILMS-2 is plugged in: Refresh...". One drive at a time, the last plugged in.
#pragma once

#include <QWidget>

#include "model/Catalogue.h"

class QLabel;
class QPushButton;

class RefreshOffer : public QWidget {
    Q_OBJECT

public:
    explicit RefreshOffer(QWidget* parent = nullptr);

    // Offers the drive with this name.
    void Offer(const QString& drive);
    // Withdraws the offer when its drive is no longer plugged in, known or writable.
    void Check(const Catalogue& catalogue);
    // The offer as a person reads it; "" when there is none.
    QString Text() const;

Q_SIGNALS:
    // Refresh... was pressed for the drive with this name; the offer is withdrawn.
    void RefreshWanted(const QString& drive);

private:
    QLabel* text_;
    QPushButton* refresh_;
    QString drive_;
};
