// SPDX-License-Identifier: GPL-3.0-or-later
// Sizes and lengths as people read them in a list: "1.0 GiB", "1:30:21". The exact numbers stay
// what is stored, sorted and copied; these texts are for the eye only.
#pragma once

#include <cstdint>
#include <string>

// Bytes below 1 KiB as "512 B"; above, in the largest binary unit that leaves at least 1, with one
// decimal: "1.5 KiB", "1.0 GiB" (up to EiB). A negative size (none known) is written exactly.
std::string ReadableSize(std::int64_t bytes);
// Milliseconds as hours:minutes:seconds, or minutes:seconds below an hour ("1:30:21", "4:05",
// "0:00"); the part of a second left over is dropped, as players show it. A negative length (the
// file could not be measured) is written exactly.
std::string ReadableLength(std::int64_t milliseconds);
