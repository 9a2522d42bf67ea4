// SPDX-License-Identifier: GPL-3.0-or-later
// One piece of work on the catalogue file, on a thread of its own over a connection of its own:
// statements that would hold the window for a second on a million records (deleting a file type
// that 80,000 files have, a search that lists them all).
#pragma once

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "model/Catalogue.h"

// Lives on the thread that makes it, and its signal arrives there. The worker shares nothing with
// that thread but its own catalogue and what work captured, both published through an atomic flag
// that the job polls: the window's catalogue and sets are never touched from the worker.
class CatalogueJob : public QObject {
    Q_OBJECT

public:
    // work gets the file the window's store has open, opened anew with the same busy timeout, and
    // empty sets; it returns "" or why it failed. With no catalogue open work does not run, and
    // Finished says "SQLite database not open", as a statement on the window's store would.
    using Work = std::function<std::string(Catalogue&)>;
    CatalogueJob(const clsSQLite& store, Work work, QObject* parent);
    ~CatalogueJob() override;  // waits for the work

    // The worker's catalogue, with the sets work left in it: the caller's to take once Finished came.
    Catalogue& Worked() { return *worked_; }

Q_SIGNALS:
    // Once, from the event loop, after the work has ended: "" or why it failed.
    void Finished(const QString& error);

private:
    void Poll();

    std::unique_ptr<Catalogue> worked_;
    std::string error_;  // written by the worker before it sets finished_
    std::atomic<bool> finished_{false};
    QTimer poll_;
    std::jthread worker_;  // last: everything it touches exists before it starts
};
