// SPDX-License-Identifier: GPL-3.0-or-later
// Loads, look-ups, memory and rvcli list of the record sets, and inserts with keywords, each printed
// with its ratio to a reference measured in the same run, turn about, as medians:
// bench_model SCRATCH_FOLDER RVCLI CATALOGUE... (the smallest catalogue first)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>

#include "model/modCatalogue.h"
#include "BenchSupport.h"
#include "store/modSchema.h"

namespace {

constexpr int kTurns = 5;

// Memory handed out by the allocator and not yet freed, in MiB.
double AllocatedMiB() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1 << 20);
}

void Report(const std::string& what, double ours, double reference, const std::string& referenceName, double bound) {
    std::printf("%-44s %8.3f s; %s %.3f s; ratio %.2f (bound <= %.1f) %s\n", what.c_str(), ours, referenceName.c_str(),
                reference, ours / reference, bound, ours / reference <= bound ? "ok" : "MISSED");
}

// The medians of ours and of the reference, timed in turns so that a busy moment hits both alike.
template <class Ours, class Reference>
std::pair<double, double> MedianTurns(int turns, Ours ours, Reference reference) {
    std::vector<double> oursSeconds, referenceSeconds;
    for (int turn = 0; turn < turns; ++turn) {
        oursSeconds.push_back(BestSeconds(1, ours));
        referenceSeconds.push_back(BestSeconds(1, reference));
    }
    return {Median(oursSeconds), Median(referenceSeconds)};
}

struct LoadFigures {
    int Files = 0;
    double Ours = 0, Reference = 0;
};

// Each turn loads into a fresh Catalogue, as the window does; the sets of the last one stay for
// the look-ups.
LoadFigures BenchLoad(const std::string& path, std::unique_ptr<Catalogue>& catalogue) {
    const std::vector<std::string> sqlite = {
        "/usr/bin/sqlite3", path,
        "SELECT FileID,FileName,Title,Type,Category,CRC,Size,Length,FourCC,Rating FROM tblFile ORDER BY FileName;",
        "SELECT tblFileKeywordJunction.FileID, tblKeyword.Keyword FROM tblKeyword, tblFileKeywordJunction "
        "WHERE tblKeyword.KeywordID=tblFileKeywordJunction.KeywordID;"};
    std::vector<double> oursSeconds, referenceSeconds;
    double inUse = 0;
    for (int turn = 0; turn < kTurns; ++turn) {
        catalogue.reset();  // the sets a load replaces are freed before it, as the window swaps them
        const double before = AllocatedMiB();
        catalogue = std::make_unique<Catalogue>();
        if (std::string error = OpenCatalogue(catalogue->Store, path); !error.empty()) Fail(error);
        oursSeconds.push_back(BestSeconds(1, [&] {
            if (std::string error = catalogue->Reload(); !error.empty()) Fail(error);
        }));
        inUse = AllocatedMiB() - before;
        referenceSeconds.push_back(CommandSeconds(sqlite));
    }
    const double ours = Median(oursSeconds), reference = Median(referenceSeconds);
    const int files = catalogue->Files.Count();
    Report("load " + std::to_string(files) + " files with categories and types", ours, reference,
           "sqlite3 printing the same rows", 1.3);
    // What the allocator holds for the catalogue and its sets: the process's resident size also
    // counts what earlier turns freed and the allocator kept.
    const double bound = 450.0 * files / 1'000'000;
    std::printf("%-44s %8.1f MB (process %.1f MB, peak %.1f MB) (bound <= %.0f) %s\n", "memory of the loaded sets",
                inUse, ResidentMiB("VmRSS"), ResidentMiB("VmHWM"), bound, inUse <= bound ? "ok" : "MISSED");
    return {files, ours, reference};
}

// Look-ups against the hash maps of copied keys the set used to keep, built here from the same
// records: the set's indexes keep only positions, and must not be slower for it.
void BenchLookUps(clsFile& files) {
    struct Key {
        int FileID;
        std::string FileName, CRC;
    };
    std::vector<Key> keys;  // held apart from the set, in random order, as a caller holds them
    std::unordered_map<int, int> byID;
    std::unordered_map<std::string, int> byName, byCRC;
    int position = 0;
    for (const FileRecord& record : files.Records()) {
        keys.push_back({record.FileID, record.FileName, record.CRC});
        byID[record.FileID] = byName[record.FileName] = byCRC[record.CRC] = position++;
    }
    std::shuffle(keys.begin(), keys.end(), std::mt19937(42));
    std::size_t checksum = 0;
    const auto lookUps = [&](const char* name, auto ours, auto reference) {
        const auto [seconds, mapSeconds] = MedianTurns(
            kTurns, [&] { for (const Key& key : keys) checksum += ours(key) ? 1 : 0; },
            [&] { for (const Key& key : keys) checksum += reference(key) ? 1 : 0; });
        Report(std::to_string(keys.size()) + " " + name, seconds, mapSeconds, "a map of copied keys", 1.3);
    };
    const auto found = [](const auto& map, const auto& key) { return map.find(key) != map.end(); };
    lookUps("GotoFileID", [&](const Key& key) { return files.GotoFileID(key.FileID); },
            [&](const Key& key) { return found(byID, key.FileID); });
    lookUps("GotoFileName", [&](const Key& key) { return files.GotoFileName(key.FileName); },
            [&](const Key& key) { return found(byName, key.FileName); });
    lookUps("GotoCRC", [&](const Key& key) { return files.GotoCRC(key.CRC); },
            [&](const Key& key) { return found(byCRC, key.CRC); });
    if (checksum == 0) Fail("nothing was read");
}

