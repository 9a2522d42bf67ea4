// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/KnownContents.h"

void KnownContents::Build(const clsFile& files, const FileHashes& hashes) {
    byContents_.clear();
    unhashedByCRC_.clear();
    const std::vector<FileRecord>& records = files.Records();
    byContents_.reserve(hashes.Count());
    for (int position = 0; position < static_cast<int>(records.size()); ++position) {
        const FileRecord& record = records[position];
        if (const HashRow* row = hashes.Of(record.FileID)) byContents_[{row->Stamp.Size, row->Hash}] = position;
        else if (!record.CRC.empty()) unhashedByCRC_[record.CRC] = position;
    }
}

int KnownContents::Match(std::int64_t size, const std::optional<ContentHash>& hash, const std::string& crc) const {
    if (hash) {
        if (const auto found = byContents_.find({size, *hash}); found != byContents_.end()) return found->second;
    }
    if (crc.empty()) return -1;
    const auto found = unhashedByCRC_.find(crc);
    return found == unhashedByCRC_.end() ? -1 : found->second;
}

void KnownContents::Add(int position, std::int64_t size, const std::optional<ContentHash>& hash, const std::string& crc) {
    if (hash) byContents_[{size, *hash}] = position;
    else if (!crc.empty()) unhashedByCRC_[crc] = position;
}
