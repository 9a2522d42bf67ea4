// SPDX-License-Identifier: GPL-3.0-or-later
// One change to 10,000 records of a 100,000-file catalogue (a category and a keyword), written in
// one transaction, beside the same change saved record by record (each record rewritten with its
// keywords, as one Save does), also in one transaction. Each run works on a fresh copy.
#include <cstdio>
#include <filesystem>

#include "BenchSupport.h"
#include "batch/BatchEdit.h"
#include "model/modCatalogue.h"

namespace {

constexpr int kChosen = 10'000;
constexpr double kBoundSeconds = 1.0;

struct Fresh {
    Catalogue catalogue;
    std::vector<int> ids;
    int categoryID = 0;
};

void Open(Fresh& fresh, const std::string& source, const std::string& copy) {
    std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing);
    if (!fresh.catalogue.Store.OpenDB(copy).empty() || !fresh.catalogue.Reload().empty()) Fail("cannot open " + copy);
    if (!AddCategory(fresh.catalogue, "Batch").Error.empty()) Fail("cannot add a category");
    fresh.catalogue.Categories.GotoCategoryName("Batch");
    fresh.categoryID = fresh.catalogue.Categories.CategoryID();
    const auto& records = fresh.catalogue.Files.Records();
    const std::size_t step = std::max<std::size_t>(1, records.size() / kChosen);
    for (std::size_t i = 0; i < records.size() && fresh.ids.size() < kChosen; i += step) fresh.ids.push_back(records[i].FileID);
}

template <class Work>
double Timed(const std::string& source, const std::string& copy, Work work) {
    std::vector<double> runs;
    for (int run = 0; run < 3; ++run) {
        Fresh fresh;
        Open(fresh, source, copy);
        runs.push_back(BestSeconds(1, [&] { work(fresh); }));
    }
    return Median(runs);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("usage: bench_batch WORK CATALOGUE");
    const std::string copy = std::string(argv[1]) + "/batch.rvd";
    std::vector<double> applied;  // what the window's thread does once the worker has written
    const double batch = Timed(argv[2], copy, [&applied](Fresh& fresh) {
        BatchChange change;
        change.CategoryID = fresh.categoryID;
        change.AddKeywords = {"chosen"};
        const BatchOutcome outcome = WriteBatch(fresh.catalogue.Store, fresh.ids, change);
        if (!outcome.Error.empty() || outcome.Saved.size() != fresh.ids.size()) Fail("batch failed: " + outcome.Error);
        applied.push_back(BestSeconds(1, [&] { ApplyBatchToSet(fresh.catalogue.Files, outcome.Saved, change); }));
    });
    const double oneByOne = Timed(argv[2], copy, [](Fresh& fresh) {
        clsSQLite::Transaction unit(fresh.catalogue.Store);
        for (const int id : fresh.ids) {
            fresh.catalogue.Files.GotoFileID(id);
            FileRecord record = *fresh.catalogue.Files.Current();
            record.CategoryID = fresh.categoryID;
            record.Keywords.push_back("chosen");
            if (!UpdateFile(fresh.catalogue, record).empty()) Fail("update failed");
        }
        if (!unit.Commit().empty()) Fail("commit failed");
    });
    std::filesystem::remove(copy);
    std::printf("batch edit of %d records (category + keyword): %.3f s  (bound %.0f s) %s\n", kChosen, batch, kBoundSeconds,
                batch <= kBoundSeconds ? "ok" : "MISSED");
    std::printf("  of which the loaded set brought in step: %.3f s (bound 0.1 s) %s\n", Median(applied),
                Median(applied) <= 0.1 ? "ok" : "MISSED");
    std::printf("the same saved record by record in one transaction: %.3f s; batch / that: %.2fx\n", oneByOne,
                batch / oneByOne);
    return batch <= kBoundSeconds ? 0 : 1;
}
