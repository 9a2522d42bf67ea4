// SPDX-License-Identifier: GPL-3.0-or-later
// What the tests of files known by their contents share: a catalogue, files made in a folder, the
// hashes the catalogue keeps, and files that share a CRC but not their contents.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "analysis/modCrc2.h"
#include "identity/FileHashes.h"
#include "model/modCatalogue.h"
#include "tools/LoadDirectory.h"
#include "tools/ToolFixture.h"

// data with four bytes appended that give the whole the CRC-32 target: the CRC's register is run
// back from the target through the four table look-ups that must lead to it. Each entry of the
// table begins with another byte, so the top byte of the register names the entry.
inline std::string WithCRC(const std::string& data, std::uint32_t target) {
    std::uint32_t back = ~target;
    for (int step = 0; step < 4; ++step) {
        const auto entry = static_cast<std::uint32_t>(
            std::ranges::find_if(CRCTable, [back](std::uint32_t value) { return value >> 24 == back >> 24; }) - CRCTable.begin());
        back = (back ^ CRCTable[entry]) << 8 | entry;
    }
    back ^= UpdateCRC(~0u, 0, data.size(), std::span(reinterpret_cast<const unsigned char*>(data.data()), data.size()));
    std::string whole = data;
    for (int shift = 0; shift < 32; shift += 8) whole += static_cast<char>(back >> shift);
    return whole;
}

class ContentsTest : public ToolTest {
protected:
    ToolResult Load(const std::string& from, bool rehash = false) {
        Reload();
        return LoadDirectory(catalogue, {from, "*", true, true, rehash}, host);
    }
    // The record's trusted hash as the catalogue keeps it now; null while it has none.
    const HashRow* Hash(const std::string& path) {
        Reload();
        EXPECT_EQ(hashes.LoadFromDatabase(catalogue.Store, catalogue.Files), "");
        return catalogue.Files.GotoFileName(path) ? hashes.Of(catalogue.Files.FileID()) : nullptr;
    }
    // A record of a file with its hash, as a catalogue has for a copy added by hand or by an older load.
    void AddCopy(const std::string& path) {
        if (!catalogue.OwnTables.Usable()) Reload();  // the first load of a catalogue makes our tables
        const NewKey added = InsertFile(catalogue, {-1, path, "", -1, -1, "", 0, 0, "", 0, {}, -1});
        ASSERT_EQ(added.Error, "");
        const CRCResult read = ReadFileContents(path);
        ASSERT_TRUE(read) << read.Error;
        ASSERT_EQ(StoreHash(catalogue.Store, RowOfRead(added.ID, path, read, Now())), "");
    }
    int Rows() { return std::stoi(Ask("SELECT count(*) FROM rvFileHash;")); }
    std::string Ask(const std::string& sql) {
        EXPECT_EQ(catalogue.Store.Execute(sql), "") << sql;
        return catalogue.Store.Field(0).AsText();
    }
    // Sets a file's modification time to another file's, as touch -r does.
    static void SameTimeAs(const std::string& path, const std::string& reference) {
        struct stat info {};
        ASSERT_EQ(stat(reference.c_str(), &info), 0);
        const timespec times[2] = {info.st_atim, info.st_mtim};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    FileHashes hashes;
};
