// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowMemory.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QSplitter>
#include <QTabWidget>

#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "support/clsINIParse.h"
#include "window/FileListModel.h"
#include "window/ResultsList.h"

namespace {

const std::string kSection = "Window";

// Qt's saved states are binary; base64 keeps each on one line of rv.ini.
std::string Text(const QByteArray& state) { return state.toBase64().toStdString(); }
QByteArray State(const std::string& text) { return QByteArray::fromBase64(QByteArray::fromStdString(text)); }

std::optional<int> Number(const std::string& text) {
    bool ok = false;
    const int number = QString::fromStdString(text).toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

}  // namespace

WindowMemory::WindowMemory(QMainWindow& window, QTabWidget& tabs, QSplitter& split, ResultsList& list, FileListModel& model,
                           clsINIParse& ini)
    : QObject(&window), window_(window), tabs_(tabs), split_(split), list_(list), model_(model), ini_(ini) {
    // File > Exit ends the run without closing the window; the window is kept all the same. No
    // dialog can be shown any more, so a failure goes where a program's last words go.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (const std::string error = Save(); !error.empty()) std::fprintf(stderr, "rv: %s\n", error.c_str());
    });
}

std::string WindowMemory::Value(const std::string& key) const { return ini_.GetSectionVariableValue(kSection, key); }

// Each restore checks what it reads, so a state from another version or a hand edit is passed over.
void WindowMemory::Restore() {
    window_.restoreGeometry(State(Value("Geometry")));
    window_.restoreState(State(Value("State")));
    if (const auto tab = Number(Value("Tab")); tab && *tab >= 0 && *tab < tabs_.count()) tabs_.setCurrentIndex(*tab);
    split_.restoreState(State(Value("Split")));
    list_.horizontalHeader()->restoreState(State(Value("ListHeader")));
    const auto column = Number(Value("SortColumn"));
    const auto ascending = Number(Value("SortAscending"));
    if (column && ascending) list_.RestoreSort(*column, *ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

std::string WindowMemory::Save() {
    std::vector<std::pair<std::string, std::string>> values = {
        {"Geometry", Text(window_.saveGeometry())},
        {"State", Text(window_.saveState())},
        {"Tab", std::to_string(tabs_.currentIndex())},
        {"Split", Text(split_.saveState())},
        {"ListHeader", Text(list_.horizontalHeader()->saveState())},
    };
    if (model_.IsSorted()) {
        values.emplace_back("SortColumn", std::to_string(model_.SortColumn()));
        values.emplace_back("SortAscending", model_.Order() == Qt::AscendingOrder ? "1" : "0");
    }
    bool changed = false;
    for (const auto& [key, value] : values) {
        if (Value(key) == value) continue;
        changed = true;
        if (!ini_.ChangeSectionVariable(kSection, key, value)) ini_.AddSectionVariable(kSection, key, value);
    }
    return changed ? ini_.SaveINI() : std::string();
}
