// SPDX-License-Identifier: GPL-3.0-or-later
// What every command shares: the reply it leaves, the catalogue it names, and the rule that
// paths are stored whole.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/Catalogue.h"

namespace CLI {
class App;
}

struct Reply {
    std::string Output;  // standard output, written whole once the command is done
    std::string Notes;   // standard error, before the error line: counts, warnings
    std::string Error;   // "" on success; otherwise one line, and the exit status is 1
};

inline Reply Failed(std::string error) { return {{}, {}, std::move(error)}; }
// The reply of a command that prints nothing when it succeeds, that is when error is "".
inline Reply Quiet(std::string error) { return {{}, {}, std::move(error)}; }

// Writes the reply. Returns the exit status: 0, or 1 when the command failed or its output could
// not be written (a full disk, a closed pipe).
int Deliver(const Reply& reply);

// The subcommands of the program with what each does once it has been parsed.
class Commands {
public:
    using Action = std::function<Reply()>;
    void Add(CLI::App* command, Action action) { actions_.emplace_back(command, std::move(action)); }
    // The action of the one command the parse chose; null when there is none.
    const Action* Chosen() const;

private:
    std::vector<std::pair<CLI::App*, Action>> actions_;
};

// Opens an existing catalogue and loads its sets. Never creates a file: a missing file or one that
// is not a catalogue gives "PATH: " and the sentence of IsCatalogue. "" on success.
std::string OpenExisting(Catalogue& catalogue, const std::string& path);
// As OpenExisting for a command that writes: a catalogue this program may only read is refused
// at once with "The catalogue is read-only: PATH", before any work is done for nothing.
std::string OpenForWriting(Catalogue& catalogue, const std::string& path);

// The path as a catalogue stores it: absolute, without "." and ".." steps. Links are kept, as the
// user named them. "" stays "".
std::string StoredPath(const std::string& path);

// Whether to calculate CRCs: as the flags say, otherwise the AutoCalculateCRC setting of rv.ini.
// warning is set when rv.ini could not be read (the setting then counts as off).
bool WantCRC(bool crc, bool noCRC, std::string& warning);
