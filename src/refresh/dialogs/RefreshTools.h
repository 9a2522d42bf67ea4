// SPDX-License-Identifier: GPL-3.0-or-later
// The window's Refresh: Tools > Refresh..., and the status bar's offer to refresh a drive that is
// plugged in while the program runs. Its runs end as the other tools' do, through the tools menu.
#pragma once

#include <QObject>

#include "model/Catalogue.h"
#include "support/modSettings.h"

class DriveTools;
class Prompts;
class RefreshOffer;
class ToolsMenu;
class frmRefresh;

class RefreshTools : public QObject {
    Q_OBJECT

public:
    // Adds Refresh... to the tools menu, whose Busy, StatusChanged, Cancel and ToolEnded then cover
    // Refresh too; drives tells which drive was plugged in.
    RefreshTools(const Catalogue& catalogue, const Settings& settings, Prompts& prompts, ToolsMenu& tools, DriveTools& drives,
                 QWidget* window);

    // For the window's status bar.
    QWidget* Offer() const;

private:
    void PluggedIn(const QString& drive);

    const Catalogue& catalogue_;
    RefreshOffer* offer_;
    frmRefresh* dialog_;
};
