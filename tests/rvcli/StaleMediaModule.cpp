// SPDX-License-Identifier: GPL-3.0-or-later
// A media module as an older build would have left it: a table of another version, which the
// program must refuse without calling anything in it.
#include "analysis/media/MediaProbeAbi.h"

namespace {

constexpr RvMediaProbe kTable{0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

}  // namespace

extern "C" const RvMediaProbe* rv_media_probe_entry() { return &kTable; }
