// SPDX-License-Identifier: GPL-3.0-or-later
// Makes a whole area of the window take files dropped from the file manager, with one frame in it
// lit up while a drag that it would take hovers over the area.
#pragma once

#include <QObject>
#include <QStringList>

class QDropEvent;
class QEvent;
class QGroupBox;
class QLabel;
class QWidget;

class FileDropTarget : public QObject {
    Q_OBJECT

public:
    // Takes drops on area and on every widget in it, the text boxes included (which would otherwise
    // paste the file's address). Only drags that carry at least one existing local file are taken.
    FileDropTarget(QWidget* area, QGroupBox* frame, QLabel* hint);

Q_SIGNALS:
    // The dropped local files, in the order the drag listed them.
    void FilesDropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Light(bool on);

    QGroupBox* frame_;
    QLabel* hint_;
    QString restingHint_;
};
