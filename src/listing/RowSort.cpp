// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/RowSort.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <unordered_map>

#include "listing/ListRow.h"
#include "listing/modListViewSort.h"

namespace {

// A row's sort key. Text columns: the text folded as CompareText folds it, in one buffer for all
// rows; Head holds eight bytes of it after those all rows share, big-endian, so that comparisons
// end there (see SortLevel). Numeric, type and category columns: Head alone orders the rows.
struct SortKey {
    std::uint64_t Head = 0;
    std::size_t Offset = 0;  // in the buffer, of the bytes after the first Head's
    std::uint32_t Length = 0;  // of the text after the shared bytes, Head's included
    bool Cased = false;  // the text differs from its folded form, so a tie must look at the text
    int Position = 0;
};

using Fold = std::array<unsigned char, 256>;

Fold FoldTable() {
    Fold fold;
    for (int c = 0; c < 256; ++c) fold[c] = static_cast<unsigned char>(std::tolower(c));
    return fold;
}

// The rows (indexes into positions) in the order of their records in the set. Keys are built in
// this order: a million records read in the order of the last sort, all over memory, took most of
// a second longer than read one after the other.
std::vector<int> RowsInSetOrder(const std::vector<int>& positions, std::size_t recordCount) {
    std::vector<int> starts(recordCount + 1, 0);
    for (const int position : positions) ++starts[position + 1];
    for (std::size_t at = 1; at < starts.size(); ++at) starts[at] += starts[at - 1];
    std::vector<int> rows(positions.size());
    for (std::size_t row = 0; row < positions.size(); ++row) rows[starts[positions[row]]++] = static_cast<int>(row);
    return rows;
}

// Numbers as numbers: with the sign bit flipped, negative ones come first as unsigned values.
// The cells show exactly these numbers in decimal, which NumericSortKey orders the same way.
std::uint64_t NumberHead(std::int64_t number) { return static_cast<std::uint64_t>(number) ^ (std::uint64_t{1} << 63); }

std::uint64_t NumberOf(const FileRecord& record, int column) {
    switch (column) {
    case SizeColumn: return NumberHead(record.Size);
    case LengthColumn: return NumberHead(record.Length);
    default: return NumberHead(record.Rating);
    }
}

bool IsNameColumn(int column) { return column == TypeColumn || column == CategoryColumn || column == kDriveColumn; }

int NamedID(const FileRecord& record, int column) {
    switch (column) {
    case TypeColumn: return record.TypeID;
    case CategoryColumn: return record.CategoryID;
    default: return record.DriveID;
    }
}

std::string NameOf(Catalogue& catalogue, const FileRecord& record, int column) {
    if (column != kDriveColumn) return CellText(catalogue, record, column);
    const Drive* drive = catalogue.Drives.ByID(record.DriveID);
    return drive ? drive->Name : std::string();
}

// Type, category and drive names are few: each ID's name gets its rank among them, equal names
// one rank.
std::vector<SortKey> NameKeys(Catalogue& catalogue, const std::vector<int>& positions, int column) {
    const auto& records = catalogue.Files.Records();
    const auto idOf = [column](const FileRecord& record) { return NamedID(record, column); };
    const std::vector<int> inSetOrder = RowsInSetOrder(positions, records.size());
    std::unordered_map<int, std::string> names;
    for (const int row : inSetOrder) {
        const FileRecord& record = records[positions[row]];
        if (!names.contains(idOf(record))) names.emplace(idOf(record), NameOf(catalogue, record, column));
    }
    std::vector<std::string> ranked;
    for (const auto& [id, name] : names) ranked.push_back(name);
    std::sort(ranked.begin(), ranked.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    std::unordered_map<int, std::uint64_t> rankOf;
    for (const auto& [id, name] : names)
        rankOf[id] = std::lower_bound(ranked.begin(), ranked.end(), name, [](auto& a, auto& b) { return CompareText(a, b) < 0; }) - ranked.begin();
    std::vector<SortKey> keys(positions.size());
    for (const int row : inSetOrder) keys[row] = {rankOf[idOf(records[positions[row]])], 0, 0, false, positions[row]};
    return keys;
}

// The texts of a text column without copying them where the record holds them.
class TextColumn {
public:
    TextColumn(const std::vector<FileRecord>& records, int column) : records_(records), column_(column) {}

    const std::string& Text(int position, std::string& scratch) const {
        const FileRecord& record = records_[position];
        switch (column_) {
        case FileNameColumn: return record.FileName;
        case TitleColumn: return record.Title;
        case CRCColumn: return record.CRC;
        case FourCCColumn: return record.FourCC;
        default: break;
        }
        scratch.clear();  // KeywordText, in a buffer used again and again
        for (const std::string& keyword : record.Keywords) (scratch.empty() ? scratch : scratch.append(", ")).append(keyword);
        return scratch;
    }

private:
    const std::vector<FileRecord>& records_;
    int column_;
};

struct TextKeys {
    std::vector<SortKey> Keys;
    std::string Folded;  // the folded texts, one after the other
};

// Bytes 8L to 8L+8 of the key's folded text after the shared start, big-endian, zeros after its end.
std::uint64_t HeadAt(const SortKey& key, std::size_t level, const std::string& folded) {
    const char* bytes = folded.data() + key.Offset + 8 * level - (level > 0 ? 8 : 0);  // from level 1, Offset is past Head's bytes
    const std::size_t count = key.Length > 8 * level ? std::min<std::size_t>(8, key.Length - 8 * level) : 0;
    std::uint64_t head = 0;
    for (std::size_t at = 0; at < count; ++at) head |= std::uint64_t{static_cast<unsigned char>(bytes[at])} << (8 * (7 - at));
    return head;
}

// Every text folded into one buffer, read once in the set's order; then the bytes all of them
// begin with are skipped (they cannot order anything, and paths and titles often share many)
// and Head takes the next eight.
TextKeys FoldedKeys(const TextColumn& texts, const std::vector<int>& positions, std::size_t recordCount, const Fold& fold) {
    TextKeys made;
    made.Keys.resize(positions.size());
    std::string scratch;
    std::size_t shared = std::string::npos;
    for (const int row : RowsInSetOrder(positions, recordCount)) {
        const std::string& text = texts.Text(positions[row], scratch);
        SortKey& key = made.Keys[row];
        key.Position = positions[row];
        key.Offset = made.Folded.size();
        key.Length = static_cast<std::uint32_t>(text.size());
        made.Folded.resize(key.Offset + text.size());
        char* folded = made.Folded.data() + key.Offset;
        for (std::size_t at = 0; at < text.size(); ++at) {
            folded[at] = static_cast<char>(fold[static_cast<unsigned char>(text[at])]);
            key.Cased = key.Cased || folded[at] != text[at];
        }
        std::size_t same = 0;  // with the first text, at the buffer's start
        while (same < std::min(shared, text.size()) && folded[same] == made.Folded[same]) ++same;
        shared = same;
    }
    for (SortKey& key : made.Keys) {
        key.Offset += shared;
        key.Length -= static_cast<std::uint32_t>(shared);
        key.Head = HeadAt(key, 0, made.Folded);
        key.Offset += 8;  // Head's bytes are not looked at again
    }
    return made;
}

// At level L, Head holds bytes 8L to 8L+8 of the folded text after the shared start: rows with
// equal Heads are sorted again by the next eight bytes, read once per row rather than once per
// comparison. A text that ends within the level goes before the longer ones.
bool EndsWithin(const SortKey& key, std::size_t level) { return key.Length <= 8 * (level + 1); }

int CompareAtLevel(const SortKey& a, const SortKey& b, std::size_t level) {
    if (a.Head != b.Head) return a.Head < b.Head ? -1 : 1;
    if (!EndsWithin(a, level) && !EndsWithin(b, level)) return 0;  // the next level tells
    return a.Length == b.Length ? 0 : a.Length < b.Length ? -1 : 1;
}

// Rows whose folded texts are equal go by the texts' bytes, as CompareText does, unless they are
// equal too (as the many equal FourCCs are).
void OrderByBytes(std::vector<SortKey>::iterator first, std::vector<SortKey>::iterator end, const TextColumn& texts, bool ascending) {
    if (std::none_of(first, end, [](const SortKey& key) { return key.Cased; })) return;
    std::string scratchA;
    std::string scratchB;
    const std::string one = texts.Text(first->Position, scratchA);
    if (std::all_of(first + 1, end, [&](const SortKey& key) { return texts.Text(key.Position, scratchB) == one; })) return;
    std::stable_sort(first, end, [&](const SortKey& a, const SortKey& b) {
        const int order = texts.Text(a.Position, scratchA).compare(texts.Text(b.Position, scratchB));
        return ascending ? order < 0 : order > 0;
    });
}

void SortLevel(std::vector<SortKey>::iterator first, std::vector<SortKey>::iterator end, std::size_t level, const TextKeys& folded,
               const TextColumn& texts, bool ascending) {
    // Often all the rows a level is asked to order share its eight bytes too (", keyword 0").
    if (std::any_of(first + 1, end, [&](const SortKey& key) { return CompareAtLevel(*first, key, level) != 0; })) {
        std::stable_sort(first, end, [&](const SortKey& a, const SortKey& b) {
            return ascending ? CompareAtLevel(a, b, level) < 0 : CompareAtLevel(b, a, level) < 0;
        });
    }
    for (auto run = first, next = first; run != end; run = next) {
        next = std::find_if(run + 1, end, [&](const SortKey& key) { return CompareAtLevel(*run, key, level) != 0; });
        if (next - run < 2) continue;
        if (EndsWithin(*run, level)) {  // so do the others: their folded texts are equal
            OrderByBytes(run, next, texts, ascending);
            continue;
        }
        for (auto key = run; key != next; ++key) key->Head = HeadAt(*key, level + 1, folded.Folded);
        SortLevel(run, next, level + 1, folded, texts, ascending);
    }
}

}  // namespace

void SortPositions(Catalogue& catalogue, std::vector<int>& positions, int column, bool ascending) {
    const auto& records = catalogue.Files.Records();
    const TextColumn texts(records, column);
    TextKeys folded;
    if (IsNameColumn(column)) {
        folded.Keys = NameKeys(catalogue, positions, column);
    } else if (!kListColumns[column].Numeric) {
        folded = FoldedKeys(texts, positions, records.size(), FoldTable());
    } else {
        folded.Keys.resize(positions.size());
        for (const int row : RowsInSetOrder(positions, records.size()))
            folded.Keys[row] = {NumberOf(records[positions[row]], column), 0, 0, false, positions[row]};
    }
    std::vector<SortKey>& keys = folded.Keys;
    SortLevel(keys.begin(), keys.end(), 0, folded, texts, ascending);
    for (std::size_t row = 0; row < keys.size(); ++row) positions[row] = keys[row].Position;
}
