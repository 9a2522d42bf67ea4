// SPDX-License-Identifier: GPL-3.0-or-later
// The window's passes that make missing frames: one at a time, after each load, stopped while a
// tool runs or the window closes, and begun again when the sets were loaded meanwhile.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "model/Catalogue.h"

class FrameJob;
struct FramePassResult;

class FramePasses : public QObject {
    Q_OBJECT

public:
    explicit FramePasses(QObject* parent) : QObject(parent) {}

    // Makes the catalogue's missing frames, after the pass under way has stopped.
    void Start(const Catalogue& catalogue);
    // Stops the pass under way after the frame at hand; what it stored stays.
    void Stop();
    // While a tool runs, no pass: the reload that ends the tool starts one.
    void Pause(bool toolRunning) {
        if (toolRunning) Stop();
    }

Q_SIGNALS:
    void Arrived(const QList<int>& fileIDs);
    void StatusChanged(const QString& text);

private:
    void Ended(const FramePassResult& result);

    FrameJob* job_ = nullptr;
    const Catalogue* again_ = nullptr;  // the sets were loaded again while the pass ran
};
