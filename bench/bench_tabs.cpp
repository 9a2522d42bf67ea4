// SPDX-License-Identifier: GPL-3.0-or-later
// The Search, Categories and File Types tabs on a large catalogue: a search that lists every file
// beside `rvcli search --format csv` on the same catalogue, one that lists some, and deleting
// a file type and a category that thousands of files use; with the event loop's longest pause.
// bench_tabs RVCLI CATALOGUE SCRATCH [RUNS] (SCRATCH: where copies to delete from are made)
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "BenchSupport.h"
#include "WindowTiming.h"
#include "widgets/Prompts.h"
#include "window/frmMain.h"

namespace {

class AnswerYes : public Prompts {
public:
    void Tell(QWidget*, const QString&, const QString& text, bool) override { Fail("unexpected message: " + text.toStdString()); }
    bool Confirm(QWidget*, const QString&, const QString&) override { return true; }
};

void WaitUntilIdle(frmMain& window) {
    if (!QTest::qWaitFor([&] { return !window.Busy(); }, 600000)) Fail("the window stayed busy for ten minutes");
}

// Times act until what it started on a worker is done and the list has been painted.
Timed TimeInWindow(frmMain& window, const std::function<void()>& act) {
    return TimeWithPauses(act, [&] {
        WaitUntilIdle(window);
        window.findChild<QTableView*>(QStringLiteral("lstFile"))->viewport()->repaint();
    });
}

template <class T>
T* Control(frmMain& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromUtf8(name));
    if (!found) Fail(std::string("no control ") + name);
    return found;
}

int Rows(frmMain& window) { return Control<QTableView>(window, "lstFile")->model()->rowCount(); }

void Click(frmMain& window, const char* button) { QTest::mouseClick(Control<QPushButton>(window, button), Qt::LeftButton); }

// Opens a fresh copy of the catalogue, chooses the first entry of the list, and times its Delete.
Timed TimeDelete(const std::string& catalogue, const std::string& copy, const char* list, const char* button) {
    std::filesystem::copy_file(catalogue, copy, std::filesystem::copy_options::overwrite_existing);
    AppState state;
    AnswerYes prompts;
    frmMain window(state, prompts);
    window.show();
    window.Start({QString::fromStdString(copy)});
    WaitUntilIdle(window);
    Control<QListWidget>(window, list)->setCurrentRow(0);
    return TimeInWindow(window, [&] { Click(window, button); });
}

// One figure a line, label|value|unit|bound|verdict, which tabs.bench.sh sets beside another run's.
void Figure(const std::string& label, double value, const char* unit, const std::string& bound = {}, int verdict = -1) {
    std::printf("%s|%.3f|%s|%s|%s\n", label.c_str(), value, unit, bound.c_str(), verdict < 0 ? "" : verdict ? "ok" : "MISSED");
}

constexpr double kPauseBoundMs = 100;

// With a bound, the longest pause is held to the window's too.
void Report(const std::string& label, const Timed& timed, const std::string& bound = {}, int within = -1) {
    Figure(label, timed.Seconds, "s", bound, within);
    const bool bounded = within >= 0;
    Figure("  " + label + ": longest pause", timed.LongestPauseMs, "ms", bounded ? "<= 100" : "",
           bounded ? timed.LongestPauseMs <= kPauseBoundMs : -1);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4) Fail("usage: bench_tabs RVCLI CATALOGUE SCRATCH [RUNS]");
    const std::string catalogue = argv[2];
    const std::string copy = std::string(argv[3]) + "/deleting.rvd";
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;

    AppState state;
    AnswerYes prompts;
    frmMain window(state, prompts);
    window.show();
    window.Start({QString::fromStdString(catalogue)});
    WaitUntilIdle(window);
    double rvcli = 1e9;
    Timed all;
    Timed some;
    int allRows = 0;
    int someRows = 0;
    for (int run = 0; run < runs; ++run) {  // in turns, so that a noisy moment hits both alike
        rvcli = std::min(rvcli, CommandSeconds({argv[1], "search", catalogue, "--format", "csv"}));
        Click(window, "cmdSearchClear");
        Timed timed = TimeInWindow(window, [&] { Click(window, "cmdSearchSearch"); });
        allRows = Rows(window);
        if (timed.Seconds < all.Seconds) all = timed;
        Control<QComboBox>(window, "cboSearchSize")->setCurrentIndex(1);  // "<"
        Control<QLineEdit>(window, "txtSearchSize")->setText(QStringLiteral("40000000"));
        timed = TimeInWindow(window, [&] { Click(window, "cmdSearchSearch"); });
        someRows = Rows(window);
        if (timed.Seconds < some.Seconds) some = timed;
    }
    const double ratio = all.Seconds / rvcli;
    Figure("rows", allRows, "");
    Report("search listing every row", all, "< 1.5", all.Seconds < 1.5);
    Figure("  rvcli search --format csv", rvcli, "s");
    Figure("  search / rvcli", ratio, "", "<= 1.5", ratio <= 1.5);
    Figure("rows of a size under 40,000,000", someRows, "");
    Report("search listing those", some);

    Timed type;
    Timed category;
    for (int run = 0; run < std::min(runs, 3); ++run) {
        const Timed typed = TimeDelete(catalogue, copy, "lstFileFileType", "cmdFileFileTypeDelete");
        if (typed.Seconds < type.Seconds) type = typed;
        const Timed categorised = TimeDelete(catalogue, copy, "lstCategoryCategory", "cmdCategoryDelete");
        if (categorised.Seconds < category.Seconds) category = categorised;
    }
    std::filesystem::remove(copy);
    Report("delete a file type of 1 in 12 files", type, "< 1", type.Seconds < 1);
    Report("delete a category of 1 in 28 files", category, "< 1", category.Seconds < 1);
    const bool paused = std::max({all.LongestPauseMs, type.LongestPauseMs, category.LongestPauseMs}) > kPauseBoundMs;
    return all.Seconds < 1.5 && ratio <= 1.5 && type.Seconds < 1 && category.Seconds < 1 && !paused ? 0 : 1;
}
