// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/OptionsMenu.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "support/modFileAssociation.h"
#include "support/modSettings.h"
#include "widgets/Prompts.h"

OptionsMenu::OptionsMenu(AppState& state, Prompts& prompts, QWidget* parent)
    : QMenu(tr("&Options"), parent), state_(state), prompts_(prompts) {
    setObjectName(QStringLiteral("mnuOptions"));
    autoCalculateCRC_ = addAction(tr("Auto Calculate CRC"));
    autoCalculateCRC_->setObjectName(QStringLiteral("mnuAutoCalculateCRC"));
    autoCalculateCRC_->setCheckable(true);
    connect(autoCalculateCRC_, &QAction::triggered, this, &OptionsMenu::ToggleAutoCalculateCRC);
    QAction* associate = addAction(tr("Create File Association"));
    associate->setObjectName(QStringLiteral("mnuCreateFileAssociation"));
    connect(associate, &QAction::triggered, this, &OptionsMenu::CreateFileAssociation);
    addSeparator();
    sortNamesNaturally_ = AddSetting("mnuSortNamesNaturally", tr("Sort Names Naturally"), &Settings::SortNamesNaturally,
                                     "SortNamesNaturally", &OptionsMenu::SortNamesNaturallyChanged);
    showExactNumbers_ = AddSetting("mnuShowExactNumbers", tr("Show Exact Numbers"), &Settings::ShowExactNumbers,
                                   "ShowExactNumbers", &OptionsMenu::ShowExactNumbersChanged);
}

// A checkable item kept in rv.ini under key.
QAction* OptionsMenu::AddSetting(const char* name, const QString& text, bool Settings::*setting, const char* key,
                                 void (OptionsMenu::*changed)(bool)) {
    QAction* item = addAction(text);
    item->setObjectName(QString::fromUtf8(name));
    item->setCheckable(true);
    item->setChecked(state_.settings.*setting);
    connect(item, &QAction::triggered, this, [this, setting, key, changed](bool on) {
        state_.settings.*setting = on;
        Save(key, on ? "true" : "false");
        Q_EMIT(this->*changed)(on);
    });
    return item;
}

void OptionsMenu::LoadSettings() {
    if (std::string error = ::LoadSettings(state_.ini, state_.settings); !error.empty()) ShowError(error);
    autoCalculateCRC_->setChecked(state_.settings.AutoCalculateCRC);
    sortNamesNaturally_->setChecked(state_.settings.SortNamesNaturally);
    showExactNumbers_->setChecked(state_.settings.ShowExactNumbers);
    Q_EMIT SortNamesNaturallyChanged(state_.settings.SortNamesNaturally);
    Q_EMIT ShowExactNumbersChanged(state_.settings.ShowExactNumbers);
}

void OptionsMenu::RememberFolderOf(const std::string& path) {
    const QString folder = QFileInfo(QString::fromStdString(path)).absolutePath();
    state_.settings.LastDir = (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')).toStdString();
    Save("LastDir", state_.settings.LastDir);
}

void OptionsMenu::RememberColumns(const QStringList& shown) {
    state_.settings.ListColumns = shown.join(QLatin1Char(';')).toStdString();
    Save("ListColumns", state_.settings.ListColumns);
}

void OptionsMenu::ToggleAutoCalculateCRC(bool on) {
    state_.settings.AutoCalculateCRC = on;
    Save("AutoCalculateCRC", on ? "true" : "false");
}

// For the program as it runs now, so that running it again repairs or moves the association.
void OptionsMenu::CreateFileAssociation() {
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    if (const std::string error = ::CreateFileAssociation(program); !error.empty()) return ShowError(error);
    prompts_.Tell(parentWidget(), tr("Create File Association"), tr("Reelvault now opens .rvd files"));
}

// A key missing from a hand-edited rv.ini is added back rather than the change silently lost.
void OptionsMenu::Save(const std::string& key, const std::string& value) {
    if (!state_.ini.ChangeVariable(key, value)) state_.ini.AddVariable(key, value);
    if (std::string error = state_.ini.SaveINI(); !error.empty()) ShowError(error);
}

void OptionsMenu::ShowError(const std::string& message) { prompts_.Tell(parentWidget(), tr("Error"), QString::fromStdString(message), true); }
