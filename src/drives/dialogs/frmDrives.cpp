// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/dialogs/frmDrives.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <unordered_map>

#include "drives/DriveLinks.h"
#include "drives/dialogs/DriveNotes.h"
#include "tools/RebindDrive.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Readable(qint64 bytes) { return bytes > 0 ? QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat) : QString(); }

// The UUID alone where there is one; otherwise the identity that stands for it ("net:server:/films").
QString UUIDOf(const Drive& drive) {
    const QString identity = Q(drive.Identity);
    return identity.startsWith(QStringLiteral("uuid:")) ? identity.mid(5) : identity;
}

QString WhereMounted(const Drive& drive) {
    if (!drive.Plugged()) return QObject::tr("not plugged in");
    if (drive.Places.empty()) return QObject::tr("only a folder of it is mounted");
    QStringList places;
    for (const std::string& place : drive.Places) places << Q(place);
    return places.join(QStringLiteral(", "));
}

struct Holding {
    qint64 Records = 0;
    qint64 Bytes = 0;
};

std::unordered_map<int, Holding> HoldingsOf(const Catalogue& catalogue) {
    std::unordered_map<int, Holding> held;
    for (const FileRecord& record : catalogue.Files.Records()) {
        if (record.DriveID < 0) continue;
        Holding& drive = held[record.DriveID];
        ++drive.Records;
        drive.Bytes += record.Size;
    }
    return held;
}

QTableWidgetItem* ReadOnlyCell(const QString& text, bool numeric = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (numeric) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

frmDrives::frmDrives(Catalogue& catalogue, Prompts& prompts, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), prompts_(prompts) {
    setObjectName(QStringLiteral("frmDrives"));
    setWindowTitle(tr("Drives"));
    setWindowModality(Qt::WindowModal);
    lstDrives_ = Named(new QTableWidget(0, 8), "lstDrives");
    lstDrives_->setAccessibleName(tr("Drives"));
    lstDrives_->setHorizontalHeaderLabels({tr("Name"), tr("Label"), tr("UUID"), tr("Type"), tr("Size"), tr("Mount Point"),
                                           tr("Records"), tr("Records' Size")});
    lstDrives_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstDrives_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstDrives_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    lstDrives_->verticalHeader()->hide();
    lstDrives_->verticalHeader()->setDefaultSectionSize(lstDrives_->fontMetrics().height() + 6);
    lstDrives_->setMinimumSize(860, 200);
    rename_ = MakeButton("cmdDriveRename", "Re&name");
    repoint_ = MakeButton("cmdDriveRepoint", "Re-&point");
    forget_ = MakeButton("cmdDriveForget", "&Forget");
    QPushButton* close = MakeButton("cmdDrivesClose", "Close");

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {rename_, repoint_, forget_}) buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstDrives_, 1);
    layout->addLayout(buttons);

    connect(lstDrives_, &QTableWidget::itemSelectionChanged, this, &frmDrives::UpdateButtons);
    connect(lstDrives_, &QTableWidget::itemChanged, this, &frmDrives::Rename);
    connect(rename_, &QPushButton::clicked, this, [this] {
        if (QTableWidgetItem* name = lstDrives_->item(lstDrives_->currentRow(), NameColumn)) lstDrives_->editItem(name);
    });
    connect(repoint_, &QPushButton::clicked, this, [this] {
        if (const Drive* drive = Chosen()) Q_EMIT RepointWanted(Q(drive->Name));
    });
    connect(forget_, &QPushButton::clicked, this, &frmDrives::Forget);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void frmDrives::Refresh() {
    const Drive* chosen = Chosen();
    const int keep = chosen ? chosen->DriveID : -1;
    lstDrives_->clearSelection();
    const QSignalBlocker quiet(lstDrives_);  // filling is no renaming
    const std::unordered_map<int, Holding> held = HoldingsOf(catalogue_);
    lstDrives_->setRowCount(static_cast<int>(catalogue_.Drives.All().size()));
    int row = 0;
    for (const Drive& drive : catalogue_.Drives.All()) {
        const auto found = held.find(drive.DriveID);
        const Holding holding = found == held.end() ? Holding{} : found->second;
        FillRow(row, drive, holding.Records, holding.Bytes);
        if (drive.DriveID == keep) lstDrives_->selectRow(row);
        ++row;
    }
    if (lstDrives_->selectedItems().isEmpty() && lstDrives_->rowCount() > 0) lstDrives_->selectRow(0);
    lstDrives_->resizeColumnsToContents();
    // Places are the longest texts; the rest fit their contents.
    lstDrives_->horizontalHeader()->setSectionResizeMode(MountPointColumn, QHeaderView::Stretch);
    UpdateButtons();
}

