// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's handling of the texts it is given and prints: stored paths, extensions, and
// names shown on a terminal or written as CSV.
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "rvcli/Output.h"
#include "rvcli/Session.h"
#include "rvcli/VocabularyCommands.h"

namespace {

bool HasDotStep(const std::string& path) {
    return path.find("/./") != std::string::npos || path.find("/../") != std::string::npos ||
           path.ends_with("/.") || path.ends_with("/..");
}

void CheckStoredPath(const std::string& text) {
    const std::string stored = StoredPath(text);
    if (text.empty()) {
        if (!stored.empty()) std::abort();
        return;
    }
    if (!stored.starts_with('/') || HasDotStep(stored)) std::abort();
    if (stored.size() > 1 && stored.ends_with('/')) std::abort();
    if (StoredPath(stored) != stored) std::abort();
}

void CheckExtension(const std::string& text) {
    const std::string extension = NormalExtension(text);
    if (extension.find('.') != std::string::npos) std::abort();
    if (std::any_of(extension.begin(), extension.end(), [](unsigned char c) { return std::isupper(c); })) std::abort();
}

void CheckPrintable(const std::string& text) {
    const std::string shown = Printable(text);
    if (std::any_of(shown.begin(), shown.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; })) std::abort();
}

// Every text a cell of one row under as many headers; a terminal line must not end in blanks.
void CheckTables(const std::vector<std::string>& texts) {
    const TextTable table{std::vector<std::string>(texts.size(), "h"), {true}, {texts}};
    const std::string rendered = RenderTable(table);
    if (rendered.find(" \n") != std::string::npos) std::abort();
    RenderCSV(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> texts = SplitAtNul(data, size);
    for (const std::string& text : texts) {
        CheckStoredPath(text);
        CheckExtension(text);
        CheckPrintable(text);
    }
    CheckTables(texts);
    return 0;
}
