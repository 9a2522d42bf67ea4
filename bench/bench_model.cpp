// SPDX-License-Identifier: GPL-3.0-or-later
// Loads, look-ups, inserts and memory of the record sets at 100,000 files, each printed with its
// ratio to a reference measured in the same run: bench_model CATALOGUE SCRATCH_FOLDER
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <string>

#include "model/modCatalogue.h"
#include "BenchSupport.h"
#include "store/modSchema.h"

namespace {

void Report(const std::string& what, double ours, double reference, const std::string& referenceName, double bound) {
    std::printf("%-44s %8.3f s; %s %.3f s; ratio %.2f (bound <= %.1f) %s\n", what.c_str(), ours, referenceName.c_str(),
                reference, ours / reference, bound, ours / reference <= bound ? "ok" : "MISSED");
}

void BenchLoad(const std::string& path) {
    const std::string sqlite =
        "sqlite3 '" + path + "' " +
        "'SELECT FileID,FileName,Title,Type,Category,CRC,Size,Length,FourCC,Rating FROM tblFile ORDER BY FileName;' "
        "'SELECT tblFileKeywordJunction.FileID, tblKeyword.Keyword FROM tblKeyword, tblFileKeywordJunction "
        "WHERE tblKeyword.KeywordID=tblFileKeywordJunction.KeywordID;' >/dev/null";
    const double reference = BestSeconds(3, [&] {
        if (std::system(sqlite.c_str()) != 0) Fail("sqlite3 failed");
    });
    const double before = ResidentMiB("VmRSS");
    auto catalogue = std::make_unique<Catalogue>();
    if (std::string error = OpenCatalogue(catalogue->Store, path); !error.empty()) Fail(error);
    const double ours = BestSeconds(3, [&] {
        if (std::string error = catalogue->Reload(); !error.empty()) Fail(error);
    });
    Report("load " + std::to_string(catalogue->Files.Count()) + " files with categories and types", ours, reference,
           "sqlite3 printing the same rows", 2);
    const double after = ResidentMiB("VmRSS");
    std::printf("%-44s %8.1f MB (process %.1f MB, peak %.1f MB) (bound <= 150) %s\n", "memory of the loaded sets",
                after - before, after, ResidentMiB("VmHWM"), after - before <= 150 ? "ok" : "MISSED");

    clsFile& files = catalogue->Files;
    // The keys to look up, in random order, held apart from the set as a caller holds them.
    struct Key {
        int FileID;
        std::string FileName, CRC;
    };
    std::vector<Key> keys;
    for (const FileRecord& record : files.Records()) keys.push_back({record.FileID, record.FileName, record.CRC});
    std::shuffle(keys.begin(), keys.end(), std::mt19937(42));
    // The reference is one walk over the set as the list and the tools make it: cursor from first to
    // last, reading every field of each record.
    std::size_t checksum = 0;
    const double walk = BestSeconds(9, [&] {
        for (bool more = files.MoveFirst(); more; more = files.MoveNext()) {
            checksum += files.FileID() + files.FileName().size() + files.Title().size() + files.TypeID() +
                        files.CategoryID() + files.CRC().size() + files.Size() + files.Length() +
                        files.FourCC().size() + files.Rating() + files.KeywordList().size();
        }
    });
    const auto lookUps = [&](const char* name, auto lookUp) {
        const double seconds = BestSeconds(9, [&] {
            for (const Key& key : keys) checksum += lookUp(key) ? 1 : 0;
        });
        Report(std::to_string(keys.size()) + " " + name, seconds, walk, "one walk over the set", 5);
    };
    lookUps("GotoFileID", [&](const Key& key) { return files.GotoFileID(key.FileID); });
    lookUps("GotoFileName", [&](const Key& key) { return files.GotoFileName(key.FileName); });
    lookUps("GotoCRC", [&](const Key& key) { return files.GotoCRC(key.CRC); });
    if (checksum == 0) Fail("nothing was read");
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
    Report("insert 10000 files with 3 new keywords each", withKeywords, plain, "without keywords", 3);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("usage: bench_model CATALOGUE SCRATCH_FOLDER");
    BenchLoad(argv[1]);
    BenchInsert(argv[2]);
    return 0;
}
