// SPDX-License-Identifier: GPL-3.0-or-later
// A row's key is a 64-bit number that orders as its cell does: numbers with their sign bit flipped,
// names by their rank, texts by eight folded bytes at a time. Rows are sorted by key with a radix
// sort, which is stable and reads each key a few times rather than log n times; rows whose keys tie
// are sorted again by the next eight bytes of their texts, and so on. The first words (up to five)
// of every text are folded in one pass over the rows, because a text's bytes lie wherever the
// allocator put them: one cache miss per row then, rather than one per row and level. Rows that tie
// beyond those are few, and are compared whole.
#include "listing/RowSort.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "listing/ListRow.h"
#include "listing/NaturalOrder.h"
#include "listing/modListViewSort.h"

namespace {

// Key orders the rows; Row (the row's place before the sort) keeps ties in their order.
struct Item {
    std::uint64_t Key = 0;
    std::uint32_t Row = 0;
    std::uint32_t Length = 0;  // text columns: the folded text's bytes after those all rows share
};
using Items = std::vector<Item>;
using ItemIt = Items::iterator;

// Least significant digit first, eleven bits at a time: 2,048 buckets fit the first-level cache.
// Digits that every item shares cost one look at their counts.
void RadixSort(ItemIt first, ItemIt last, Items& scratch) {
    constexpr int kBits = 11;
    constexpr int kDigits = (64 + kBits - 1) / kBits;
    constexpr std::uint64_t kMask = (1u << kBits) - 1;
    const std::size_t count = static_cast<std::size_t>(last - first);
    std::vector<std::array<std::uint32_t, kMask + 1>> counts(kDigits);
    for (auto item = first; item != last; ++item) {
        for (int digit = 0; digit < kDigits; ++digit) ++counts[digit][(item->Key >> (digit * kBits)) & kMask];
    }
    scratch.resize(count);
    Item* from = &*first;
    Item* to = scratch.data();
    for (int digit = 0; digit < kDigits; ++digit) {
        auto& buckets = counts[digit];
        if (buckets[(first->Key >> (digit * kBits)) & kMask] == count) continue;
        std::uint32_t start = 0;
        for (std::uint32_t& bucket : buckets) start += std::exchange(bucket, start);
        for (std::size_t at = 0; at < count; ++at) to[buckets[(from[at].Key >> (digit * kBits)) & kMask]++] = from[at];
        std::swap(from, to);
    }
    if (from != &*first) std::copy(from, from + count, first);
}

// By Key, then by Row: a stable order whichever way the items are moved.
void SortItems(ItemIt first, ItemIt last, Items& scratch) {
    constexpr std::ptrdiff_t kWorthRadix = 256;
    if (last - first < 2) return;
    if (last - first >= kWorthRadix) return RadixSort(first, last, scratch);
    std::sort(first, last, [](const Item& a, const Item& b) { return a.Key != b.Key ? a.Key < b.Key : a.Row < b.Row; });
}

// Calls visit(first, last) for each run of two or more items with equal keys.
template <class Visit>
void ForEachTie(ItemIt first, ItemIt last, Visit visit) {
    for (auto run = first; run != last;) {
        const auto next = std::find_if(run + 1, last, [&](const Item& item) { return item.Key != run->Key; });
        if (next - run > 1) visit(run, next);
        run = next;
    }
}

// Numbers as numbers: with the sign bit flipped, negative ones come first as unsigned values.
// The cells show exactly these numbers in decimal, which NumericSortKey orders the same way.
std::uint64_t NumberKey(std::int64_t number) { return static_cast<std::uint64_t>(number) ^ (std::uint64_t{1} << 63); }

std::uint64_t NumberOf(const FileRecord& record, int column) {
    switch (column) {
    case SizeColumn: return NumberKey(record.Size);
    case LengthColumn: return NumberKey(record.Length);
    default: return NumberKey(record.Rating);
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

// The rows (indexes into positions) in the order of their records in the set: records read one
// after the other rather than all over memory.
std::vector<std::uint32_t> RowsInSetOrder(const std::vector<int>& positions, std::size_t recordCount) {
    std::vector<std::uint32_t> starts(recordCount + 1, 0);
    for (const int position : positions) ++starts[position + 1];
    for (std::size_t at = 1; at < starts.size(); ++at) starts[at] += starts[at - 1];
    std::vector<std::uint32_t> rows(positions.size());
    for (std::size_t row = 0; row < positions.size(); ++row) rows[starts[positions[row]]++] = static_cast<std::uint32_t>(row);
    return rows;
}

// Type, category and drive names are few: each ID's name gets its rank among them, equal names
// one rank.
void RankNames(Catalogue& catalogue, const std::vector<int>& positions, int column, Items& items) {
    const auto& records = catalogue.Files.Records();
    std::unordered_map<int, std::string> names;
    const std::vector<std::uint32_t> inSetOrder = RowsInSetOrder(positions, records.size());
    for (const std::uint32_t row : inSetOrder) {
        const FileRecord& record = records[positions[row]];
        if (!names.contains(NamedID(record, column))) names.emplace(NamedID(record, column), NameOf(catalogue, record, column));
    }
    std::vector<std::string> ranked;
    for (const auto& [id, name] : names) ranked.push_back(name);
    const auto before = [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; };
    std::sort(ranked.begin(), ranked.end(), before);
    std::unordered_map<int, std::uint64_t> rankOf;
    for (const auto& [id, name] : names) rankOf[id] = std::lower_bound(ranked.begin(), ranked.end(), name, before) - ranked.begin();
    for (const std::uint32_t row : inSetOrder) items[row].Key = rankOf[NamedID(records[positions[row]], column)];
}

// Collation keys for a natural order, one per position in the set, end to end in one buffer: a
// million keys of their own would cost more to allocate and free than to make.
class NaturalKeys {
public:
    explicit NaturalKeys(std::size_t positions) : starts_(positions), lengths_(positions) {}

    std::string_view Of(int position) const { return {bytes_.get() + starts_[position], lengths_[position]}; }
    void Clear() { used_ = 0; }
    void Reserve(std::size_t size) {
        if (size > capacity_) Room(size - used_);
    }
    // Room for size more bytes at the end, moved as few times as the buffer doubles.
    char* Room(std::size_t size) {
        if (used_ + size > capacity_) {
            constexpr std::size_t kHugePage = std::size_t{2} << 20;
            const std::size_t capacity = (std::max(2 * capacity_, used_ + size) + kHugePage - 1) / kHugePage * kHugePage;
            Bytes grown(static_cast<char*>(std::aligned_alloc(kHugePage, capacity)));
            if (!grown) throw std::bad_alloc();
            madvise(grown.get(), capacity, MADV_HUGEPAGE);  // a page fault per 2 MiB rather than per 4 KiB
            std::copy(bytes_.get(), bytes_.get() + used_, grown.get());
            bytes_ = std::move(grown);
            capacity_ = capacity;
        }
        return bytes_.get() + used_;
    }
    void Add(int position, std::size_t length) {
        starts_[position] = used_;
        lengths_[position] = static_cast<std::uint32_t>(length);
        used_ += length;
    }

private:
    struct Free {
        void operator()(char* bytes) const { std::free(bytes); }
    };
    using Bytes = std::unique_ptr<char, Free>;
    Bytes bytes_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
    std::vector<std::size_t> starts_;
    std::vector<std::uint32_t> lengths_;
};

// The texts of a text column without copying them where the record holds them; or, for a natural
// order, the rows' collation keys, which order as bytes.
class TextColumn {
public:
    TextColumn(const std::vector<FileRecord>& records, int column, const NaturalKeys* keys = nullptr)
        : records_(records), column_(column), keys_(keys) {}

    bool AreKeys() const { return keys_ != nullptr; }
    // Views the record's text, or scratch when the text is made (keywords), until scratch changes.
    std::string_view Text(int position, std::string& scratch) const {
        if (keys_) return keys_->Of(position);
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

    // Asks the cache for the record's text ahead of its use: texts lie wherever the allocator
    // put them, and a pass over a million of them otherwise waits on memory at every row.
    void Prefetch(int position) const {
        const FileRecord& record = records_[position];
        if (column_ == FileNameColumn) __builtin_prefetch(record.FileName.data());
        if (column_ == TitleColumn) __builtin_prefetch(record.Title.data());
    }

private:
    const std::vector<FileRecord>& records_;
    int column_;
    const NaturalKeys* keys_;
};

// A text column's rows ordered as CompareText orders their texts: folded, then by their bytes.
class TextSort {
public:
    TextSort(const TextColumn& texts, const std::vector<int>& positions, std::size_t recordCount, bool ascending)
        : texts_(texts), positions_(positions), ascending_(ascending) {
        for (int c = 0; c < 256; ++c) fold_[c] = static_cast<unsigned char>(texts.AreKeys() ? c : std::tolower(c));
        const std::vector<std::uint32_t> inSetOrder = RowsInSetOrder(positions, recordCount);
        shared_ = SharedGuess(inSetOrder);
        if (!FoldWords(inSetOrder)) FoldWords(inSetOrder);
    }

    void Sort(Items& items) {
        for (std::size_t row = 0; row < items.size(); ++row) items[row].Length = lengths_[row];
        SortLevel(items.begin(), items.end(), 0);
    }

private:
    static constexpr std::size_t kMostWordsKept = 5;

    // Eight folded bytes from offset, which lies inside the text, as a big-endian number; zeros
    // past the text's end.
    std::uint64_t Word(std::string_view text, std::size_t offset) const {
        const std::size_t count = std::min<std::size_t>(8, text.size() - offset);
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data() + offset);
        std::uint64_t word = 0;
        if (count == 8) {  // most words: no test per byte
            for (int at = 0; at < 8; ++at) word = word << 8 | fold_[bytes[at]];
            return word;
        }
        for (std::size_t at = 0; at < count; ++at) word |= std::uint64_t{fold_[bytes[at]]} << (8 * (7 - at));
        return word;
    }
    bool SameFolded(std::string_view a, std::string_view b, std::size_t count) const {
        if (a.size() < count || b.size() < count) return false;
        if (count == 0 || std::memcmp(a.data(), b.data(), count) == 0) return true;
        for (std::size_t at = 0; at < count; ++at) {
            if (fold_[static_cast<unsigned char>(a[at])] != fold_[static_cast<unsigned char>(b[at])]) return false;
        }
        return true;
    }
    std::size_t FoldedMatch(std::string_view a, std::string_view b, std::size_t most) const {
        std::size_t same = 0;
        while (same < std::min({most, a.size(), b.size()}) &&
               fold_[static_cast<unsigned char>(a[same])] == fold_[static_cast<unsigned char>(b[same])])
            ++same;
        return same;
    }

    // The bytes the first text shares with a sample of the others: perhaps more than all share,
    // which FoldWords finds out as it passes over every text. The words kept per row are as many
    // as the longest text of the sample needs: short texts such as CRCs need one, and a text
    // longer than the words kept is still ordered rightly, only compared whole where it ties.
    std::size_t SharedGuess(const std::vector<std::uint32_t>& inSetOrder) {
        if (inSetOrder.empty()) return 0;
        first_ = texts_.Text(positions_[inSetOrder.front()], scratch_);
        std::size_t shared = first_.size();
        std::size_t longest = 0;
        const std::size_t step = std::max<std::size_t>(1, inSetOrder.size() / 1024);
        for (std::size_t at = 0; at < inSetOrder.size(); at += step) {
            const std::string_view text = texts_.Text(positions_[inSetOrder[at]], scratch_);
            longest = std::max(longest, text.size());
            shared = FoldedMatch(first_, text, shared);
        }
        wordsKept_ = std::clamp<std::size_t>((longest - shared + 7) / 8, 1, kMostWordsKept);
        return shared;
    }

    // The first words after the shared bytes of every text; false, with shared_ made as small as
    // the texts need, when some turned out to share fewer.
    bool FoldWords(const std::vector<std::uint32_t>& inSetOrder) {
        words_.assign(inSetOrder.size() * wordsKept_, 0);
        lengths_.resize(inSetOrder.size());
        cased_.resize(inSetOrder.size());
        bool shrunk = false;
        for (const std::uint32_t row : inSetOrder) {
            const std::string_view text = texts_.Text(positions_[row], scratch_);
            if (!SameFolded(text, first_, shared_)) {
                shared_ = FoldedMatch(text, first_, shared_);
                shrunk = true;
            }
            if (shrunk) continue;
            for (std::size_t level = 0; level < wordsKept_ && shared_ + 8 * level < text.size(); ++level)
                words_[row * wordsKept_ + level] = Word(text, shared_ + 8 * level);
            lengths_[row] = static_cast<std::uint32_t>(text.size() - shared_);
            cased_[row] = !texts_.AreKeys() &&  // keys fold nothing: equal ones are the same
                          std::any_of(text.begin(), text.end(), [&](char c) { return fold_[static_cast<unsigned char>(c)] != c; });
        }
        return !shrunk;
    }

    std::uint64_t WordAt(const Item& item, std::size_t level) const {
        const std::uint64_t word = words_[item.Row * wordsKept_ + level];
        return ascending_ ? word : ~word;
    }

    // Among rows whose words up to this level are equal: 0 to 8 for a text that ends within the
    // level's word (the shorter goes first), 9 for one that goes on.
    static std::uint32_t Rest(const Item& item, std::size_t level) {
        const std::size_t rest = item.Length - std::min<std::size_t>(item.Length, 8 * level);
        return static_cast<std::uint32_t>(std::min<std::size_t>(rest, 9));
    }

    void SortLevel(ItemIt first, ItemIt last, std::size_t level) {
        if (level == wordsKept_) return SortWhole(first, last);
        for (auto item = first; item != last; ++item) item->Key = WordAt(*item, level);
        SortItems(first, last, scratch_items_);
        ForEachTie(first, last, [&](ItemIt run, ItemIt end) {
            if (SameTexts(run, end, level + 1)) return lengths_[run->Row] <= 8 * wordsKept_ ? OrderByBytes(run, end) : SortWhole(run, end);
            if (std::any_of(run + 1, end, [&](const Item& item) { return Rest(item, level) != Rest(*run, level); })) {
                std::stable_sort(run, end, [&](const Item& a, const Item& b) {
                    return ascending_ ? Rest(a, level) < Rest(b, level) : Rest(a, level) > Rest(b, level);
                });
            }
            for (auto group = run; group != end;) {
                const std::uint32_t rest = Rest(*group, level);
                const auto next = std::find_if(group, end, [&](const Item& item) { return Rest(item, level) != rest; });
                if (rest > 8) SortLevel(group, next, level + 1);
                else OrderByBytes(group, next);
                group = next;
            }
        });
    }

    // Whether the rows' texts are the same length and their words from level on the same: equal
    // folded texts, as keyword lists often are, when the kept words hold them whole.
    bool SameTexts(ItemIt first, ItemIt last, std::size_t level) const {
        const std::uint32_t length = lengths_[first->Row];
        const std::uint64_t* words = &words_[first->Row * wordsKept_];
        return std::all_of(first + 1, last, [&](const Item& item) {
            return lengths_[item.Row] == length && std::equal(words + level, words + wordsKept_, &words_[item.Row * wordsKept_ + level]);
        });
    }

    // Rows whose first words all tie, as the texts compare.
    void SortWhole(ItemIt first, ItemIt last) {
        std::vector<std::pair<std::string, Item>> texts;
        texts.reserve(static_cast<std::size_t>(last - first));
        for (auto item = first; item != last; ++item) texts.emplace_back(std::string(texts_.Text(positions_[item->Row], scratch_)), *item);
        const auto compare = [&](const std::string& a, const std::string& b) {
            return texts_.AreKeys() ? a.compare(b) : CompareText(a, b);
        };
        std::stable_sort(texts.begin(), texts.end(), [&](const auto& a, const auto& b) {
            return ascending_ ? compare(a.first, b.first) < 0 : compare(a.first, b.first) > 0;
        });
        for (auto& [text, item] : texts) *first++ = item;
    }

    // Rows whose folded texts are equal go by the texts' bytes, unless those are equal too (as the
    // many equal FourCCs are, and texts without capitals always).
    void OrderByBytes(ItemIt first, ItemIt last) {
        if (last - first < 2 || std::none_of(first, last, [&](const Item& item) { return cased_[item.Row]; })) return;
        std::string scratchB;
        const std::string one(texts_.Text(positions_[first->Row], scratch_));
        if (std::all_of(first + 1, last, [&](const Item& item) { return texts_.Text(positions_[item.Row], scratchB) == one; })) return;
        std::stable_sort(first, last, [&](const Item& a, const Item& b) {
            const int order = texts_.Text(positions_[a.Row], scratch_).compare(texts_.Text(positions_[b.Row], scratchB));
            return ascending_ ? order < 0 : order > 0;
        });
    }

    const TextColumn& texts_;
    const std::vector<int>& positions_;
    const bool ascending_;
    std::array<unsigned char, 256> fold_{};
    std::string first_;  // the first text in the set's order
    std::size_t shared_ = 0;
    std::size_t wordsKept_ = 1;
    std::vector<std::uint64_t> words_;  // wordsKept_ per row
    std::vector<std::uint32_t> lengths_;
    std::vector<std::uint8_t> cased_;  // the row's text differs from its folded form
    std::string scratch_;
    Items scratch_items_;
};

// One collation key per row, made in the set's order so that the records are read one after the
// other. ICU's keys cost a microsecond or more each; names that are all ASCII, as most are, have a
// key of their own that costs a small part of that, when every row's name has one.
NaturalKeys MakeNaturalKeys(const std::vector<FileRecord>& records, const std::vector<int>& positions, int column,
                            const NaturalOrder& natural) {
    const TextColumn texts(records, column);
    const std::vector<std::uint32_t> inSetOrder = RowsInSetOrder(positions, records.size());
    NaturalKeys keys(records.size());
    std::string scratch;
    // Room for keys twice the texts' size, as a sample has them: the buffer is then seldom moved
    // while it grows, and what it does not use is never touched.
    const std::size_t step = std::max<std::size_t>(1, inSetOrder.size() / 1024);
    std::size_t sampled = 0;
    for (std::size_t at = 0; at < inSetOrder.size(); at += step) sampled += texts.Text(positions[inSetOrder[at]], scratch).size();
    keys.Reserve(inSetOrder.size() * (2 * sampled * step / std::max<std::size_t>(1, inSetOrder.size()) + 8));
    if (natural.HasAsciiKeys()) {
        bool ascii = true;
        constexpr std::size_t kAhead = 16;
        for (std::size_t at = 0; ascii && at < inSetOrder.size(); ++at) {
            if (at + kAhead < inSetOrder.size()) texts.Prefetch(positions[inSetOrder[at + kAhead]]);
            const int position = positions[inSetOrder[at]];
            const std::string_view text = texts.Text(position, scratch);
            const std::ptrdiff_t length = natural.WriteAsciiKey(text, keys.Room(NaturalOrder::AsciiKeyRoom(text.size())));
            if (length >= 0) keys.Add(position, static_cast<std::size_t>(length));
            ascii = length >= 0;
        }
        if (ascii) return keys;
        keys.Clear();
    }
    for (const std::uint32_t row : inSetOrder) {
        const std::string key = natural.Key(texts.Text(positions[row], scratch));
        std::copy(key.begin(), key.end(), keys.Room(key.size()));
        keys.Add(positions[row], key.size());
    }
    return keys;
}

}  // namespace

bool IsNaturalColumn(int column) { return column == FileNameColumn || column == TitleColumn || column == KeywordsColumn; }

void SortPositions(Catalogue& catalogue, std::vector<int>& positions, int column, bool ascending, const NaturalOrder* natural) {
    const auto& records = catalogue.Files.Records();
    Items items(positions.size());
    for (std::size_t row = 0; row < items.size(); ++row) items[row].Row = static_cast<std::uint32_t>(row);
    if (IsNameColumn(column)) {
        RankNames(catalogue, positions, column, items);
    } else if (kListColumns[column].Numeric) {
        for (const std::uint32_t row : RowsInSetOrder(positions, records.size())) items[row].Key = NumberOf(records[positions[row]], column);
    } else if (natural && IsNaturalColumn(column)) {
        const NaturalKeys keys = MakeNaturalKeys(records, positions, column, *natural);
        const TextColumn texts(records, column, &keys);
        TextSort(texts, positions, records.size(), ascending).Sort(items);
    } else {
        const TextColumn texts(records, column);
        TextSort(texts, positions, records.size(), ascending).Sort(items);
    }
    if (IsNameColumn(column) || kListColumns[column].Numeric) {
        if (!ascending) {
            for (Item& item : items) item.Key = ~item.Key;
        }
        Items scratch;
        SortItems(items.begin(), items.end(), scratch);
    }
    std::vector<int> sorted(positions.size());
    for (std::size_t at = 0; at < items.size(); ++at) sorted[at] = positions[items[at].Row];
    positions = std::move(sorted);
}
