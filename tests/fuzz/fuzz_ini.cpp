// SPDX-License-Identifier: GPL-3.0-or-later
// rv.ini as anyone may have edited it: reading, changing and saving must work on any bytes, and
// a variable outside the sections must read back the same after a save.
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "support/clsINIParse.h"

namespace {

// The names the program itself reads and writes.
constexpr const char* kNames[] = {"AutoCalculateCRC", "LastDir"};

void Edit(clsINIParse& ini) {
    ini.ChangeVariable("LastDir", "/media/films");
    ini.AddSectionVariable("Fuzz", "Added", "1");
    ini.DeleteVariable("AutoCalculateCRC");
    ini.AddVariable("AutoCalculateCRC", "true");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("rv.ini");
    WriteScratchFile(path, data, size);

    clsINIParse ini;
    ini.SetINIFileName(path);
    if (!ini.LoadINI().empty()) std::abort();
    Edit(ini);
    if (!ini.SaveINI().empty()) std::abort();

    clsINIParse saved;
    saved.SetINIFileName(path);
    if (!saved.LoadINI().empty()) std::abort();
    for (const char* name : kNames) {
        if (saved.GetSectionVariableValue("", name) != ini.GetSectionVariableValue("", name)) std::abort();
    }
    return 0;
}
