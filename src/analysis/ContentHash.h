// SPDX-License-Identifier: GPL-3.0-or-later
// The hash that tells a file's contents from every other's, where a CRC-32 mistakes one pair in four
// billion for each other.
//
// It is XXH3-128 (xxHash), chosen over SHA-256 because it runs at memory speed: reading a cached
// file costs the copy out of the page cache and little more, where SHA-256 would take four times as
// long as the copy. Nobody forges films to fool their own catalogue; what it must catch is chance and
// decay, for which 128 bits leave a collision among a billion files at odds of one in 10^20.
//
// The contents are hashed in segments of kHashSegment bytes, each with XXH3-128, so that the parts of
// a large file can be read and hashed on several cores at once. A file of one segment or less has
// the XXH3-128 of its bytes as its hash (what `xxhsum -H2` prints); a longer one has the XXH3-128 of
// its segments' hashes, each in canonical (big-endian) form, one after the other. Hashes are stored:
// the segment length and this rule never change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr std::size_t kHashSegment = std::size_t{1} << 20;

struct ContentHash {
    std::uint64_t High = 0;
    std::uint64_t Low = 0;

    // 32 lower-case hexadecimal digits, the high half first.
    std::string Hex() const;
    friend bool operator==(const ContentHash&, const ContentHash&) = default;
    friend auto operator<=>(const ContentHash&, const ContentHash&) = default;
};

// Hashes contents given in pieces of any length, in order, from the start of a segment: the whole
// file from its start, or one part of it that starts at a segment boundary.
class SegmentHasher {
public:
    SegmentHasher();
    SegmentHasher(SegmentHasher&&) noexcept;
    SegmentHasher& operator=(SegmentHasher&&) noexcept;
    ~SegmentHasher();

    void Update(std::span<const unsigned char> bytes);
    // The hashes of the segments seen, the last one possibly short; an empty piece of contents has
    // one segment, of nothing. Call once, after the last Update.
    std::vector<ContentHash> Segments();

private:
    void CloseSegment();

    struct State;
    State* state_;
    std::size_t filled_ = 0;  // bytes of the open segment
    std::vector<ContentHash> segments_;
};

// The hash of contents from their segments' hashes, in order (see above).
ContentHash CombineSegments(const std::vector<ContentHash>& segments);

// The hash of bytes held in memory: what a file of these bytes hashes to.
ContentHash HashOfBytes(std::span<const unsigned char> bytes);
