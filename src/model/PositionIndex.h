// SPDX-License-Identifier: GPL-3.0-or-later
// A hash index from one field of a set's rows to the last position holding each value. It keeps
// positions and hashes only: the keys stay in the rows, once. It holds no pointer to the rows
// either (every call is handed them), so the set that owns both stays movable and swappable.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

template <class Row, auto Field>
class PositionIndex {
public:
    using Key = std::remove_cvref_t<decltype(std::declval<const Row&>().*Field)>;

    void Clear() {
        std::vector<Slot>().swap(slots_);
        used_ = 0;
    }
    void Reserve(std::size_t keys) {
        if (Capacity(keys) > slots_.size()) Rehash(Capacity(keys));
    }

    // The last position whose field equals key, or -1.
    int Find(const std::vector<Row>& rows, const Key& key) const {
        if (slots_.empty()) return -1;
        const std::uint32_t hash = Hash(key);
        for (std::size_t at = Home(hash);; at = Next(at)) {
            const Slot& slot = slots_[at];
            if (slot.position < 0) return -1;
            if (Holds(rows, slot, hash, key)) return slot.position;
        }
    }

    // Makes position the key's last one unless a later one is held.
    void Remember(const std::vector<Row>& rows, int position) {
        if ((used_ + 1) * 4 > slots_.size() * 3) Rehash(Capacity(used_ * 2 + 1));
        const Key& key = rows[position].*Field;
        const std::uint32_t hash = Hash(key);
        std::size_t at = Home(hash);
        for (; slots_[at].position >= 0; at = Next(at)) {
            Slot& slot = slots_[at];
            if (Holds(rows, slot, hash, key)) {
                slot.position = std::max(slot.position, position);
                return;
            }
        }
        slots_[at] = {hash, position};
        ++used_;
    }

    // Before the row at position changes or leaves: its key falls back to the nearest earlier
    // position holding it, or out of the index.
    void Forget(const std::vector<Row>& rows, int position) {
        const Key& key = rows[position].*Field;
        const std::uint32_t hash = Hash(key);
        if (slots_.empty()) return;
        std::size_t at = Home(hash);
        for (; slots_[at].position != position; at = Next(at)) {
            if (slots_[at].position < 0) return;
        }
        for (int earlier = position - 1; earlier >= 0; --earlier) {
            if (rows[earlier].*Field == key) {
                slots_[at].position = earlier;
                return;
            }
        }
        Erase(at);
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t position = -1;  // -1: empty
    };

    // A number's hash is a one-to-one mix of it (murmur3's finaliser), so equal hashes mean equal
    // keys and a look-up need not visit the row.
    static constexpr bool kHashIsKey = std::is_integral_v<Key> && sizeof(Key) <= sizeof(std::uint32_t);

    static std::uint32_t Hash(const Key& key) {
        if constexpr (kHashIsKey) {
            auto hash = static_cast<std::uint32_t>(key);
            hash = (hash ^ (hash >> 16)) * 0x85EBCA6Bu;
            hash = (hash ^ (hash >> 13)) * 0xC2B2AE35u;
            return hash ^ (hash >> 16);
        } else {
            const std::uint64_t hash = std::hash<std::string_view>{}(key);
            return static_cast<std::uint32_t>((hash * 0x9E3779B97F4A7C15ull) >> 32);
        }
    }
    static bool Holds(const std::vector<Row>& rows, const Slot& slot, std::uint32_t hash, const Key& key) {
        return slot.hash == hash && (kHashIsKey || rows[slot.position].*Field == key);
    }
    // Two slots for every three keys keep probe runs short.
    static std::size_t Capacity(std::size_t keys) { return keys + keys / 2 + 8; }
    std::size_t Home(std::uint32_t hash) const { return (static_cast<std::uint64_t>(hash) * slots_.size()) >> 32; }
    std::size_t Next(std::size_t at) const { return at + 1 == slots_.size() ? 0 : at + 1; }
    std::size_t Distance(std::size_t from, std::size_t to) const {
        return to >= from ? to - from : to + slots_.size() - from;
    }

    // Linear probing without tombstones: later slots of the run move back into the gap when the
    // gap lies between their home and where they stand.
    void Erase(std::size_t gap) {
        slots_[gap] = {};
        --used_;
        for (std::size_t at = Next(gap); slots_[at].position >= 0; at = Next(at)) {
            const std::size_t home = Home(slots_[at].hash);
            if (Distance(home, gap) < Distance(home, at)) {
                slots_[gap] = slots_[at];
                slots_[at] = {};
                gap = at;
            }
        }
    }

    void Rehash(std::size_t capacity) {
        std::vector<Slot> old(capacity);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.position < 0) continue;
            std::size_t at = Home(slot.hash);
            while (slots_[at].position >= 0) at = Next(at);
            slots_[at] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};
