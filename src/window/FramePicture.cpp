// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/FramePicture.h"

#include <QPixmap>

#include <optional>

#include "frames/FrameStore.h"

namespace {

std::optional<StoredFrame> Stored(clsSQLite& store, int fileID, const std::string& path) {
    std::optional<StoredFrame> found;
    if (!ReadFrame(store, fileID, path, found).empty()) return std::nullopt;  // shown as no frame yet
    return found;
}

}  // namespace

FramePicture::FramePicture(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("picAddFrame"));
    setAccessibleName(tr("Frame"));
    setAlignment(Qt::AlignCenter);
    setMinimumSize(160, 90);
    // As wide as a frame, so the Media box beside it keeps its place; the height is what the form
    // leaves, so a tall frame never pushes the list down.
    setFixedWidth(kFrameWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    setWordWrap(true);
}

void FramePicture::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    FitPicture();
}

void FramePicture::ShowPicture(QPixmap picture) {
    picture_ = std::move(picture);
    FitPicture();
}

void FramePicture::FitPicture() {
    if (picture_.isNull()) return setPixmap({});
    const bool fits = picture_.width() <= width() && picture_.height() <= height();
    setPixmap(fits ? picture_ : picture_.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void FramePicture::ShowFrameOf(clsSQLite& store, int fileID, const std::string& path) {
    fileID_ = fileID;
    const std::optional<StoredFrame> frame = Stored(store, fileID, path);
    QPixmap picture;
    if (frame && !frame->Jpeg.empty() &&
        picture.loadFromData(reinterpret_cast<const uchar*>(frame->Jpeg.data()), static_cast<uint>(frame->Jpeg.size()), "JPEG")) {
        ShowPicture(std::move(picture));
        setToolTip({});
        return;
    }
    ShowPicture({});
    setText(frame ? tr("No frame: this file holds no picture") : tr("No frame yet"));
    setToolTip(frame ? QString::fromStdString(frame->Note) : QString());
}

void FramePicture::Empty() {
    fileID_ = -1;
    ShowPicture({});
    setText({});
    setToolTip({});
}

bool FramePicture::ShowsPicture() const { return !picture_.isNull(); }

QString FrameToolTip(clsSQLite& store, int fileID, const std::string& path, const QString& text) {
    const std::optional<StoredFrame> frame = Stored(store, fileID, path);
    if (!frame || frame->Jpeg.empty()) return text;
    const QByteArray jpeg = QByteArray(frame->Jpeg.data(), static_cast<qsizetype>(frame->Jpeg.size())).toBase64();
    return QStringLiteral("<img src=\"data:image/jpeg;base64,%1\"><br>%2")
        .arg(QString::fromLatin1(jpeg), text.toHtmlEscaped());
}
