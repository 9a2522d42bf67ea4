// SPDX-License-Identifier: GPL-3.0-or-later
// The window with a large catalogue: opening it from the command line beside the model's load alone,
// the longest pause of the event loop meanwhile, a header click's sort, and the program's memory.
// bench_window CATALOGUE (runs offscreen unless QT_QPA_PLATFORM says otherwise)
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

#include "BenchSupport.h"
#include "WindowTiming.h"
#include "store/modSchema.h"
#include "window/Prompts.h"
#include "window/frmMain.h"

namespace {

double ModelLoadSeconds(const std::string& path) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        Catalogue catalogue;
        OpenCatalogue(catalogue.Store, path);
        QElapsedTimer timer;
        timer.start();
        catalogue.Reload();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

// Opens the catalogue as the command line does, until the list holds its rows and has been painted.
Timed OpenWindow(const std::string& path, std::unique_ptr<AppState>& state, Prompts& prompts, std::unique_ptr<frmMain>& window) {
    Timed best;
    for (int run = 0; run < 3; ++run) {
        window.reset();
        state = std::make_unique<AppState>();
        window = std::make_unique<frmMain>(*state, prompts);
        window->show();
        const Timed opening = TimeWithPauses([&] { window->Start({QString::fromStdString(path)}); },
                                             [&] { window->findChild<QTableView*>(QStringLiteral("lstFile"))->viewport()->repaint(); });
        if (opening.Seconds < best.Seconds) best = opening;
    }
    return best;
}

double SortSeconds(QTableView* list, int column) {
    QHeaderView* header = list->horizontalHeader();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(column) + 5, 5));
    list->viewport()->repaint();
    return timer.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_window CATALOGUE\n");
        return 1;
    }
    const std::string path = argv[1];
    const double model = ModelLoadSeconds(path);
    std::unique_ptr<AppState> state;
    Prompts prompts;
    std::unique_ptr<frmMain> window;
    const Timed opening = OpenWindow(path, state, prompts, window);
    auto* list = window->findChild<QTableView*>(QStringLiteral("lstFile"));
    const int rows = list->model()->rowCount();
    std::printf("%-46s %7.3f s; the model's load alone %.3f s; ratio %.2f (bound <= 1.5) %s\n",
                ("open " + std::to_string(rows) + " files from the command line").c_str(), opening.Seconds, model,
                opening.Seconds / model, opening.Seconds / model <= 1.5 ? "ok" : "MISSED");
    std::printf("%-46s %7.0f ms\n", "  longest pause of the window meanwhile", opening.LongestPauseMs);
    for (const auto& [column, name] : {std::pair{5, "Size"}, {1, "Title"}}) {
        const double seconds = std::max(SortSeconds(list, column), SortSeconds(list, column));
        std::printf("%-46s %7.3f s (bound < 0.5) %s\n", (std::string("sort by ") + name + ", slower of two clicks").c_str(),
                    seconds, seconds < 0.5 ? "ok" : "MISSED");
    }
    std::printf("%-46s %7.1f MB (bound < 300) %s\n", "memory of the program", ResidentMiB(), ResidentMiB() < 300 ? "ok" : "MISSED");
    return 0;
}
