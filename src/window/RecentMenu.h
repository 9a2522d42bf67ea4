// SPDX-License-Identifier: GPL-3.0-or-later
// File > Open Recent: the catalogues last opened or created, newest first, kept in rv.ini's section
// [Recent] as File1 to File8. One whose file is not there (moved, deleted, a drive unplugged) shows
// disabled and stays in the list until Clear Recent, so that it comes back when the file does.
#pragma once

#include <QMenu>
#include <QStringList>

class Prompts;
class clsINIParse;

class RecentMenu : public QMenu {
    Q_OBJECT

public:
    static constexpr int kMostKept = 8;

    // Reads and writes the list in ini; tells the person through prompts what could not be done.
    RecentMenu(clsINIParse& ini, Prompts& prompts, QWidget* parent);

    // Takes the list from ini, once it is loaded.
    void Load();
    // The catalogue at path was opened or created: it goes first, here and in the desktop's list
    // of recent files. Returns "" or why the desktop's list could not take it (rv.ini's failures
    // are told at once, as every setting's are).
    QString Remember(const QString& path);
    QStringList Paths() const { return paths_; }

Q_SIGNALS:
    // A recent catalogue was chosen and its file is there.
    void OpenWanted(const QString& path);

private:
    void Rebuild();
    void Choose(const QString& path);
    void Clear();
    void Save();

    clsINIParse& ini_;
    Prompts& prompts_;
    QStringList paths_;
    QAction* clear_;
};
