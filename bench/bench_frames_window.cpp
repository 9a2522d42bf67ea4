// SPDX-License-Identifier: GPL-3.0-or-later
// The window while the frames' pass runs: from opening a catalogue none of whose records has a
// frame until the pass has made them all, the longest pause of the event loop.
// bench_frames_window CATALOGUE (runs offscreen unless QT_QPA_PLATFORM says otherwise)
#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

#include "BenchSupport.h"
#include "WindowTiming.h"
#include "widgets/Prompts.h"
#include "window/FrameJob.h"
#include "window/frmMain.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) Fail("usage: bench_frames_window CATALOGUE");
    {
        clsSQLite store;
        if (!store.OpenDB(argv[1]).empty() || !store.Execute("DELETE FROM rvFrame;").empty()) Fail("cannot clear the frames");
    }
    AppState state;
    Prompts prompts;
    frmMain window(state, prompts);
    window.show();
    // Until a pass has been seen and has ended.
    QEventLoop untilMade;
    QTimer watch;
    bool seen = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const bool running = window.findChild<FrameJob*>() != nullptr;
        seen = seen || running;
        if (seen && !running) untilMade.quit();
    });
    watch.start(20);
    const Timed timed = TimeWithPauses([&] { window.Start({QString::fromLocal8Bit(argv[1])}); }, [&] { untilMade.exec(); });
    std::printf("%-46s %7.3f s; longest pause %.0f ms (bound <= 50) %s\n", "Opening and making every frame in the window",
                timed.Seconds, timed.LongestPauseMs, timed.LongestPauseMs <= 50 ? "ok" : "MISSED");
    return timed.LongestPauseMs <= 50 ? 0 : 1;
}
