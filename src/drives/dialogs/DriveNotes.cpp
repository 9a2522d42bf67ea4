// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/dialogs/DriveNotes.h"

#include <QLocale>

#include "listing/modSearch.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The record's drive when it is known and the file is not where its path says; null otherwise.
const Drive* AwayDrive(const Catalogue& catalogue, const FileRecord& record) {
    if (RecordPluggedIn(catalogue, record)) return nullptr;
    return catalogue.Drives.ByID(record.DriveID);
}

}  // namespace

QString AwayNote(const Catalogue& catalogue, const FileRecord& record) {
    const Drive* drive = AwayDrive(catalogue, record);
    if (!drive) return {};
    if (!drive->Plugged()) return QObject::tr("%1 is not plugged in").arg(Q(drive->Name));
    return QObject::tr("%1 is mounted at %2: its records can be re-pointed there").arg(Q(drive->Name), Q(drive->Place()));
}

QString CannotOpenNote(const Catalogue& catalogue, const FileRecord& record) {
    const Drive* drive = AwayDrive(catalogue, record);
    if (!drive) return {};
    if (!drive->Plugged()) return QObject::tr("The drive %1 is not plugged in").arg(Q(drive->Name));
    return QObject::tr("The drive %1 is mounted at %2: re-point its records to open this file").arg(Q(drive->Name), Q(drive->Place()));
}

QString Grouped(qint64 number) { return QLocale().toString(number); }

QString RecordCount(qint64 records) {
    return records == 1 ? QObject::tr("1 record") : QObject::tr("%1 records").arg(Grouped(records));
}
