// SPDX-License-Identifier: GPL-3.0-or-later
// The bulk tools' throughput, each printed with its ratio to a reference measured in the same run:
// bench_tools SCRATCH SMALL_FOLDER BIG_FOLDER EMPTY_FOLDER CATALOGUE_100K TREE (a real folder, loaded
// recursively) SMALL_DAT SMALL_BIN (the small files' bytes, named *.dat and *.bin)
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>
#include <vector>

#include "model/modCatalogue.h"
#include "BenchSupport.h"
#include "analysis/modMediaInfo.h"
#include "store/modSchema.h"
#include "tools/DetectFileTypes.h"
#include "tools/DirectoryScan.h"
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
    std::vector<double> runs;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system((command + " >/dev/null").c_str()) != 0) Fail(command + " failed");
        runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return Median(runs);
}

struct LoadCase {
    std::string Folder;
    bool CRC = false;
    bool Recursive = false;
    bool Again = false;  // into a catalogue that holds the folder already
};

struct LoadFigures {
    double Seconds = 0;  // the median of the load alone
    std::string Records;     // after the last run
    std::string MediaFiles;  // of them with a playing length
};

// Loads the folder into a fresh, empty catalogue (after a first load, with Again), three times.
LoadFigures Load(const std::string& scratch, const LoadCase& load) {
    std::vector<double> runs;
    LoadFigures figures;
    for (int run = 0; run < 3; ++run) {
        const std::string path = scratch + "/load.rvd";
        fs::remove(path);
        Catalogue catalogue;
        if (std::string error = CreateNewDatabase(catalogue.Store, path); !error.empty()) Fail(error);
        QuietHost host;
        const LoadDirectoryRequest request{load.Folder, "*", load.Recursive, load.CRC};
        if (load.Again) Check(LoadDirectory(catalogue, request, host));
        if (std::string error = catalogue.Reload(); !error.empty()) Fail(error);
        const auto start = std::chrono::steady_clock::now();
        Check(LoadDirectory(catalogue, request, host));
        runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (std::string error = catalogue.Store.Execute("SELECT count(*), sum(Length>0) FROM tblFile;"); !error.empty())
            Fail(error);
        figures.Records = catalogue.Store.Field(0).AsText();
        figures.MediaFiles = catalogue.Store.Field(1).AsText();
    }
    figures.Seconds = Median(runs);
    return figures;
}

