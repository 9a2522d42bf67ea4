// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a catalogue file: the check, the open and the loading of the three sets must
// answer with a sentence, never crash. The file is written afresh for every input, and its
// journals removed after, so nothing the open adds (indexes, a journal) carries over.
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "model/Catalogue.h"
#include "store/modSchema.h"

namespace {

void RemoveWithJournals(const std::string& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) std::remove((path + suffix).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("input.rvd");
    WriteScratchFile(path, data, size);
    {
        Catalogue catalogue;
        const bool isCatalogue = static_cast<bool>(IsCatalogue(path));
        const bool opened = OpenCatalogue(catalogue.Store, path).empty();
        if (opened && !isCatalogue) std::abort();
        if (opened) catalogue.Reload();
    }
    RemoveWithJournals(path);
    return 0;
}
