// SPDX-License-Identifier: GPL-3.0-or-later
// The bulk tools' throughput, each printed with its ratio to a reference measured in the same run:
// bench_tools SCRATCH SMALL_FOLDER BIG_FOLDER CATALOGUE_100K
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "model/modCatalogue.h"
#include "BenchSupport.h"
#include "store/modSchema.h"
#include "tools/DetectFileTypes.h"
#include "tools/FindReplace.h"
#include "tools/LoadDirectory.h"
#include "tools/RemoveMissingFiles.h"

namespace fs = std::filesystem;

namespace {

struct QuietHost : ToolHost {
    void SetStatus(const std::string&) override {}
    bool Progress(std::int64_t, std::int64_t, const std::string&) override { return true; }
    void ShowLog(const std::string&) override {}
};

void Check(const ToolResult& result) {
    if (!result.Error.empty()) Fail(result.Error);
}

double CommandSeconds(const std::string& command) {
    return BestSeconds(3, [&] {
        if (std::system((command + " >/dev/null").c_str()) != 0) Fail(command + " failed");
    });
}

// Loads the folder into a fresh, empty catalogue (after a first load, with again); the best time
// of the load alone over three tries.
double LoadSeconds(const std::string& scratch, const std::string& folder, bool crc, bool again = false) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const std::string path = scratch + "/load.rvd";
        fs::remove(path);
        Catalogue catalogue;
        if (std::string error = CreateNewDatabase(catalogue.Store, path); !error.empty()) Fail(error);
        QuietHost host;
        if (again) Check(LoadDirectory(catalogue, {folder, "*", false, crc}, host));
        if (std::string error = catalogue.Reload(); !error.empty()) Fail(error);
        const auto start = std::chrono::steady_clock::now();
        Check(LoadDirectory(catalogue, {folder, "*", false, crc}, host));
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void Ratio(const std::string& what, double ours, const std::string& reference, double theirs, double bound) {
    std::printf("%-52s %7.3f s; %s %.3f s; ratio %.2f (bound <= %.2f) %s\n", what.c_str(), ours, reference.c_str(), theirs,
                ours / theirs, bound, ours / theirs <= bound ? "ok" : "MISSED");
}

void Rate(const std::string& what, double files, double seconds, double bound) {
    std::printf("%-52s %7.0f files/s (bound >= %.0f) %s\n", what.c_str(), files / seconds, bound,
                files / seconds >= bound ? "ok" : "MISSED");
}

void BenchLoad(const std::string& scratch, const std::string& small, const std::string& big) {
    const double rhashSmall = CommandSeconds("rhash -r --crc32 '" + small + "'");
    Ratio("Load Directory, 10000 files of 4 KiB, CRC on", LoadSeconds(scratch, small, true), "rhash -r --crc32",
          rhashSmall, 3);
    const double rhashBig = CommandSeconds("rhash -r --crc32 '" + big + "'");
    Ratio("Load Directory, 1000 files of 1 MiB, CRC on", LoadSeconds(scratch, big, true), "rhash -r --crc32", rhashBig,
          0.5);
    Rate("Load Directory, 10000 files of 4 KiB, CRC off", 10000, LoadSeconds(scratch, small, false), 10000);
    Rate("Load Directory again, every file a duplicate", 10000, LoadSeconds(scratch, small, true, true), 20000);
}

// Points the generated catalogue's records at real files, one in ten of them missing.
void MakeFiles(Catalogue& catalogue, const std::string& tree) {
    if (fs::exists(tree + "/.done")) return;
    int i = 0;
    for (const FileRecord& record : catalogue.Files.Records()) {
        fs::create_directories(fs::path(record.FileName).parent_path());
        if (++i % 10 != 0) std::ofstream(record.FileName).put('x');
    }
    std::ofstream(tree + "/.done");
}

void BenchMaintenance(const std::string& scratch, const std::string& generated) {
    const std::string path = scratch + "/maintenance.rvd";
    fs::copy_file(generated, path, fs::copy_options::overwrite_existing);
    Catalogue catalogue;
    if (std::string error = OpenCatalogue(catalogue.Store, path); !error.empty()) Fail(error);
    const double load = BestSeconds(3, [&] { catalogue.Reload(); });
    const int records = catalogue.Files.Count();
    QuietHost host;
    const std::string tree = scratch + "/collection";
    const double replace = BestSeconds(1, [&] { Check(FindReplace(catalogue, "/media/collection", tree, host)); });
    std::printf("%-52s %7.0f records/s\n", ("File Name Find/Replace over " + std::to_string(records)).c_str(), records / replace);
    catalogue.Reload();
    MakeFiles(catalogue, tree);

    const double remove = BestSeconds(1, [&] { Check(RemoveMissingFiles(catalogue, host)); });
    std::printf("%-52s %7.0f records/s\n", ("Remove Missing Files over " + std::to_string(records)).c_str(), records / remove);
    Ratio("  the same", remove, "loading the catalogue", load, 2);

    catalogue.Reload();
    const char* extensions[] = {"avi", "mkv", "mp3"};
    for (int type = 1; type <= 3; ++type) SaveFileType(catalogue, type, "Type 0" + std::to_string(type), "", {extensions[type - 1]});
    catalogue.Reload();
    const double detect = BestSeconds(1, [&] { Check(DetectFileTypes(catalogue, host)); });
    std::printf("%-52s %7.0f records/s\n", ("Detect File Types over " + std::to_string(catalogue.Files.Count())).c_str(),
                catalogue.Files.Count() / detect);
    Ratio("  the same", detect, "loading the catalogue", load, 2);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) Fail("usage: bench_tools SCRATCH SMALL_FOLDER BIG_FOLDER CATALOGUE_100K");
    setenv("XDG_CONFIG_HOME", (std::string(argv[1]) + "/config").c_str(), 1);  // logs stay in the scratch folder
    BenchLoad(argv[1], argv[2], argv[3]);
    BenchMaintenance(argv[1], argv[4]);
    return 0;
}
