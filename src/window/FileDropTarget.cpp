// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/FileDropTarget.h"

#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "tools/DirectoryScan.h"

namespace {

// Folders, remote addresses and anything else that is not a local file are left out.
QStringList LocalFiles(const QMimeData* mime) {
    QStringList files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && IsExistingFile(QFile::encodeName(url.toLocalFile()).toStdString()))
            files << url.toLocalFile();
    }
    return files;
}

}  // namespace

FileDropTarget::FileDropTarget(QWidget* area, QGroupBox* frame, QLabel* hint)
    : QObject(area), frame_(frame), hint_(hint), restingHint_(hint->text()) {
    area->setAcceptDrops(true);
    area->installEventFilter(this);
    for (QWidget* child : area->findChildren<QWidget*>()) {
        if (child->acceptDrops()) child->installEventFilter(this);
    }
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        const QStringList files = LocalFiles(drag->mimeData());
        if (files.isEmpty()) return false;  // a text box may still take dragged text
        drag->acceptProposedAction();
        Light(true);
        hint_->setText(tr("Release to fill in the form from %1").arg(QFileInfo(files.first()).fileName()));
        return true;
    }
    case QEvent::DragLeave:
        Light(false);
        return false;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = LocalFiles(drop->mimeData());
        Light(false);
        if (files.isEmpty()) return false;
        drop->acceptProposedAction();
        Q_EMIT FilesDropped(files);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void FileDropTarget::Light(bool on) {
    frame_->setAutoFillBackground(on);
    frame_->setBackgroundRole(on ? QPalette::Highlight : QPalette::Window);
    hint_->setForegroundRole(on ? QPalette::HighlightedText : QPalette::WindowText);
    if (!on) hint_->setText(restingHint_);
}
