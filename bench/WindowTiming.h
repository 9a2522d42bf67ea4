// SPDX-License-Identifier: GPL-3.0-or-later
// Timing what the window does: wall time, and the longest the event loop went without turning,
// which is what a person feels as a frozen window.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <functional>

struct Timed {
    double Seconds = 1e9;
    double LongestPauseMs = 0;
};

// Runs act, and after it finish (which waits for what act started, if anything), with a 5 ms timer
// ticking whenever the event loop turns meanwhile.
inline Timed TimeWithPauses(const std::function<void()>& act, const std::function<void()>& finish = {}) {
    Timed timed;
    QElapsedTimer sinceTick;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        timed.LongestPauseMs = std::max(timed.LongestPauseMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    ticker.start(5);
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    sinceTick.start();
    act();
    if (finish) finish();
    timed.Seconds = timer.nsecsElapsed() / 1e9;
    timed.LongestPauseMs = std::max(timed.LongestPauseMs, sinceTick.nsecsElapsed() / 1e6);
    return timed;
}
