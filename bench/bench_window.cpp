// SPDX-License-Identifier: GPL-3.0-or-later
// The window with a large catalogue: the first painted window with none; opening one from the
// command line until its first rows show and until all of them do, the latter beside the model's
// load alone; the longest pause of the event loop meanwhile; a header click's sort on every column;
// the program's memory.
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

struct ModelLoad {
    double Seconds = 1e9;
    int Records = 0;
};

ModelLoad ModelLoadAlone(const std::string& path) {
    ModelLoad best;
    for (int run = 0; run < 3; ++run) {
        Catalogue catalogue;
        OpenCatalogue(catalogue.Store, path);
        QElapsedTimer timer;
        timer.start();
        catalogue.Reload();
        best.Seconds = std::min(best.Seconds, timer.nsecsElapsed() / 1e9);
        best.Records = catalogue.Files.Count();
    }
    return best;
}

// In a process of its own, forked before anything else: its heap is as fresh as the one the
// window's first open meets, and its memory is not counted as the window's.
ModelLoad ModelLoadApart(const std::string& path) {
    int channel[2];
    if (pipe(channel) != 0) Fail("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        const ModelLoad load = ModelLoadAlone(path);
        _exit(write(channel[1], &load, sizeof load) == sizeof load ? 0 : 1);
    }
    close(channel[1]);
    ModelLoad load;
    if (read(channel[0], &load, sizeof load) != sizeof load) Fail("the model's load failed");
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return load;
}

struct Opening {
    double FirstRows = 1e9;  // until the list shows its first rows, painted
    Timed Whole;             // until it holds every record, painted
};

// Whether the window shows rows before it has them all or not, and whether Start returns at once
// or once the load is over: the time until the first rows show, and until every row does.
Opening OpenOnce(frmMain& window, const std::string& path, int records) {
    Opening opening;
    QTableView* list = List(window);
    QElapsedTimer sinceStart;
    const auto waitFor = [&](int rows) {
        constexpr qint64 kGiveUpNs = 600'000'000'000;
        while (list->model()->rowCount() < rows) {
            if (sinceStart.nsecsElapsed() > kGiveUpNs) Fail("the window never showed every row");
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        list->viewport()->repaint();
    };
    opening.Whole = TimeWithPauses(
        [&] {
            sinceStart.start();
            window.Start({QString::fromStdString(path)});
            waitFor(std::min(records, 1));
            opening.FirstRows = sinceStart.nsecsElapsed() / 1e9;
        },
        [&] {
            waitFor(records);
            if (!QTest::qWaitFor([&] { return !window.Busy(); }, 600000)) Fail("the window stayed busy for ten minutes");
        });
    return opening;
}

// Opens the catalogue as the command line does, three times: the fastest, with the longest pause.
Opening OpenWindow(const std::string& path, int records, std::unique_ptr<AppState>& state, Prompts& prompts,
                   std::unique_ptr<frmMain>& window) {
    Opening best;
    for (int run = 0; run < 3; ++run) {
        window.reset();
        state.reset();
        state = std::make_unique<AppState>();
        window = std::make_unique<frmMain>(*state, prompts);
        window->show();
        const Opening opening = OpenOnce(*window, path, records);
        best.FirstRows = std::min(best.FirstRows, opening.FirstRows);
        best.Whole.Seconds = std::min(best.Whole.Seconds, opening.Whole.Seconds);
        best.Whole.LongestPauseMs = std::max(best.Whole.LongestPauseMs, opening.Whole.LongestPauseMs);  // the worst a person met
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
    const ModelLoad model = ModelLoadApart(argv[1]);
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

    const Opening opening = OpenWindow(path, model.Records, state, prompts, window);
    QTableView* list = List(*window);
    const int rows = list->model()->rowCount();
    const bool large = rows > 500'000;
    Figure("rows", rows, "");
    Figure("open from the command line until the first rows show", opening.FirstRows, "s", large ? "<= 2" : "",
           large ? opening.FirstRows <= 2 : -1);
    Figure("open from the command line until every row shows", opening.Whole.Seconds, "s");
    Figure("longest pause of the window meanwhile", opening.Whole.LongestPauseMs, "ms", "<= 100",
           opening.Whole.LongestPauseMs <= 100);
    double slowest = 0;
    for (int column = 0; column < kListColumnCount; ++column) {
        const double seconds = std::max(SortSeconds(list, column), SortSeconds(list, column));
        slowest = std::max(slowest, seconds);
        Figure(std::string("sort by ") + kListColumns[column].Header + ", slower of two clicks", seconds, "s", "< 0.6", seconds < 0.6);
    }
    Figure("memory after the open and the sorts", ResidentMiB(), "MB", "< 700", ResidentMiB() < 700);
    Figure("peak memory", ResidentMiB("VmHWM"), "MB", "< 700", ResidentMiB("VmHWM") < 700);
    Figure("the model's load alone", model.Seconds, "s");
    // A small catalogue's open is much besides the load; a large one's must be the load.
    const double ratio = opening.Whole.Seconds / model.Seconds;
    Figure("every row shows / the model's load alone", ratio, "", large ? "<= 1.1" : "<= 1.3", large ? ratio <= 1.1 : ratio <= 1.3);
    return 0;
}
