// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/DesktopRecent.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

#include <utility>

#include "support/modUtilities.h"

namespace {

const QString kBookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kMetadataOwner = QStringLiteral("http://freedesktop.org");

// The document is read without namespace processing, so that the prefixes GTK reads by name
// ("bookmark:", "mime:") are written back exactly as they were.
QDomElement ChildNamed(QDomElement parent, const QString& tag, const QString& attribute = {}, const QString& value = {}) {
    for (QDomElement child = parent.firstChildElement(tag); !child.isNull(); child = child.nextSiblingElement(tag)) {
        if (attribute.isEmpty() || child.attribute(attribute) == value) return child;
    }
    QDomElement made = parent.ownerDocument().createElement(tag);
    if (!attribute.isEmpty()) made.setAttribute(attribute, value);
    parent.appendChild(made);
    return made;
}

QDomDocument EmptyList() {
    QDomDocument document;
    document.appendChild(document.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    QDomElement root = document.createElement(QStringLiteral("xbel"));
    root.setAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    document.appendChild(root);
    return document;
}

// A list written by a program that had no use for one of the prefixes may not declare it; the
// elements added here need both, or a reader that checks namespaces refuses the whole file.
void DeclarePrefixes(QDomElement root) {
    for (const auto& [prefix, ns] : {std::pair{QStringLiteral("xmlns:bookmark"), kBookmarkNs}, std::pair{QStringLiteral("xmlns:mime"), kMimeNs}}) {
        if (!root.hasAttribute(prefix)) root.setAttribute(prefix, ns);
    }
}

void Touch(QDomElement bookmark, const QString& mimeType, const QString& program, const QString& now) {
    if (!bookmark.hasAttribute(QStringLiteral("added"))) bookmark.setAttribute(QStringLiteral("added"), now);
    bookmark.setAttribute(QStringLiteral("modified"), now);
    bookmark.setAttribute(QStringLiteral("visited"), now);
    QDomElement metadata = ChildNamed(ChildNamed(bookmark, QStringLiteral("info")), QStringLiteral("metadata"),
                                      QStringLiteral("owner"), kMetadataOwner);
    ChildNamed(metadata, QStringLiteral("mime:mime-type")).setAttribute(QStringLiteral("type"), mimeType);
    QDomElement application = ChildNamed(ChildNamed(metadata, QStringLiteral("bookmark:applications")),
                                         QStringLiteral("bookmark:application"), QStringLiteral("name"),
                                         QCoreApplication::applicationName());
    application.setAttribute(QStringLiteral("exec"), QStringLiteral("'%1 %u'").arg(program));
    application.setAttribute(QStringLiteral("modified"), now);
    application.setAttribute(QStringLiteral("count"), application.attribute(QStringLiteral("count")).toInt() + 1);
}

}  // namespace

QString DesktopRecentFile() { return QString::fromStdString(DataHome()) + QStringLiteral("recently-used.xbel"); }

QString AddToDesktopRecent(const QString& filePath, const QString& mimeType, const QString& program) {
    const QString listPath = DesktopRecentFile();
    QDomDocument document = EmptyList();
    if (QFile existing(listPath); existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) return QStringLiteral("cannot read %1: %2").arg(listPath, existing.errorString());
        QDomDocument read;
        if (!read.setContent(&existing, false) || read.documentElement().tagName() != QStringLiteral("xbel"))
            return QStringLiteral("%1 is not a recent-files list; it was left as it is").arg(listPath);
        document = read;
    }
    const QString href = QString::fromUtf8(QUrl::fromLocalFile(filePath).toEncoded());
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    DeclarePrefixes(document.documentElement());
    Touch(ChildNamed(document.documentElement(), QStringLiteral("bookmark"), QStringLiteral("href"), href), mimeType, program, now);

    QDir().mkpath(QString::fromStdString(DataHome()));  // a fresh account may have no data folder yet
    QSaveFile replacement(listPath);
    if (!replacement.open(QIODevice::WriteOnly)) return QStringLiteral("cannot write %1: %2").arg(listPath, replacement.errorString());
    replacement.write(document.toByteArray(2));
    if (!replacement.commit()) return QStringLiteral("cannot write %1: %2").arg(listPath, replacement.errorString());
    return {};
}
