// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/FileListModel.h"

#include <QBrush>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <QUrl>
#include <QPalette>

#include <algorithm>
#include <numeric>
#include <ranges>

#include "drives/dialogs/DriveNotes.h"
#include "facts/FactText.h"
#include "listing/ListRow.h"
#include "listing/NaturalOrder.h"
#include "listing/ReadableNumber.h"
#include "listing/RowSort.h"
#include "listing/modSearch.h"
#include "window/FramePicture.h"

FileListModel::FileListModel(Catalogue& catalogue, QObject* parent) : QAbstractTableModel(parent), catalogue_(catalogue) {}

FileListModel::~FileListModel() = default;

void FileListModel::ShowAll() {
    std::vector<int> all(catalogue_.Files.Records().size());
    std::iota(all.begin(), all.end(), 0);
    Show(std::move(all));
}

void FileListModel::Show(std::vector<int> positions) {
    beginResetModel();
    rows_ = std::move(positions);
    if (sorted_) SortRows();
    endResetModel();
}

void FileListModel::Clear() { Show({}); }

void FileListModel::ShowAfresh(int changedColumn) {
    if (sorted_ && sortColumn_ == changedColumn) return Reorder();
    if (!rows_.empty()) Q_EMIT dataChanged(index(0, changedColumn), index(rowCount() - 1, changedColumn));
}

// Unsorted, the rows show all only in the set's order.
void FileListModel::ShowAllAfresh(int changedColumn) {
    const bool showsAll = rows_.size() == catalogue_.Files.Records().size() &&
                          (sorted_ || std::ranges::equal(rows_, std::views::iota(0, static_cast<int>(rows_.size()))));
    if (showsAll) ShowAfresh(changedColumn);
    else ShowAll();
}

std::vector<int> FileListModel::ShownFileIDs() const {
    const auto& records = catalogue_.Files.Records();
    std::vector<int> ids;
    ids.reserve(rows_.size());
    for (const int position : rows_) ids.push_back(records[position].FileID);
    return ids;
}

void FileListModel::ShowRecords(const std::vector<const FileRecord*>& records) {
    const FileRecord* first = catalogue_.Files.Records().data();
    std::vector<int> positions;
    positions.reserve(records.size());
    for (const FileRecord* record : records) positions.push_back(static_cast<int>(record - first));
    Show(std::move(positions));
}

void FileListModel::ShowFileIDs(const std::vector<int>& ids) {
    clsFile& files = catalogue_.Files;
    std::vector<const FileRecord*> records;
    records.reserve(ids.size());
    for (const int id : ids) {
        if (files.GotoFileID(id)) records.push_back(files.Current());
    }
    ShowRecords(records);
}

int FileListModel::RowOf(int fileID) const {
    const auto& records = catalogue_.Files.Records();
    const auto shown = std::find_if(rows_.begin(), rows_.end(), [&](int position) { return records[position].FileID == fileID; });
    return shown == rows_.end() ? -1 : static_cast<int>(shown - rows_.begin());
}

namespace {

constexpr int kFirstFact = kDriveColumn + 1;
constexpr int kColumnCount = kFirstFact + kFactColumnCount;

QString DriveName(const Catalogue& catalogue, const FileRecord& record) {
    const Drive* drive = catalogue.Drives.ByID(record.DriveID);
    return drive ? QString::fromStdString(drive->Name) : QString();
}

}  // namespace