void frmDrives::FillRow(int row, const Drive& drive, qint64 records, qint64 bytes) {
    auto* name = new QTableWidgetItem(Q(drive.Name));
    name->setData(Qt::UserRole, drive.DriveID);
    if (!catalogue_.Store.ReadOnly()) name->setFlags(name->flags() | Qt::ItemIsEditable);
    else name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    lstDrives_->setItem(row, NameColumn, name);
    lstDrives_->setItem(row, LabelColumn, ReadOnlyCell(Q(drive.Label)));
    lstDrives_->setItem(row, UUIDColumn, ReadOnlyCell(UUIDOf(drive)));
    lstDrives_->setItem(row, TypeColumn, ReadOnlyCell(Q(drive.FSType)));
    lstDrives_->setItem(row, SizeColumn, ReadOnlyCell(Readable(drive.Size), true));
    lstDrives_->setItem(row, MountPointColumn, ReadOnlyCell(WhereMounted(drive)));
    lstDrives_->setItem(row, RecordsColumn, ReadOnlyCell(Grouped(records), true));
    lstDrives_->setItem(row, RecordsSizeColumn, ReadOnlyCell(Readable(bytes), true));
}

const Drive* frmDrives::Chosen() const {
    const QList<QTableWidgetItem*> chosen = lstDrives_->selectedItems();
    if (chosen.isEmpty()) return nullptr;
    const QTableWidgetItem* name = lstDrives_->item(chosen.first()->row(), NameColumn);
    return name ? catalogue_.Drives.ByID(name->data(Qt::UserRole).toInt()) : nullptr;
}

void frmDrives::UpdateButtons() {
    const Drive* drive = Chosen();
    const bool writable = drive && catalogue_.Store.DBOpen() && !catalogue_.Store.ReadOnly();
    rename_->setEnabled(writable);
    forget_->setEnabled(writable);
    repoint_->setEnabled(writable && !drive->Cloned && RecordsToRepoint(catalogue_, *drive) > 0);
}

// The name is written as typed; one the catalogue refuses (empty, taken) is told of and put back.
void frmDrives::Rename(QTableWidgetItem* name) {
    if (name->column() != NameColumn) return;
    const Drive* drive = catalogue_.Drives.ByID(name->data(Qt::UserRole).toInt());
    if (!drive || Q(drive->Name) == name->text()) return;
    const std::string old = drive->Name;
    if (const std::string error = RenameDrive(catalogue_.Store, catalogue_.Drives, old, name->text().toStdString()); !error.empty()) {
        prompts_.Tell(this, tr("Rename Drive"), Q(error), true);
        const QSignalBlocker quiet(lstDrives_);
        name->setText(Q(old));
        return;
    }
    Q_EMIT Renamed();
}

// Forgetting deletes records, so their number is asked about first.
void frmDrives::Forget() {
    const Drive* drive = Chosen();
    if (!drive) return;
    const QString name = Q(drive->Name);
    const qint64 records = HoldingsOf(catalogue_)[drive->DriveID].Records;
    const QString question = tr("Forget the drive %1 and delete its %2 from the catalogue?\nThe files on the drive are not touched.")
                                 .arg(name, RecordCount(records));
    if (prompts_.Confirm(this, tr("Forget Drive"), question)) Q_EMIT ForgetWanted(name);
}
