// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ContentHash.h"

#include <xxhash.h>
#if defined(__x86_64__)
#include <xxh_x86dispatch.h>
#endif

#include <algorithm>
#include <cstdio>
#include <utility>

// The library's plain entry points use the instructions every processor of the architecture has;
// its dispatching ones pick AVX2 or AVX-512 where there are, three times as fast here.
#if defined(__x86_64__)
#define RV_XXH3_128 XXH3_128bits_dispatch
#define RV_XXH3_128_UPDATE XXH3_128bits_update_dispatch
#else
#define RV_XXH3_128 XXH3_128bits
#define RV_XXH3_128_UPDATE XXH3_128bits_update
#endif

struct SegmentHasher::State {
    XXH3_state_t* Stream = XXH3_createState();
};

namespace {

ContentHash FromXXH(XXH128_hash_t hash) { return {hash.high64, hash.low64}; }

}  // namespace

std::string ContentHash::Hex() const {
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(High),
                  static_cast<unsigned long long>(Low));
    return text;
}

SegmentHasher::SegmentHasher() : state_(new State) {
    if (!state_->Stream) throw std::bad_alloc();
    XXH3_128bits_reset(state_->Stream);
}

SegmentHasher::SegmentHasher(SegmentHasher&& other) noexcept
    : state_(std::exchange(other.state_, nullptr)), filled_(other.filled_), segments_(std::move(other.segments_)) {}

SegmentHasher& SegmentHasher::operator=(SegmentHasher&& other) noexcept {
    std::swap(state_, other.state_);
    std::swap(filled_, other.filled_);
    std::swap(segments_, other.segments_);
    return *this;
}

SegmentHasher::~SegmentHasher() {
    if (state_) XXH3_freeState(state_->Stream);
    delete state_;
}

void SegmentHasher::Update(std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
        // Whole segments at a segment's start, as the reads of a file mostly come, skip the stream.
        if (filled_ == 0 && bytes.size() >= kHashSegment) {
            segments_.push_back(FromXXH(RV_XXH3_128(bytes.data(), kHashSegment)));
            bytes = bytes.subspan(kHashSegment);
            continue;
        }
        const std::size_t taken = std::min(bytes.size(), kHashSegment - filled_);
        RV_XXH3_128_UPDATE(state_->Stream, bytes.data(), taken);
        filled_ += taken;
        bytes = bytes.subspan(taken);
        if (filled_ == kHashSegment) CloseSegment();
    }
}

void SegmentHasher::CloseSegment() {
    segments_.push_back(FromXXH(XXH3_128bits_digest(state_->Stream)));
    XXH3_128bits_reset(state_->Stream);
    filled_ = 0;
}

std::vector<ContentHash> SegmentHasher::Segments() {
    if (filled_ > 0 || segments_.empty()) CloseSegment();
    return std::move(segments_);
}

ContentHash CombineSegments(const std::vector<ContentHash>& segments) {
    if (segments.size() == 1) return segments.front();
    std::vector<XXH128_canonical_t> canonical(segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) XXH128_canonicalFromHash(&canonical[i], {segments[i].Low, segments[i].High});
    return FromXXH(RV_XXH3_128(canonical.data(), canonical.size() * sizeof(XXH128_canonical_t)));
}

ContentHash HashOfBytes(std::span<const unsigned char> bytes) {
    SegmentHasher hasher;
    hasher.Update(bytes);
    return CombineSegments(hasher.Segments());
}
