// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/RecentMenu.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <string>

#include "data/DesktopFiles.h"
#include "support/clsINIParse.h"
#include "widgets/Prompts.h"
#include "window/DesktopRecent.h"

namespace {

const std::string kSection = "Recent";

std::string Key(int number) { return "File" + std::to_string(number); }

// A name with a line break could not be written back to rv.ini as one line.
bool Storable(const QString& path) { return !path.isEmpty() && !path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r')); }

}  // namespace

RecentMenu::RecentMenu(clsINIParse& ini, Prompts& prompts, QWidget* parent)
    : QMenu(tr("Open &Recent"), parent), ini_(ini), prompts_(prompts) {
    setObjectName(QStringLiteral("mnuOpenRecent"));
    setToolTipsVisible(true);
    clear_ = new QAction(tr("&Clear Recent"), this);
    clear_->setObjectName(QStringLiteral("mnuClearRecent"));
    // Connected in the action's own name: a menu cuts its own connections to an action it gives up.
    connect(clear_, &QAction::triggered, clear_, [this] { Clear(); });
    // A file may come or go while the program runs: each time the menu opens it says which is there.
    connect(this, &QMenu::aboutToShow, this, &RecentMenu::Rebuild);
    Rebuild();
}

void RecentMenu::Load() {
    paths_.clear();
    for (int number = 1; number <= kMostKept; ++number) {
        const QString path = QString::fromStdString(ini_.GetSectionVariableValue(kSection, Key(number)));
        if (!path.isEmpty() && !paths_.contains(path)) paths_ << path;
    }
    Rebuild();
}

QString RecentMenu::Remember(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!Storable(absolute)) return {};
    paths_.removeAll(absolute);
    paths_.prepend(absolute);
    while (paths_.size() > kMostKept) paths_.removeLast();
    Save();
    Rebuild();
    const auto text = [](std::string_view view) { return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size())); };
    return AddToDesktopRecent(absolute, text(desktop_files::kMimeType), QCoreApplication::applicationFilePath());
}

void RecentMenu::Rebuild() {
    for (QAction* old : actions()) {
        removeAction(old);
        if (old == clear_) continue;
        old->setObjectName({});  // gone, though it may still be in the middle of its own signal
        old->deleteLater();
    }
    for (int at = 0; at < paths_.size(); ++at) {
        const QString path = paths_[at];
        const QString caption = QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"));  // not a mnemonic
        QAction* entry = addAction(QStringLiteral("&%1 %2").arg(QString::number(at + 1), caption));
        entry->setObjectName(QStringLiteral("mnuRecent%1").arg(at + 1));
        if (!QFileInfo(path).isFile()) {
            entry->setEnabled(false);
            entry->setToolTip(tr("Not found: moved, deleted, or on a drive not plugged in"));
        }
        connect(entry, &QAction::triggered, entry, [this, path] { Choose(path); });
    }
    addSeparator();
    addAction(clear_);
    clear_->setEnabled(!paths_.isEmpty());
    menuAction()->setEnabled(!paths_.isEmpty());
}

// The file may have gone since the menu was drawn; opening a name that is not there would make an
// empty file of it.
void RecentMenu::Choose(const QString& path) {
    if (!QFileInfo(path).isFile())
        return prompts_.Tell(parentWidget(), tr("Open Recent"), tr("%1 is no longer there: it was moved or deleted.").arg(path), true);
    Q_EMIT OpenWanted(path);
}

void RecentMenu::Clear() {
    paths_.clear();
    Save();
    Rebuild();
}

// Only File1 to File8 are ours to write; whatever else [Recent] holds is kept.
void RecentMenu::Save() {
    for (int number = 1; number <= kMostKept; ++number) {
        if (number > paths_.size()) {
            ini_.DeleteSectionVariable(kSection, Key(number));
            continue;
        }
        const std::string path = paths_[number - 1].toStdString();
        if (!ini_.ChangeSectionVariable(kSection, Key(number), path)) ini_.AddSectionVariable(kSection, Key(number), path);
    }
    if (const std::string error = ini_.SaveINI(); !error.empty())
        prompts_.Tell(parentWidget(), tr("Error"), QString::fromStdString(error), true);
}
