// SPDX-License-Identifier: GPL-3.0-or-later
// Drives at scale, each figure beside a reference measured in the same run, turn about:
// - opening a catalogue of 1,000,000 records linked to 20 drives, against the same file with the
//   program's own tables set aside (marked as a newer version's, which it neither reads nor writes);
// - re-pointing a drive of 100,000 records, against one UPDATE statement doing the same rewrite.
// bench_drives LINKED_1M LINKED_100K
#include <cstdio>
#include <filesystem>
#include <memory>

#include "BenchSupport.h"
#include "store/modSchema.h"
#include "tools/RebindDrive.h"

namespace {

constexpr int kTurns = 5;

class QuietHost : public ToolHost {
public:
    void SetStatus(const std::string&) override {}
    bool Progress(std::int64_t, std::int64_t, const std::string&) override { return true; }
    void ShowLog(const std::string&) override {}
};

double OpenSeconds(const std::string& path, int& files) {
    auto catalogue = std::make_unique<Catalogue>();
    const double seconds = BestSeconds(1, [&] {
        if (std::string error = OpenCatalogue(catalogue->Store, path); !error.empty()) Fail(error);
        if (std::string error = catalogue->Reload(); !error.empty()) Fail(error);
    });
    files = catalogue->Files.Count();
    if (catalogue->OwnTables.Usable() && catalogue->Drives.All().size() != 20) Fail("the linked catalogue has no drives");
    return seconds;
}

std::string SetAside(const std::string& linked) {
    const std::string plain = std::filesystem::path(linked).replace_filename("plain-copy.rvd").string();
    std::filesystem::copy_file(linked, plain, std::filesystem::copy_options::overwrite_existing);
    clsSQLite store;
    if (std::string error = store.OpenDB(plain); !error.empty()) Fail(error);
    if (std::string error = store.Execute("UPDATE rvSchema SET Version = 1000;"); !error.empty()) Fail(error);
    return plain;
}

void BenchOpen(const std::string& linked) {
    const std::string plain = SetAside(linked);
    std::vector<double> ours, reference;
    int files = 0, plainFiles = 0;
    for (int turn = 0; turn < kTurns; ++turn) {
        ours.push_back(OpenSeconds(linked, files));
        reference.push_back(OpenSeconds(plain, plainFiles));
    }
    const double ratio = Median(ours) / Median(reference);
    std::printf("%-50s %8.3f s; without our tables %.3f s; ratio %.2f (bound <= 1.1) %s\n",
                ("open " + std::to_string(files) + " records on 20 drives").c_str(), Median(ours), Median(reference), ratio,
                ratio <= 1.1 ? "ok" : "MISSED");
    std::filesystem::remove(plain);
}

void BenchRebind(const std::string& linked) {
    Catalogue catalogue;
    if (std::string error = OpenCatalogue(catalogue.Store, linked); !error.empty()) Fail(error);
    QuietHost host;
    std::vector<double> ours, reference;
    int records = 0;
    for (int turn = 0; turn < kTurns; ++turn) {
        for (const char* place : {"/mnt/elsewhere", "/media/collection"}) {
            if (std::string error = catalogue.Reload(); !error.empty()) Fail(error);
            ours.push_back(BestSeconds(1, [&] {
                const ToolResult result = RebindDrive(catalogue, "Drive 01", place, host);
                if (!result.Error.empty()) Fail(result.Error);
                records = result.Changed;
            }));
        }
        for (const char* sql : {"UPDATE tblFile SET FileName = '/mnt/elsewhere' || substr(FileName, 18) WHERE FileID IN "
                                "(SELECT FileID FROM rvFileDrive WHERE DriveID = 1);",
                                "UPDATE tblFile SET FileName = '/media/collection' || substr(FileName, 15) WHERE FileID IN "
                                "(SELECT FileID FROM rvFileDrive WHERE DriveID = 1);"}) {
            reference.push_back(BestSeconds(1, [&] {
                clsSQLite::Transaction unit(catalogue.Store);
                if (std::string error = catalogue.Store.Execute(sql); !error.empty()) Fail(error);
                if (std::string error = unit.Commit(); !error.empty()) Fail(error);
            }));
        }
    }
    const double seconds = Median(ours);
    std::printf("%-50s %8.3f s (bound <= 1 s) %s; one UPDATE of the paths %.3f s, ratio %.2f\n",
                ("re-point a drive of " + std::to_string(records) + " records").c_str(), seconds, seconds <= 1 ? "ok" : "MISSED",
                Median(reference), seconds / Median(reference));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("usage: bench_drives LINKED_1M LINKED_100K");
    BenchOpen(argv[1]);
    BenchRebind(argv[2]);
    return 0;
}
