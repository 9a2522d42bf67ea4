// SPDX-License-Identifier: GPL-3.0-or-later
// Makes a catalogue full of invented records, for benchmarks and for trying the program on a large
// collection: rv_make_catalogue PATH [--files N] [--keywords-per-file K] [--distinct-keywords D]
//                                      [--drives N | --hashes]
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
    int drives = 0;  // the records lie on this many drives, in turn, none of them plugged in
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

// Drives named "Drive 01" ..., each last seen at /media/collection, and every record linked to
// one of them as the program links it: the path inside the drive and the key of the whole path.
std::string LinkToDrives(clsSQLite& store, int drives) {
    if (MakeOwnTables(store).State != OwnTablesState::Current) return "cannot make the program's own tables";
    for (int drive = 1; drive <= drives; ++drive) {
        char identity[64];
        std::snprintf(identity, sizeof identity, "uuid:00000000-0000-4000-8000-%012d", drive);
        if (std::string error = store.Execute("INSERT INTO rvDrive(DriveID, Identity, Name, Label, FSType, Size, MountPoint) "
                                              "VALUES(?1, ?2, printf('Drive %02d', ?1), 'FILMS', 'ext4', 4000000000000, "
                                              "'/media/collection');",
                                              {drive, std::string(identity)});
            !error.empty())
            return error;
    }
    std::vector<std::pair<int, std::string>> files;
    std::string error = store.Query("SELECT FileID, FileName FROM tblFile;", [&](const clsSQLite::Row& row) {
        files.emplace_back(static_cast<int>(row.Int(0)), std::string(row.Text(1)));
    });
    for (std::size_t i = 0; i < files.size() && error.empty(); ++i) {
        const auto& [id, name] = files[i];
        error = store.Execute("INSERT INTO rvFileDrive(FileID, DriveID, Path, PathKey) VALUES(?1, ?2, ?3, ?4);",
                              {id, id % drives + 1, name.substr(std::string("/media/collection").size()), PathKey(name)});
    }
    return error;
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
    CLI::Option* drives = app.add_option("--drives", shape.drives, "Drives the records lie on, none plugged in")->check(CLI::NonNegativeNumber);
    app.add_flag("--hashes", shape.hashes, "Give every record a hash and a drive; one record in ten is a duplicate")
        ->excludes(drives);
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
    std::string linked = shape.drives > 0 ? LinkToDrives(store, shape.drives) : "";
    if (linked.empty() && shape.hashes) linked = AddHashes(store);
    if (!linked.empty()) {
        std::cerr << linked << "\n";
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
