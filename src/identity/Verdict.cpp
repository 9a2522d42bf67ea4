// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/Verdict.h"

Verdict Judge(const HashRow* stored, const CRCResult& read) {
    if (!stored) return Verdict::FirstSeen;
    if (stored->Hash == read.Hash && stored->Stamp.Size == read.Stamp.Size)
        return stored->Stamp.MTimeNs == read.Stamp.MTimeNs ? Verdict::Unchanged : Verdict::Touched;
    const bool sameStamp = stored->Stamp.Size == read.Stamp.Size && stored->Stamp.MTimeNs == read.Stamp.MTimeNs;
    return sameStamp ? Verdict::Damaged : Verdict::Changed;
}