void FileListModel::RewriteRow(int fileID) {
    if (const int row = RowOf(fileID); row >= 0) Q_EMIT dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void FileListModel::ShowRecordsAfresh() {
    if (sorted_) Reorder();
    if (!rows_.empty()) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

void FileListModel::ShowDrives() {
    if (!rows_.empty()) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

void FileListModel::RemoveRow(int fileID) {
    const int row = RowOf(fileID);
    if (row < 0) return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void FileListModel::SortByHeader(int column) {
    ascending_ = !ascending_;
    sortColumn_ = column;
    sorted_ = true;
    Reorder();
}

void FileListModel::SortBy(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kColumnCount) return;
    ascending_ = order == Qt::DescendingOrder;  // SortByHeader flips it first
    SortByHeader(column);
}

// The same rows in the sort's order. A reset would make the view forget its selection and current
// row; instead the few indexes it holds follow their records, found through one pass over the rows.
void FileListModel::Reorder() {
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList held = persistentIndexList();
    std::vector<int> heldPositions;
    heldPositions.reserve(held.size());
    for (const QModelIndex& shown : held) heldPositions.push_back(rows_[shown.row()]);
    SortRows();
    if (!held.isEmpty()) {
        std::vector<int> rowOf(catalogue_.Files.Records().size());
        for (std::size_t row = 0; row < rows_.size(); ++row) rowOf[rows_[row]] = static_cast<int>(row);
        QModelIndexList moved;
        moved.reserve(held.size());
        for (qsizetype at = 0; at < held.size(); ++at) moved.push_back(index(rowOf[heldPositions[at]], held[at].column()));
        changePersistentIndexList(held, moved);
    }
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::SortNamesNaturally(bool on) {
    if (natural_ == on) return;
    natural_ = on;
    if (sorted_ && IsNaturalColumn(sortColumn_)) Reorder();
}

void FileListModel::ShowExactNumbers(bool on) {
    if (exactNumbers_ == on) return;
    exactNumbers_ = on;
    if (!rows_.empty()) Q_EMIT dataChanged(index(0, SizeColumn), index(rowCount() - 1, LengthColumn));
}

void FileListModel::SortRows() {
    if (sortColumn_ >= kFirstFact) return SortByFact(sortColumn_ - kFirstFact);
    SortPositions(catalogue_, rows_, sortColumn_, ascending_, natural_ && IsNaturalColumn(sortColumn_) ? Natural() : nullptr);
}

// The default locale's order, opened again when that changed since the last sort. One ICU cannot
// open (null) leaves the names in the old order rather than in the order of their bytes.
const NaturalOrder* FileListModel::Natural() {
    const QString locale = QLocale().name();
    if (!order_ || locale != orderLocale_) {
        order_ = std::make_unique<NaturalOrder>(locale == QLatin1String("C") ? std::string() : locale.toStdString());
        orderLocale_ = locale;
    }
    return order_->Error().empty() ? order_.get() : nullptr;
}

// Rows without facts come first ascending, as empty cells do in the other columns.
void FileListModel::SortByFact(int fact) {
    const auto& records = catalogue_.Files.Records();
    const bool numeric = FactSortKey(nullptr, fact) >= 0;
    std::vector<std::pair<double, std::string>> keys(records.size());
    for (const int position : rows_) {
        const MediaFacts* facts = facts_.Of(records[position].FileID);
        keys[position] = numeric ? std::pair{FactSortKey(facts, fact), std::string()} : std::pair{0.0, FactCellText(facts, fact)};
    }
    std::stable_sort(rows_.begin(), rows_.end(), [&](int a, int b) { return ascending_ ? keys[a] < keys[b] : keys[b] < keys[a]; });
}

void FileListModel::SetFacts(FactSet facts) {
    facts_ = std::move(facts);
    if (!rows_.empty()) Q_EMIT dataChanged(index(0, kFirstFact), index(rowCount() - 1, kColumnCount - 1));
}

void FileListModel::RereadFacts(int fileID) {
    const clsFile& files = catalogue_.Files;
    const auto record = std::find_if(files.Records().begin(), files.Records().end(),
                                     [fileID](const FileRecord& each) { return each.FileID == fileID; });
    if (record == files.Records().end()) return;
    std::string error;
    facts_.Remember(fileID, ::ReadFactsOf(catalogue_.Store, fileID, record->FileName, error));
    RewriteRow(fileID);
}

int FileListModel::FirstFactColumn() { return kFirstFact; }

const FileRecord* FileListModel::RecordAt(int row) const {
    const auto& records = catalogue_.Files.Records();
    if (row < 0 || row >= static_cast<int>(rows_.size()) || rows_[row] >= static_cast<int>(records.size())) return nullptr;
    return &records[rows_[row]];
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    const FileRecord* record = RecordAt(index.row());
    if (!record) return {};
    const bool numeric = index.column() < kListColumnCount && kListColumns[index.column()].Numeric;
    switch (role) {
    case Qt::DisplayRole:
        if (!exactNumbers_ && index.column() == SizeColumn) return QString::fromStdString(ReadableSize(record->Size));
        if (!exactNumbers_ && index.column() == LengthColumn) return QString::fromStdString(ReadableLength(record->Length));
        return Display(*record, index.column());
    case Qt::EditRole: return Display(*record, index.column());
    case Qt::ToolTipRole: {
        const QString away = AwayNote(catalogue_, *record);
        return FrameToolTip(catalogue_.Store, record->FileID, record->FileName, away.isEmpty() ? Display(*record, index.column()) : away);
    }
    case Qt::ForegroundRole:
        if (RecordPluggedIn(catalogue_, *record)) return {};
        return QBrush(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignVCenter | (numeric ? Qt::AlignRight : Qt::AlignLeft));
    case KeyRole: return QString::fromStdString(RowKey(record->FileID));
    default: return {};
    }
}

// The cell's exact text: sizes in bytes, lengths in milliseconds.
QString FileListModel::Display(const FileRecord& record, int column) const {
    if (column >= kFirstFact) return QString::fromStdString(FactCellText(facts_.Of(record.FileID), column - kFirstFact));
    return column == kDriveColumn ? DriveName(catalogue_, record) : QString::fromStdString(CellText(catalogue_, record, column));
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    const bool numeric = section < kListColumnCount && kListColumns[section].Numeric;
    if (role == Qt::DisplayRole) {
        if (section >= kFirstFact) return QString::fromUtf8(kFactColumnHeaders[section - kFirstFact]);
        return section == kDriveColumn ? tr("Drive") : QString::fromUtf8(kListColumns[section].Header);
    }
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignVCenter | (numeric ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsDragEnabled : flags;
}

QStringList FileListModel::mimeTypes() const { return {QStringLiteral("text/uri-list")}; }

// One URL per row, in the order shown, however many of its cells were chosen.
QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    for (const QModelIndex& index : indexes) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<QUrl> urls;
    for (const int row : rows) {
        if (const FileRecord* record = RecordAt(row)) urls << QUrl::fromLocalFile(QString::fromStdString(record->FileName));
    }
    if (urls.isEmpty()) return nullptr;
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    return mime;
}
