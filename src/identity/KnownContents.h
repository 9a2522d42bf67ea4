// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a file's contents are catalogued already, for a load's duplicate test: by size and hash
// where the record has a hash, by CRC alone where it has none. Two different files that share a
// CRC are thus both catalogued, once the first has a hash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "analysis/ContentHash.h"
#include "identity/FileHashes.h"
#include "model/clsFile.h"

class KnownContents {
public:
    // From the records of files, each with its trusted row in hashes, if any.
    void Build(const clsFile& files, const FileHashes& hashes);

    // The position in files.Records() of the record these contents match, as a load would skip
    // them: the last record with the same size and hash; otherwise the last record without a hash
    // whose CRC text is crc. -1 for none. An empty crc matches nothing; contents read without their
    // hash are matched by CRC alone.
    int Match(std::int64_t size, const std::optional<ContentHash>& hash, const std::string& crc) const;

    // A record just appended to files (a load's provisional one), with the contents it was read with.
    void Add(int position, std::int64_t size, const std::optional<ContentHash>& hash, const std::string& crc);

private:
    struct Key {
        std::int64_t Size;
        ContentHash Hash;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return static_cast<std::size_t>(key.Hash.Low ^ static_cast<std::uint64_t>(key.Size));
        }
    };

    std::unordered_map<Key, int, KeyHash> byContents_;
    std::unordered_map<std::string, int> unhashedByCRC_;
};
