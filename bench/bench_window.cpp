// SPDX-License-Identifier: GPL-3.0-or-later
// The window with a large catalogue: the first painted window with none; opening one from the
// command line until its rows show, beside the model's load alone; the longest pause of the event
// loop meanwhile; a header click's sort on every column; the program's memory.
// bench_window CATALOGUE (runs offscreen unless QT_QPA_PLATFORM says otherwise)
// Prints one figure a line: label|value|unit|bound|ok or MISSED (bound and verdict may be empty),
// which window.bench.sh sets beside those of another catalogue.
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "WindowTiming.h"
#include "store/modSchema.h"
#include "listing/ListRow.h"
#include "widgets/Prompts.h"
#include "window/frmMain.h"

namespace {

void Figure(const std::string& label, double value, const char* unit, const std::string& bound = {}, int verdict = -1) {
    std::printf("%s|%.3f|%s|%s|%s\n", label.c_str(), value, unit, bound.c_str(), verdict < 0 ? "" : verdict ? "ok" : "MISSED");
}

QTableView* List(frmMain& window) { return window.findChild<QTableView*>(QStringLiteral("lstFile")); }

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

// In a process of its own, forked before anything else: its heap is as fresh as the one the
// window's first open meets, and its memory is not counted as the window's.
double ModelLoadSecondsApart(const std::string& path) {
    int channel[2];
    if (pipe(channel) != 0) Fail("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        const double seconds = ModelLoadSeconds(path);
        _exit(write(channel[1], &seconds, sizeof seconds) == sizeof seconds ? 0 : 1);
    }
    close(channel[1]);
    double seconds = 0;
    if (read(channel[0], &seconds, sizeof seconds) != sizeof seconds) Fail("the model's load failed");
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return seconds;
}

// Opens the catalogue as the command line does, until the list holds its rows and has been painted.
Timed OpenWindow(const std::string& path, std::unique_ptr<AppState>& state, Prompts& prompts, std::unique_ptr<frmMain>& window) {
    Timed best;
    for (int run = 0; run < 3; ++run) {
        window.reset();
        state.reset();
        state = std::make_unique<AppState>();
        window = std::make_unique<frmMain>(*state, prompts);
        window->show();
        const Timed opening = TimeWithPauses([&] { window->Start({QString::fromStdString(path)}); },
                                             [&] {
                                                 QTest::qWaitFor([&] { return !window->Busy(); }, 600000);
                                                 List(*window)->viewport()->repaint();
                                             });
        if (opening.Seconds < best.Seconds) best = opening;
        best.LongestPauseMs = std::max(best.LongestPauseMs, opening.LongestPauseMs);  // the worst a person met
    }
    return best;
}

double SortSeconds(QTableView* list, int column) {
    QHeaderView* header = list->horizontalHeader();
    list->horizontalScrollBar()->setValue(header->sectionPosition(column));  // the header can be clicked where it shows
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(column) + 5, 5));
    list->viewport()->repaint();
    return timer.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: bench_window CATALOGUE");
    const double model = ModelLoadSecondsApart(argv[1]);
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string path = argv[1];
    Prompts prompts;
    auto state = std::make_unique<AppState>();
    auto window = std::make_unique<frmMain>(*state, prompts);
    window->show();
    window->Start({});
    window->repaint();
    Figure("start to the first painted window, no catalogue", sinceStart.nsecsElapsed() / 1e9, "s");

    const Timed opening = OpenWindow(path, state, prompts, window);
    QTableView* list = List(*window);
    const int rows = list->model()->rowCount();
    Figure("rows", rows, "");
    // The bound of the open: a small catalogue against the model's load, a large one in seconds.
    Figure("open from the command line until the rows show", opening.Seconds, "s", rows > 500'000 ? "< 3" : "",
           rows > 500'000 ? opening.Seconds < 3 : -1);
    Figure("longest pause of the window meanwhile", opening.LongestPauseMs, "ms", "<= 100", opening.LongestPauseMs <= 100);
    double slowest = 0;
    for (int column = 0; column < kListColumnCount; ++column) {
        const double seconds = std::max(SortSeconds(list, column), SortSeconds(list, column));
        slowest = std::max(slowest, seconds);
        Figure(std::string("sort by ") + kListColumns[column].Header + ", slower of two clicks", seconds, "s", "< 1", seconds < 1);
    }
    Figure("memory after the open and the sorts", ResidentMiB(), "MB", "< 700", ResidentMiB() < 700);
    Figure("peak memory", ResidentMiB("VmHWM"), "MB", "< 700", ResidentMiB("VmHWM") < 700);
    Figure("the model's load alone", model, "s");
    Figure("open / the model's load alone", opening.Seconds / model, "", rows <= 500'000 ? "<= 1.3" : "",
           rows <= 500'000 ? opening.Seconds / model <= 1.3 : -1);
    return 0;
}
