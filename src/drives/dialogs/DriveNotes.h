// SPDX-License-Identifier: GPL-3.0-or-later
// What the window says of a record whose drive is away, and of counts of records.
#pragma once

#include <QString>

#include "model/Catalogue.h"

// Why the record's file is not where its path says, for its row: "FILMS-2 is not plugged in", or
// where its drive is mounted instead. "" when it is, or when its drive is not known.
QString AwayNote(const Catalogue& catalogue, const FileRecord& record);

// What Open File says instead of starting a player: "The drive FILMS-2 is not plugged in", or where
// the drive is mounted instead. "" when the file can be opened where its path says.
QString CannotOpenNote(const Catalogue& catalogue, const FileRecord& record);

// A count with its thousands grouped as the person's locale groups them: "1,204".
QString Grouped(qint64 number);

// "1 record", "1,204 records".
QString RecordCount(qint64 records);
