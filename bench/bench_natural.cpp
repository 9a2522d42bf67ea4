// SPDX-License-Identifier: GPL-3.0-or-later
// The results list sorted by File Name in natural order (a collation key per row, made once per
// sort) beside today's sort of the same column, over every record of a catalogue, best of three
// runs each, taken in turn.
#include <cstdio>
#include <memory>
#include <numeric>

#include "BenchSupport.h"
#include "listing/NaturalOrder.h"
#include "listing/RowSort.h"
#include "store/modSchema.h"

namespace {

constexpr double kBound = 1.5;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: bench_natural CATALOGUE");
    Catalogue catalogue;
    if (!OpenCatalogue(catalogue.Store, argv[1]).empty() || !catalogue.Reload().empty()) Fail(std::string("cannot read ") + argv[1]);
    std::vector<int> all(catalogue.Files.Records().size());
    std::iota(all.begin(), all.end(), 0);
    const NaturalOrder natural("en_US");
    if (!natural.Error().empty()) Fail(natural.Error());
    double today = 1e9;
    double naturally = 1e9;
    for (int run = 0; run < 3; ++run) {
        std::vector<int> rows = all;
        today = std::min(today, BestSeconds(1, [&] { SortPositions(catalogue, rows, FileNameColumn, true); }));
        rows = all;
        naturally = std::min(naturally, BestSeconds(1, [&] { SortPositions(catalogue, rows, FileNameColumn, true, &natural); }));
    }
    // What making the keys alone costs, as the sort makes them; the rest is the sort of them.
    const auto buffer = std::make_unique_for_overwrite<char[]>(all.size() * 4 * 64);
    const double keys = BestSeconds(3, [&] {
        std::size_t used = 0;
        for (const FileRecord& record : catalogue.Files.Records()) {
            if (used + NaturalOrder::AsciiKeyRoom(record.FileName.size()) > all.size() * 4 * 64) break;  // names longer than the bench's
            used += static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, natural.WriteAsciiKey(record.FileName, buffer.get() + used)));
        }
    });
    const double ratio = naturally / today;
    std::printf("File Name sorted, %zu rows: natural order %.3f s, today's order %.3f s; ratio %.2fx (bound %.1fx) %s\n", all.size(),
                naturally, today, ratio, kBound, ratio <= kBound ? "ok" : "MISSED");
    std::printf("  of which making the keys: about %.3f s\n", keys);
    return ratio <= kBound ? 0 : 1;
}
