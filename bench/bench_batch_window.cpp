// SPDX-License-Identifier: GPL-3.0-or-later
// The batch form through the window: 10,000 of a catalogue's rows chosen, a category and a keyword
// set for all of them, Save; the time until the list shows the change, and the longest the event
// loop went without turning meanwhile. bench_batch_window CATALOGUE SCRATCH
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <filesystem>

#include "BenchSupport.h"
#include "WindowTiming.h"
#include "model/modCatalogue.h"
#include "widgets/Prompts.h"
#include "window/frmMain.h"

namespace {

constexpr int kChosen = 10'000;
constexpr double kBoundSeconds = 1.0;
constexpr double kPauseBoundMs = 100;

class AnswerYes : public Prompts {
public:
    void Tell(QWidget*, const QString&, const QString& text, bool) override { Fail("unexpected message: " + text.toStdString()); }
    bool Confirm(QWidget*, const QString&, const QString&) override { return true; }
};

template <class T>
T* Control(frmMain& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromUtf8(name));
    if (!found) Fail(std::string("no control ") + name);
    return found;
}

void WaitUntilIdle(frmMain& window) {
    if (!QTest::qWaitFor([&] { return !window.Busy(); }, 600000)) Fail("the window stayed busy for ten minutes");
}

// Every n-th row, chosen in one go as a person's Ctrl+clicks would leave them.
void ChooseRows(QTableView* list) {
    const int rows = list->model()->rowCount();
    const int step = std::max(1, rows / kChosen);
    QItemSelection chosen;
    for (int row = 0, count = 0; row < rows && count < kChosen; row += step, ++count)
        chosen.select(list->model()->index(row, 0), list->model()->index(row, list->model()->columnCount() - 1));
    list->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
}

Timed OneRun(const std::string& catalogue, const std::string& copy) {
    std::filesystem::copy_file(catalogue, copy, std::filesystem::copy_options::overwrite_existing);
    {
        Catalogue adding;
        if (!adding.Store.OpenDB(copy).empty() || !AddCategory(adding, "Batch").Error.empty()) Fail("cannot add a category");
    }
    AppState state;
    AnswerYes prompts;
    frmMain window(state, prompts);
    window.show();
    window.Start({QString::fromStdString(copy)});
    WaitUntilIdle(window);
    auto* list = Control<QTableView>(window, "lstFile");
    ChooseRows(list);
    auto* category = Control<QComboBox>(window, "cboBatchCategory");
    category->setCurrentIndex(category->findText(QStringLiteral("Batch")));
    Control<QLineEdit>(window, "txtBatchAddKeywords")->setText(QStringLiteral("chosen"));
    return TimeWithPauses([&] { QTest::mouseClick(Control<QPushButton>(window, "cmdBatchSave"), Qt::LeftButton); },
                          [&] {
                              WaitUntilIdle(window);
                              list->viewport()->repaint();
                          });
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) Fail("usage: bench_batch_window CATALOGUE SCRATCH");
    const std::string copy = std::string(argv[2]) + "/batch_window.rvd";
    std::vector<double> seconds;
    std::vector<double> pauses;
    for (int run = 0; run < 3; ++run) {
        const Timed timed = OneRun(argv[1], copy);
        seconds.push_back(timed.Seconds);
        pauses.push_back(timed.LongestPauseMs);
    }
    std::filesystem::remove(copy);
    const double took = Median(seconds);
    const double pause = Median(pauses);
    std::printf("batch form, %d rows (category + keyword) through the window: %.3f s (bound %.0f s) %s\n", kChosen, took,
                kBoundSeconds, took <= kBoundSeconds ? "ok" : "MISSED");
    std::printf("  longest window pause: %.1f ms (bound %.0f ms) %s\n", pause, kPauseBoundMs, pause <= kPauseBoundMs ? "ok" : "MISSED");
    return took <= kBoundSeconds && pause <= kPauseBoundMs ? 0 : 1;
}
