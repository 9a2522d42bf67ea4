// SPDX-License-Identifier: GPL-3.0-or-later
// What reading a file again says of it, against the hash its record kept.
#pragma once

#include "analysis/modReadFileEx.h"
#include "identity/FileHashes.h"

enum class Verdict {
    FirstSeen,  // its record kept no hash: nothing to compare with, so never damaged
    Unchanged,  // the contents hashed
    Touched,    // its modification time moved, its contents did not
    Changed,    // other contents, and its size or time moved: edited on purpose
    Damaged,    // other contents with the same size and time: no program meant that (decay, a bad copy)
};

// The verdict on a successful read (read.Hashed) of the record's file, whose trusted row is stored
// (null: none). Times are compared for equality, never as "newer": a copy made with its time kept
// can be older than the file it replaced.
Verdict Judge(const HashRow* stored, const CRCResult& read);
