// SPDX-License-Identifier: GPL-3.0-or-later
// The window's drives: the catalogue's drive set is kept in step with the mount table while the
// program runs, a drive mounted elsewhere is offered for re-pointing in the status bar, and Tools >
// Drives lists them all. Re-point and Forget run off the window's thread, and end, as the other tools do.
#pragma once

#include <QObject>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

class DriveWatcher;
class MountedVolumes;
class Prompts;
class QAction;
class RebindOffer;
class ToolsMenu;
class frmDrives;
class frmToolProgress;

class DriveTools : public QObject {
    Q_OBJECT

public:
    // Adds Drives... to the tools menu, whose Busy, StatusChanged and Cancel then cover the drives'
    // runs too.
    DriveTools(Catalogue& catalogue, Prompts& prompts, ToolsMenu& tools, QWidget* window);

    // For the window's status bar.
    QWidget* Offer() const;
    // Drives... can be used, read-only or not, while a catalogue is open.
    void EnableDrives();
    // After the window loaded its sets anew: says once what the load found wrong with the
    // catalogue's own tables, then looks at the drives again.
    void SetsReloaded();

Q_SIGNALS:
    // The drives were plugged in or out, or renamed: what shows them is out of date.
    void DrivesChanged();
    // A drive of the catalogue was plugged in while the program runs (not one plugged in already
    // when the sets were loaded).
    void PluggedIn(const QString& drive);

private:
    void TakeMounts(const MountedVolumes& mounted);
    void Refresh();
    void Repoint(const QString& drive);
    void Forget(const QString& drive);

    Catalogue& catalogue_;
    Prompts& prompts_;
    ToolsMenu& tools_;  // whose end of a run is the drives' too
    QWidget* window_;
    QAction* drivesItem_;
    DriveWatcher* watcher_;
    RebindOffer* offer_;
    frmDrives* dialog_;
    frmToolProgress* progress_;
    std::string noteShown_;  // the last note of the own tables, and the catalogue it was for
    std::string noteFor_;
    bool watchErrorShown_ = false;
};
