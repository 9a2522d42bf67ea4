// SPDX-License-Identifier: GPL-3.0-or-later
// A record's stored frame on screen: the picture on the Add/Edit tab, and the list's tooltips. The
// frame is read from the catalogue one record at a time, when it is shown, so it shows while the
// file's drive is away and never slows the list's load.
#pragma once

#include <QLabel>
#include <QPixmap>

#include <string>

#include "store/clsSQLite.h"

class FramePicture : public QLabel {
    Q_OBJECT

public:
    explicit FramePicture(QWidget* parent = nullptr);

    // Shows the frame stored for the record, or a sentence saying there is none (yet).
    void ShowFrameOf(clsSQLite& store, int fileID, const std::string& path);
    // Shows nothing: the form holds no record.
    void Empty();
    // The record shown; -1 for none.
    int FileID() const { return fileID_; }
    bool ShowsPicture() const;
    // The frame as stored; shown scaled down to the room the form leaves it.
    QSize PictureSize() const { return picture_.size(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPicture(QPixmap picture);
    void FitPicture();

    int fileID_ = -1;
    QPixmap picture_;
};

// A tooltip of the record's frame above text, as rich text; text alone when no frame is stored.
QString FrameToolTip(clsSQLite& store, int fileID, const std::string& path, const QString& text);