// GetMediaInfo alone over the files the load reads, on as many threads as the load's workers: the
// part of a load that the prober owes, however fast the rest becomes.
double ProbeSeconds(const LoadCase& load) {
    const FolderListing listing = ListMatchingFiles(load.Folder, "*", load.Recursive);
    const std::string root = load.Folder.ends_with('/') ? load.Folder : load.Folder + "/";
    std::vector<double> runs;
    for (int run = 0; run < 3; ++run) {
        std::atomic<std::size_t> next{0};
        const auto start = std::chrono::steady_clock::now();
        {
            std::vector<std::jthread> workers;
            for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
                workers.emplace_back([&] {
                    for (std::size_t at; (at = next++) < listing.Files.size();) GetMediaInfo(root + listing.Files[at]);
                });
        }
        runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return Median(runs);
}

void Ratio(const std::string& what, double ours, const std::string& reference, double theirs, double bound) {
    std::printf("%-52s %7.3f s; %s %.3f s; ratio %.2f (bound <= %.2f) %s\n", what.c_str(), ours, reference.c_str(), theirs,
                ours / theirs, bound, ours / theirs <= bound ? "ok" : "MISSED");
}

void Rate(const std::string& what, double files, double seconds, double bound) {
    std::printf("%-52s %7.0f files/s (bound >= %.0f) %s\n", what.c_str(), files / seconds, bound,
                files / seconds >= bound ? "ok" : "MISSED");
}

void ProbeShare(const LoadCase& load, double loadSeconds) {
    const double probe = ProbeSeconds(load);
    std::printf("  of which GetMediaInfo alone on the same files       %7.3f s (%.0f%% of the load)\n", probe,
                100 * probe / loadSeconds);
}

struct Folders {
    std::string Small, Big, Empty, Tree, SmallDat, SmallBin;
};

// Random bytes settle nothing by their content: FFmpeg looks at each of these files, and at every
// file named *.dat, a name one of its demuxers claims, from the first byte to the last.
void BenchSmallNamed(const std::string& scratch, const std::string& folder, const std::string& named) {
    const double rhash = CommandSeconds("rhash -r --crc32 '" + folder + "'");
    const LoadCase load{folder, true};
    const double seconds = Load(scratch, load).Seconds;
    Ratio("Load Directory, 10000 files of 4 KiB " + named + ", CRC on", seconds, "rhash -r --crc32", rhash, 2);
    ProbeShare(load, seconds);
}

void BenchLoad(const std::string& scratch, const Folders& folders) {
    const double rhashSmall = CommandSeconds("rhash -r --crc32 '" + folders.Small + "'");
    const LoadCase smallCRC{folders.Small, true};
    const double smallSeconds = Load(scratch, smallCRC).Seconds;
    Ratio("Load Directory, 10000 files of 4 KiB, CRC on", smallSeconds, "rhash -r --crc32", rhashSmall, 2);
    ProbeShare(smallCRC, smallSeconds);
    BenchSmallNamed(scratch, folders.SmallDat, "named *.dat");
    BenchSmallNamed(scratch, folders.SmallBin, "named *.bin");
    const double rhashBig = CommandSeconds("rhash -r --crc32 '" + folders.Big + "'");
    Ratio("Load Directory, 1000 files of 1 MiB, CRC on", Load(scratch, {folders.Big, true}).Seconds, "rhash -r --crc32",
          rhashBig, 0.5);
    const double plain = Load(scratch, {folders.Small, false}).Seconds;
    Rate("Load Directory, 10000 files of 4 KiB, CRC off", 10000, plain, 15000);
    ProbeShare({folders.Small, false}, plain);
    Rate("Load Directory again, every file a duplicate", 10000, Load(scratch, {folders.Small, true, false, true}).Seconds,
         20000);
    // GetMediaInfo answers an empty file without FFmpeg: what is left is the load's own work.
    const double rhashEmpty = CommandSeconds("rhash -r --crc32 '" + folders.Empty + "'");
    const double empty = Load(scratch, {folders.Empty, false}).Seconds;
    Rate("Load Directory, 10000 empty files, CRC off", 10000, empty, 30000);
    Ratio("  the same", empty, "rhash -r --crc32", rhashEmpty, 2.5);

    const double rhashTree = CommandSeconds("rhash -r --crc32 '" + folders.Tree + "'");
    const LoadCase treeCRC{folders.Tree, true, true};
    const LoadFigures whole = Load(scratch, treeCRC);
    Ratio("Load Directory, " + folders.Tree + " recursive, CRC on", whole.Seconds, "rhash -r --crc32", rhashTree, 1.2);
    std::printf("  records added; of them media files              %7s; %s\n", whole.Records.c_str(), whole.MediaFiles.c_str());
    ProbeShare(treeCRC, whole.Seconds);
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
    if (argc != 9)
        Fail("usage: bench_tools SCRATCH SMALL_FOLDER BIG_FOLDER EMPTY_FOLDER CATALOGUE_100K TREE SMALL_DAT SMALL_BIN");
    setenv("XDG_CONFIG_HOME", (std::string(argv[1]) + "/config").c_str(), 1);  // logs stay in the scratch folder
    BenchLoad(argv[1], {argv[2], argv[3], argv[4], argv[6], argv[7], argv[8]});
    BenchMaintenance(argv[1], argv[5]);
    return 0;
}
