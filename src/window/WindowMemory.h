// SPDX-License-Identifier: GPL-3.0-or-later
// What the window looked like when it was last closed, kept per user in rv.ini's section [Window]:
// its size, place and maximised state, the tab in front, the split between the tabs and the list,
// the list's column widths and order, and the column the list was sorted by, and which way. Which
// columns show is the list's own setting (ListColumns), which this leaves to the list.
#pragma once

#include <QObject>

#include <string>

class FileListModel;
class QMainWindow;
class QSplitter;
class QTabWidget;
class ResultsList;
class clsINIParse;

class WindowMemory : public QObject {
    Q_OBJECT

public:
    WindowMemory(QMainWindow& window, QTabWidget& tabs, QSplitter& split, ResultsList& list, FileListModel& model, clsINIParse& ini);

    // Puts the window back as the last run left it, once ini is loaded, best before it shows. What
    // ini lacks or cannot be read stays as it is now.
    void Restore();
    // Keeps the window as it is now. Returns "" or why rv.ini could not be written; writes nothing
    // when nothing changed.
    std::string Save();

private:
    std::string Value(const std::string& key) const;

    QMainWindow& window_;
    QTabWidget& tabs_;
    QSplitter& split_;
    ResultsList& list_;
    FileListModel& model_;
    clsINIParse& ini_;
};
