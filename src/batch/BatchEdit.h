// SPDX-License-Identifier: GPL-3.0-or-later
// One change made to many file records at once: a category, a type or a rating set, keywords added
// or removed. Written in one transaction, so a failure leaves every record as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Catalogue.h"

struct BatchChange {
    std::optional<int> CategoryID;  // -1 for none
    std::optional<int> TypeID;      // -1 for none
    std::optional<int> Rating;
    std::vector<std::string> AddKeywords;     // "" is no keyword and is passed over
    std::vector<std::string> RemoveKeywords;  // removed before the ones to add are added

    bool Empty() const { return !CategoryID && !TypeID && !Rating && AddKeywords.empty() && RemoveKeywords.empty(); }
};

struct BatchOutcome {
    std::vector<int> Saved;    // the records changed, in the order asked, each once
    std::vector<int> Missing;  // IDs the catalogue file no longer holds (another program deleted them)
    std::string Error;         // "" or the engine's message: then nothing was written and Saved is empty
};

// Writes the change to every record of ids that the catalogue file holds, all in one transaction.
// Reads and writes the file only, so a worker may run it on a connection of its own.
BatchOutcome WriteBatch(clsSQLite& store, const std::vector<int>& ids, const BatchChange& change);
// Makes the loaded set show what WriteBatch wrote to these records, as a reload would read them.
// Records the set does not hold are passed over.
void ApplyBatchToSet(clsFile& files, const std::vector<int>& saved, const BatchChange& change);
// "FileID 7 was not changed: it is no longer in the catalogue." and the like; "" for none.
std::string MissingSentence(const std::vector<int>& missing);