// rvcli list --format csv beside sqlite3 -csv printing the same columns, the keywords joined.
void BenchListCSV(const std::string& rvcli, const std::string& path) {
    const std::string sql =
        "SELECT f.FileID,f.FileName,f.Title,t.FileType,c.Category,f.CRC,f.Size,f.Length,f.FourCC,f.Rating,"
        "(SELECT group_concat(k.Keyword,', ') FROM tblFileKeywordJunction j JOIN tblKeyword k "
        "ON k.KeywordID=j.KeywordID WHERE j.FileID=f.FileID) "
        "FROM tblFile f LEFT JOIN tblFileType t ON t.FileTypeID=f.Type "
        "LEFT JOIN tblCategory c ON c.CategoryID=f.Category ORDER BY f.FileName;";
    const auto [ours, reference] = MedianTurns(
        3, [&] { CommandSeconds({rvcli, "list", path, "--format", "csv"}); },
        [&] { CommandSeconds({"/usr/bin/sqlite3", "-csv", path, sql}); });
    Report("rvcli list --format csv", ours, reference, "sqlite3 -csv", 2);
}

// Inserts files in batches as a bulk load does, into a catalogue that already holds 50,000 keywords.
double InsertSeconds(const std::string& path, int files, int newKeywordsPerFile) {
    Catalogue catalogue;
    std::remove(path.c_str());
    if (std::string error = CreateNewDatabase(catalogue.Store, path); !error.empty()) Fail(error);
    const std::string keywords = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<50000) "
                                 "INSERT INTO tblKeyword SELECT i, printf('old keyword %05d', i) FROM n;";
    if (std::string error = catalogue.Store.Execute(keywords); !error.empty()) Fail(error);
    return BestSeconds(1, [&] {
        for (int batch = 0; batch < files; batch += 500) {
            clsSQLite::Transaction unit(catalogue.Store);
            for (int i = batch; i < std::min(files, batch + 500); ++i) {
                FileRecord record{-1, "/media/new/file " + std::to_string(i) + ".avi", "", 1, 1, "ABCDEF", 1 << 20, 60000, "", 0, {}};
                for (int k = 0; k < newKeywordsPerFile; ++k) record.Keywords.push_back("new keyword " + std::to_string(i * 3 + k));
                if (std::string error = InsertFile(catalogue, record).Error; !error.empty()) Fail(error);
            }
            if (std::string error = unit.Commit(); !error.empty()) Fail(error);
        }
    });
}

void BenchInsert(const std::string& scratch) {
    const double plain = InsertSeconds(scratch + "/insert-plain.rvd", 10'000, 0);
    const double withKeywords = InsertSeconds(scratch + "/insert-keywords.rvd", 10'000, 3);
    // Three new keywords make ten statements of the plain insert's one: each is looked up, added and linked.
    Report("insert 10000 files with 3 new keywords each", withKeywords, plain, "without keywords", 8);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) Fail("usage: bench_model SCRATCH_FOLDER RVCLI CATALOGUE...");
    std::vector<LoadFigures> loads;
    for (int i = 3; i < argc; ++i) {
        std::unique_ptr<Catalogue> catalogue;
        loads.push_back(BenchLoad(argv[i], catalogue));
        BenchLookUps(catalogue->Files);
        catalogue.reset();
        BenchListCSV(argv[2], argv[i]);
    }
    if (loads.size() > 1) {
        // Time per file, largest catalogue over smallest: 1 is linear growth.
        const LoadFigures& small = loads.front();
        const LoadFigures& large = loads.back();
        const double perFile = (large.Ours / large.Files) / (small.Ours / small.Files);
        const double referencePerFile = (large.Reference / large.Files) / (small.Reference / small.Files);
        std::printf("%-44s %8.2f; sqlite3 %.2f (bound <= 1.2) %s\n", "load time per file, largest over smallest", perFile,
                    referencePerFile, perFile <= 1.2 ? "ok" : "MISSED");
    }
    BenchInsert(argv[1]);
    return 0;
}
