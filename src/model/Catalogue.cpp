// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Catalogue.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// The allocator keeps freed pages for the next allocation; after a load, whose working tables
// and page cache are freed by then, that is tens of megabytes held for nothing.
void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace

std::string Catalogue::Reload(const clsFile::LoadProgress& progress) {
    std::string error = Categories.LoadFromDatabase(Store);
    if (std::string next = FileTypes.LoadFromDatabase(Store); error.empty()) error = next;
    if (std::string next = Files.LoadFromDatabase(Store, progress); error.empty()) error = next;
    Store.ReleaseCache();
    ReturnFreedMemory();
    return error;
}
