// SPDX-License-Identifier: GPL-3.0-or-later
// A most-significant-digit sort with eight bytes to a digit: every pass compares whole numbers
// held in the array and reads each name of a run of ties once, where a comparison sort would
// fetch two names from all over memory for each of its n log n comparisons.
#include "model/NameOrder.h"

#include <algorithm>
#include <cstring>

namespace {

struct Entry {
    std::uint64_t digit;
    int position;
};

// Bytes offset..offset+7 of the name as one big-endian number, zeros past its end.
std::uint64_t Digit(std::string_view name, std::size_t offset) {
    unsigned char bytes[8] = {};
    if (offset < name.size()) std::memcpy(bytes, name.data() + offset, std::min<std::size_t>(8, name.size() - offset));
    std::uint64_t digit = 0;
    for (const unsigned char byte : bytes) digit = digit << 8 | byte;
    return digit;
}

bool ByDigit(const Entry& a, const Entry& b) { return a.digit != b.digit ? a.digit < b.digit : a.position < b.position; }

// Calls visit(first, last) for each run of entries with one digit.
template <class Visit>
void ForEachTie(std::vector<Entry>& entries, std::size_t begin, std::size_t end, Visit visit) {
    for (std::size_t first = begin; first < end;) {
        std::size_t last = first + 1;
        while (last < end && entries[last].digit == entries[first].digit) ++last;
        if (last - first > 1) visit(first, last);
        first = last;
    }
}

// Orders entries [begin, end), whose names agree in their first offset bytes, by the rest. Names
// that agree in every byte of padded digits differ only by zeros past the shorter one's end, so
// the shorter comes first.
void SortRun(std::vector<Entry>& entries, std::size_t begin, std::size_t end, std::size_t offset,
             const std::vector<std::string_view>& names) {
    const auto run = [&](std::size_t i) { return entries.begin() + static_cast<std::ptrdiff_t>(i); };
    // Paths share long beginnings: digits alike in the whole run are passed over without a sort.
    for (;; offset += 8) {
        if (std::none_of(run(begin), run(end), [&](const Entry& e) { return names[e.position].size() > offset; })) {
            for (std::size_t i = begin; i < end; ++i) entries[i].digit = names[entries[i].position].size();
            std::sort(run(begin), run(end), ByDigit);
            return;
        }
        for (std::size_t i = begin; i < end; ++i) entries[i].digit = Digit(names[entries[i].position], offset);
        if (!std::all_of(run(begin), run(end), [&](const Entry& e) { return e.digit == entries[begin].digit; })) break;
    }
    std::sort(run(begin), run(end), ByDigit);
    ForEachTie(entries, begin, end,
               [&](std::size_t first, std::size_t last) { SortRun(entries, first, last, offset + 8, names); });
}

}  // namespace

std::vector<int> NameOrder(const std::vector<std::uint8_t>& kinds, const std::vector<std::string_view>& names) {
    std::vector<Entry> entries(names.size());
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = {kinds[i], static_cast<int>(i)};
    std::sort(entries.begin(), entries.end(), ByDigit);
    ForEachTie(entries, 0, entries.size(),
               [&](std::size_t first, std::size_t last) { SortRun(entries, first, last, 0, names); });
    std::vector<int> order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) order[i] = entries[i].position;
    return order;
}
