// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ContentHash.h"

#include <gtest/gtest.h>
#include <xxhash.h>

#include <random>

namespace {

// The library's portable code, beside the processor-specific code the hasher runs.
ContentHash Reference(std::span<const unsigned char> bytes) {
    const XXH128_hash_t hash = XXH3_128bits(bytes.data(), bytes.size());
    return {hash.high64, hash.low64};
}

}  // namespace

TEST(ContentHash, IsXXH3OfOneSegmentAndOfTheSegmentsOfMore) {
    EXPECT_EQ(HashOfBytes({}).Hex(), "99aa06d3014798d86001c324468d497f");  // XXH3-128 of nothing
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(3 * kHashSegment + 777);
    for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random());
    const std::span all(bytes);
    for (const std::size_t size : {std::size_t{1}, std::size_t{240}, kHashSegment - 1, kHashSegment})
        EXPECT_EQ(HashOfBytes(all.first(size)), Reference(all.first(size))) << size << ", seed " << seed;

    std::vector<ContentHash> segments;
    for (std::size_t at = 0; at < bytes.size(); at += kHashSegment)
        segments.push_back(Reference(all.subspan(at, std::min(kHashSegment, bytes.size() - at))));
    std::vector<unsigned char> canonical;
    for (const ContentHash& segment : segments) {
        for (int shift = 56; shift >= 0; shift -= 8) canonical.push_back(static_cast<unsigned char>(segment.High >> shift));
        for (int shift = 56; shift >= 0; shift -= 8) canonical.push_back(static_cast<unsigned char>(segment.Low >> shift));
    }
    EXPECT_EQ(HashOfBytes(all), Reference(canonical)) << "seed " << seed;
    EXPECT_EQ(CombineSegments(segments), Reference(canonical));
    // A segment more of nothing is other contents, though only the length differs.
    EXPECT_NE(HashOfBytes(all.first(kHashSegment)), HashOfBytes(std::vector<unsigned char>(kHashSegment + 1)));
}

TEST(ContentHash, AnySplitOfTheContentsGivesTheSameHash) {
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(2 * kHashSegment + 4099);
    for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random());
    const ContentHash whole = HashOfBytes(bytes);
    for (int trial = 0; trial < 20; ++trial) {
        SegmentHasher hasher;
        std::span<const unsigned char> left(bytes);
        while (!left.empty()) {
            // Mostly small pieces, now and then more than a segment at once.
            const std::size_t most = random() % 4 == 0 ? 2 * kHashSegment : 70'000;
            const std::size_t piece = std::min<std::size_t>(left.size(), random() % most + 1);
            hasher.Update(left.first(piece));
            left = left.subspan(piece);
        }
        EXPECT_EQ(CombineSegments(hasher.Segments()), whole) << "trial " << trial << ", seed " << seed;
    }
}
