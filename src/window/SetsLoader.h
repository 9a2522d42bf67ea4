// SPDX-License-Identifier: GPL-3.0-or-later
// Checks a catalogue file and reads its record sets on a worker thread over a connection of its
// own, and frees record sets on another: with a million records each takes a second or more, and
// the window must go on painting meanwhile.
#pragma once

#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "facts/FactRows.h"
#include "model/Catalogue.h"
#include "store/modSchema.h"

// Used from one thread, the window's, where its signals arrive. The worker shares with it only
// atomics and the sets it read, which it publishes through an atomic flag that the loader polls;
// the sets in use are only ever touched by the window.
class SetsLoader : public QObject {
    Q_OBJECT

public:
    explicit SetsLoader(QObject* parent = nullptr);
    ~SetsLoader() override;  // waits for the load and the freeing under way

    // Starts reading every page of the file at path, as opening it checks; one job at a time.
    void StartCheck(const std::string& path);
    // How the check went, once Finished came.
    CatalogueCheck TakeCheck();
    // Starts reading the catalogue file at path into sets of its own; one job at a time.
    void Start(const std::string& path);
    // Starts both at once, for a file not open yet: the sets are read while every page is, and
    // nothing is written to the file before the check has passed. Once Finished came, TakeCheck
    // says how the check went; the sets are then to be taken, or discarded.
    // While it runs, PreviewReady may come first: the first rows by name, with the categories and
    // types, to be shown in the meantime.
    void StartOpen(const std::string& path);
    // Puts the first rows in catalogue's place; what it held is kept aside until the load's end.
    void ShowPreview(Catalogue& catalogue);
    // Gives catalogue back what the preview took aside, and frees the sets read.
    void Discard(Catalogue& catalogue);
    // Once Finished came, hands the load's sets to catalogue, whose own sets are freed aside.
    // Returns "" or why the load failed; the sets are then empty, as after a failed Reload.
    std::string TakeInto(Catalogue& catalogue);
    // Once Finished came after Start, the media facts of the records read, for the list's columns.
    FactSet TakeFacts() { return std::move(facts_); }
    // Empties the catalogue's sets at once and frees what they held on another thread.
    void FreeSets(Catalogue& catalogue);

Q_SIGNALS:
    // How far a load has come, each time the loader looks: up to a hundred times a second.
    void Progress(std::int64_t done, std::int64_t total);
    // Once per check or load, from the event loop, when it has ended for whatever reason.
    void Finished();
    void PreviewReady();

private:
    void Begin();
    void Poll();
    void Load(const std::string& path, const std::function<std::string()>& mayWrite = {});
    void ReadPreview(const std::string& path);
    void FreePreview();

    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    std::atomic<bool> finished_{false};
    std::atomic<bool> previewReady_{false};
    std::unique_ptr<Catalogue> preview_;  // written by the worker before it sets previewReady_
    bool previewShown_ = false;           // preview_ then holds what the catalogue shown held before
    std::unique_ptr<Catalogue> loaded_;   // written by the worker before it sets finished_
    std::string error_;                  // likewise
    FactSet facts_;                      // likewise
    CatalogueCheck check_;               // likewise
    QTimer poll_;
    std::jthread freeing_;
    std::jthread worker_;  // last: everything it touches exists before it starts
};
