// SPDX-License-Identifier: GPL-3.0-or-later
// Checks a catalogue file and reads its record sets on a worker thread over a connection of its
// own, and frees record sets on another: with a million records each takes a second or more, and
// the window must go on painting meanwhile.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "model/Catalogue.h"
#include "store/modSchema.h"

// Used from one thread, the window's. The worker shares with it only atomics and the sets it read,
// which it publishes through an atomic flag; the sets in use are only ever touched by the window.
class SetsLoader {
public:
    ~SetsLoader();  // waits for the load and the freeing under way

    // Starts reading every page of the file at path, as opening it checks; one job at a time.
    void StartCheck(const std::string& path);
    // Waits for the check, and tells how it went.
    CatalogueCheck TakeCheck();
    // Starts reading the catalogue file at path into sets of its own; one job at a time.
    void Start(const std::string& path);
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    std::int64_t Done() const { return done_; }
    std::int64_t Total() const { return total_; }
    // Waits for the load, then hands its sets to catalogue, whose own sets are freed aside.
    // Returns "" or why the load failed; the sets are then empty, as after a failed Reload.
    std::string TakeInto(Catalogue& catalogue);
    // Empties the catalogue's sets at once and frees what they held on another thread.
    void FreeSets(Catalogue& catalogue);

private:
    void Begin();

    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    std::atomic<bool> finished_{false};
    std::unique_ptr<Catalogue> loaded_;  // written by the worker before it sets finished_
    std::string error_;                  // likewise
    CatalogueCheck check_;               // likewise
    std::jthread freeing_;
    std::jthread worker_;  // last: everything it touches exists before it starts
};
