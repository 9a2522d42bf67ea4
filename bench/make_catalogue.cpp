// SPDX-License-Identifier: GPL-3.0-or-later
// Makes a catalogue full of invented records, for benchmarks and for trying the program on a large
// collection: rv_make_catalogue PATH [--files N] [--keywords-per-file K] [--distinct-keywords D] [--hashes]
#include <CLI/CLI.hpp>

#include <iostream>

#include "identity/FileHashes.h"
#include "store/OwnTables.h"
#include "store/clsSQLite.h"
#include "store/modSchema.h"

namespace {

struct Shape {
    int files = 100'000;
    int keywordsPerFile = 3;
    int distinctKeywords = 5'000;
    int categories = 25;
    int types = 12;
    bool hashes = false;
};

// Every row comes from one recursive counting query, so even 100,000 files take a second.
std::vector<std::string> Statements(const Shape& shape) {
    const auto count = [](const std::string& name, int upTo) {
        return "WITH RECURSIVE " + name + "(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM " + name + " WHERE i<" +
               std::to_string(upTo) + ") ";
    };
    const std::string files = std::to_string(shape.files);
    return {
        count("n", shape.categories) + "INSERT INTO tblCategory SELECT i, printf('Category %02d', i) FROM n;",
        count("n", shape.types) + "INSERT INTO tblFileType SELECT i, printf('Type %02d', i), "
                                  "CASE WHEN i%3=0 THEN '/usr/bin/mpv' END FROM n;",
        count("n", shape.types * 3) + "INSERT INTO tblFileExtension SELECT i, printf('e%02d', i) FROM n;",
        count("n", shape.types * 3) + "INSERT INTO tblFileExtensionJunction SELECT i, (i-1)/3+1 FROM n;",
        count("n", shape.distinctKeywords) + "INSERT INTO tblKeyword SELECT i, printf('keyword %05d', (i*7919)%" +
            std::to_string(shape.distinctKeywords) + ") FROM n;",
        count("n", shape.files) +
            "INSERT INTO tblFile(FileID,CRC,FileName,Title,Size,Length,Type,Rating,Category,FourCC) SELECT i, "
            "printf('%X', (i*2654435761)%4294967296), "
            "printf('/media/collection/shelf %03d/%s %06d.%s', (i*37)%500, "
            "CASE i%4 WHEN 0 THEN 'Concert' WHEN 1 THEN 'Holiday' WHEN 2 THEN 'Documentary' ELSE 'Series' END, "
            "(i*7919)%" + files + ", CASE i%3 WHEN 0 THEN 'avi' WHEN 1 THEN 'mkv' ELSE 'mp3' END), "
            "printf('Title of file %d', i), (i*104729)%4000000000, (i*7)%7200000, i%" + std::to_string(shape.types) +
            "+1, i%6, CASE WHEN (i/3)%10=0 THEN NULL ELSE (i/3)%" + std::to_string(shape.categories) + "+1 END, "
            "CASE i%3 WHEN 0 THEN 'XVID' END FROM n;",
        count("n", shape.files * shape.keywordsPerFile) + "INSERT INTO tblFileKeywordJunction SELECT (i-1)/" +
            std::to_string(shape.keywordsPerFile) + "+1, ((i*31337)%" + std::to_string(shape.distinctKeywords) +
            ")+1 FROM n;",
    };
}

constexpr int kDrives = 3;

// Every record's contents known, one in ten the same as the record before it (a hundred thousand
// groups of duplicates in a million), and every record on one of three drives that are away.
std::string AddHashes(clsSQLite& store) {
    if (const OwnTablesStatus tables = MakeOwnTables(store); !tables.Usable()) return "own tables: " + tables.Note;
    std::vector<std::pair<int, std::string>> records;
    std::string error = store.Query("SELECT FileID, FileName FROM tblFile ORDER BY FileID;", [&](const clsSQLite::Row& row) {
        records.emplace_back(static_cast<int>(row.Int(0)), std::string(row.Text(1)));
    });
    for (int drive = 1; drive <= kDrives && error.empty(); ++drive) {
        error = store.Execute("INSERT INTO rvDrive(DriveID, Identity, Name, MountPoint) VALUES(?1, ?2, ?3, ?4);",
                              {drive, "uuid:bench-" + std::to_string(drive), "Shelf " + std::to_string(drive),
                               "/media/bench/shelf " + std::to_string(drive)});
    }
    for (const auto& [id, name] : records) {
        if (!error.empty()) break;
        const std::uint64_t contents = id % 10 == 0 ? static_cast<std::uint64_t>(id) - 1 : static_cast<std::uint64_t>(id);
        HashRow row{id, PathKey(name), {contents * 0x9E3779B97F4A7C15u, ~contents * 0xC2B2AE3D27D4EB4Fu},
                    {static_cast<std::int64_t>(contents * 104729 % 4000000000), 1'600'000'000'000'000'000, 2049, contents},
                    1'600'000'000, 0};
        error = StoreHash(store, row);
        if (error.empty())
            error = store.Execute("INSERT INTO rvFileDrive(FileID, DriveID, Path, PathKey) VALUES(?1, ?2, ?3, ?4);",
                                  {id, 1 + id % kDrives, name, row.PathKey});
    }
    return error;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Makes a catalogue of invented records"};
    std::string path;
    Shape shape;
    app.add_option("PATH", path, "The new catalogue")->required();
    app.add_option("--files", shape.files, "Number of file records")->check(CLI::PositiveNumber);
    app.add_option("--keywords-per-file", shape.keywordsPerFile, "Keyword links per file")->check(CLI::NonNegativeNumber);
    app.add_option("--distinct-keywords", shape.distinctKeywords, "Number of keywords")->check(CLI::PositiveNumber);
    app.add_flag("--hashes", shape.hashes, "Give every record a hash and a drive; one record in ten is a duplicate");
    CLI11_PARSE(app, argc, argv);

    clsSQLite store;
    if (std::string error = CreateNewDatabase(store, path); !error.empty()) {
        std::cerr << error << "\n";
        return 1;
    }
    clsSQLite::Transaction unit(store);
    for (const std::string& sql : Statements(shape)) {
        if (std::string error = store.Execute(sql); !error.empty()) {
            std::cerr << error << "\n";
            return 1;
        }
    }
    if (std::string error = shape.hashes ? AddHashes(store) : ""; !error.empty()) {
        std::cerr << error << "\n";
        return 1;
    }
    if (std::string error = unit.Commit(); !error.empty()) {
        std::cerr << error << "\n";
        return 1;
    }
    std::cout << "Made " << path << ": " << shape.files << " files, " << shape.distinctKeywords << " keywords, "
              << shape.files * shape.keywordsPerFile << " keyword links\n";
    return 0;
}
