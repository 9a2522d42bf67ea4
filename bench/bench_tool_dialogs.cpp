// SPDX-License-Identifier: GPL-3.0-or-later
// Load Directory started from its dialog, beside `rvcli load` of the same folder into a fresh
// catalogue, with the longest pause of the window meanwhile; and how soon Cancel closes the dialog
// while large files are being loaded.
// bench_tool_dialogs RVCLI WORK SMALL_FOLDER BIG_FOLDER [RUNS] (offscreen unless QT_QPA_PLATFORM says)
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "WindowTiming.h"
#include "store/modSchema.h"
#include "tools/dialogs/ToolsMenu.h"
#include "tools/dialogs/frmToolProgress.h"
#include "widgets/Prompts.h"
#include "window/frmMain.h"

namespace {

// Opens what the bench names, and shows no log.
class BenchPrompts : public Prompts {
public:
    QString Path;
    QString ChoosePath(QWidget*, PathFor, const QString&) override { return Path; }
    std::string ShowFile(const std::string&) override { return {}; }
};

std::string FreshCatalogue(const std::string& path) {
    std::filesystem::remove(path);
    clsSQLite store;
    if (std::string error = CreateNewDatabase(store, path); !error.empty()) Fail(error);
    return path;
}

class Bench {
public:
    explicit Bench(std::string work) : work_(std::move(work)), window_(state_, prompts_) {
        window_.show();
        window_.Start({});
        state_.settings.AutoCalculateCRC = true;
    }

    // From the press of Load Directory until the window lists what was loaded.
    Timed Load(const std::string& folder) {
        OpenFresh();
        QDialog* dialog = StartLoad(folder);
        QEventLoop untilListed;
        QObject::connect(window_.findChild<ToolsMenu*>(), &ToolsMenu::ToolEnded, &untilListed, &QEventLoop::quit);
        return TimeWithPauses([&] { Press(dialog, "cmdLoadDirectory"); }, [&] {
            untilListed.exec();
            if (!QTest::qWaitFor([&] { return !window_.Busy(); }, 600000)) Fail("the window stayed busy for ten minutes");  // the sets are read again after the tool
        });
    }

    // From the press of Cancel until the progress dialog is gone.
    double Cancel(const std::string& folder) {
        OpenFresh();
        QDialog* dialog = StartLoad(folder);
        Press(dialog, "cmdLoadDirectory");
        auto* progress = dialog->findChild<frmToolProgress*>();
        while (progress->findChild<QProgressBar*>(QStringLiteral("prgTool"))->value() < 50) QTest::qWait(5);
        QEventLoop untilClosed;
        QObject::connect(progress, &frmToolProgress::RunningChanged, &untilClosed, &QEventLoop::quit);
        return TimeWithPauses([&] { Press(progress, "cmdToolCancel"); }, [&] { untilClosed.exec(); }).Seconds;
    }

    std::string Catalogue() const { return work_ + "/dialog.rvd"; }

private:
    void OpenFresh() {
        prompts_.Path = QString::fromStdString(FreshCatalogue(Catalogue()));
        window_.findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
        if (!QTest::qWaitFor([&] { return !window_.Busy(); }, 600000)) Fail("the window stayed busy for ten minutes");
    }
    QDialog* StartLoad(const std::string& folder) {
        window_.findChild<QAction*>(QStringLiteral("mnuLoadDirectory"))->trigger();
        auto* dialog = window_.findChild<QDialog*>(QStringLiteral("frmLoadDirectory"));
        dialog->findChild<QLineEdit*>(QStringLiteral("txtDirectory"))->setText(QString::fromStdString(folder));
        dialog->findChild<QLineEdit*>(QStringLiteral("txtWildCard"))->setText(QStringLiteral("*"));
        return dialog;
    }
    static void Press(QWidget* in, const char* button) {
        QTest::mouseClick(in->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
    }

    std::string work_;
    AppState state_;
    BenchPrompts prompts_;
    frmMain window_;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 5) Fail("usage: bench_tool_dialogs RVCLI WORK SMALL_FOLDER BIG_FOLDER [RUNS]");
    const std::string rvcli = argv[1], work = argv[2], small = argv[3], big = argv[4];
    const int runs = argc > 5 ? std::max(1, std::atoi(argv[5])) : 5;
    Bench bench(work);

    double command = 1e9;
    double dialog = 1e9;
    std::vector<double> pauses;
    for (int run = 0; run < runs; ++run) {  // in turns, so that a noisy moment hits both alike
        const std::string catalogue = FreshCatalogue(work + "/rvcli.rvd");
        command = std::min(command, CommandSeconds({rvcli, "load", catalogue, small, "*", "--crc"}));
        const Timed measured = bench.Load(small);
        dialog = std::min(dialog, measured.Seconds);
        pauses.push_back(measured.LongestPauseMs);
    }
    const double ratio = dialog / command;
    std::printf("%-46s %7.3f s; rvcli load %.3f s; ratio %.2f (bound <= 1.2) %s\n", "Load Directory of 10,000 files from the dialog",
                dialog, command, ratio, ratio <= 1.2 ? "ok" : "MISSED");
    const double pause = Median(pauses);
    std::printf("%-46s %7.0f ms median of %d runs, worst %.0f ms (bound < 50) %s\n", "  longest pause of the window meanwhile", pause,
                runs, *std::max_element(pauses.begin(), pauses.end()), pause < 50 ? "ok" : "MISSED");

    std::vector<double> cancels;
    for (int run = 0; run < runs; ++run) cancels.push_back(bench.Cancel(big));
    const double cancel = Median(cancels);
    std::printf("%-46s %7.3f s median of %d runs, worst %.3f s (bound < 0.5) %s\n", "Cancel while loading 1,000 files of 1 MiB", cancel,
                runs, *std::max_element(cancels.begin(), cancels.end()), cancel < 0.5 ? "ok" : "MISSED");
    return ratio <= 1.2 && pause < 50 && cancel < 0.5 ? 0 : 1;
}
