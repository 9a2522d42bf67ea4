// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/NaturalOrder.h"

#include <unicode/ucol.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

std::string CollationLocale() {
    for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0') continue;
        std::string locale = value;
        locale = locale.substr(0, locale.find_first_of(".@"));
        return locale == "C" || locale == "POSIX" ? std::string() : locale;
    }
    return {};
}

NaturalOrder::NaturalOrder(const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open((locale.empty() ? CollationLocale() : locale).c_str(), &status);
    if (U_SUCCESS(status)) ucol_setAttribute(collator_, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    if (U_FAILURE(status)) {
        error_ = std::string("Natural order is not available: ") + u_errorName(status);
        if (collator_ != nullptr) ucol_close(collator_);
        collator_ = nullptr;
        return;
    }
    asciiKeys_ = LearnAscii();
}

namespace {

constexpr std::size_t kLongestNumber = 200;  // ICU splits longer digit runs into numbers of its own

// A key's levels: the bytes between its level separators (byte 1).
std::vector<std::string> Levels(const std::string& key) {
    std::vector<std::string> levels(1);
    for (const char byte : key) {
        if (byte == '\x01') levels.emplace_back();
        else levels.back() += byte;
    }
    return levels;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// ASCII text is ordered by three levels. The secondary one (accents) is the same for every ASCII
// character, so it never decides; the primary one is a weight per character, with a digit run
// weighed as its number; the tertiary one (case) a weight per character, or per digit run. The
// weights are read from ICU's keys of the single characters, and the shortcut is refused where
// the order has rules beyond them.
bool NaturalOrder::LearnAscii() {
    UErrorCode status = U_ZERO_ERROR;
    if (ucol_getAttribute(collator_, UCOL_ALTERNATE_HANDLING, &status) != UCOL_NON_IGNORABLE ||
        ucol_getAttribute(collator_, UCOL_STRENGTH, &status) != UCOL_TERTIARY ||
        ucol_getAttribute(collator_, UCOL_CASE_FIRST, &status) != UCOL_OFF ||
        ucol_getAttribute(collator_, UCOL_CASE_LEVEL, &status) != UCOL_OFF || U_FAILURE(status))
        return false;
    const std::unique_ptr<USet, decltype(&uset_close)> contractions(uset_openEmpty(), uset_close);
    const std::unique_ptr<USet, decltype(&uset_close)> expansions(uset_openEmpty(), uset_close);
    ucol_getContractionsAndExpansions(collator_, contractions.get(), expansions.get(), true, &status);
    if (U_FAILURE(status)) return false;
    for (int32_t item = 0; item < uset_getItemCount(contractions.get()); ++item) {
        UChar32 first = 0;
        UChar32 last = 0;
        UChar text[64];
        UErrorCode itemStatus = U_ZERO_ERROR;
        const int32_t length = uset_getItem(contractions.get(), item, &first, &last, text, 64, &itemStatus);
        if (length > 0 && std::all_of(text, text + std::min(length, 64), [](UChar c) { return c < 0x80; })) return false;
        if (length == 0 && first < 0x80) return false;
    }
    for (UChar32 c = 0x20; c < 0x7F; ++c) {
        if (uset_contains(expansions.get(), c)) return false;
    }
    std::map<std::string, std::vector<int>> byPrimary;  // ordered as the weights' bytes
    std::string secondary;
    for (int c = 0x20; c < 0x7F; ++c) {
        const std::vector<std::string> levels = Levels(Key(std::string(1, static_cast<char>(c))));
        if (levels.size() != 3 || levels[0].empty() || levels[2].size() != 1) return false;
        if (c == ' ') secondary = levels[1];
        if (levels[1] != secondary) return false;
        tertiary_[c] = static_cast<unsigned char>(levels[2][0]);
        byPrimary[IsDigit(static_cast<char>(c)) ? levels[0].substr(0, 1) : levels[0]].push_back(c);
    }
    // The digits' first byte is that of every number's weight; no other character may share it.
    const std::string numbers = Levels(Key("0"))[0].substr(0, 1);
    unsigned char rank = 2;
    for (const auto& [weight, characters] : byPrimary) {
        if (weight != numbers && weight[0] == numbers[0]) return false;
        for (const int c : characters) primary_[c] = IsDigit(static_cast<char>(c)) ? 0 : rank;
        if (weight == numbers) numberRank_ = rank;
        ++rank;
    }
    numberTertiary_ = tertiary_['0'];
    lowestTertiary_ = *std::min_element(tertiary_ + 0x20, tertiary_ + 0x7F);
    return numberRank_ != 0;
}

bool NaturalOrder::TakesAsciiKey(std::string_view text) {
    std::size_t run = 0;
    for (const char c : text) {
        if (c < 0x20 || c >= 0x7F) return false;
        run = IsDigit(c) ? run + 1 : 0;
        if (run > kLongestNumber) return false;
    }
    return true;
}

std::string NaturalOrder::AsciiKey(std::string_view text) const {
    std::string key;
    AppendAsciiKey(text, key);
    return key;
}

bool NaturalOrder::AppendAsciiKey(std::string_view text, std::string& keys) const {
    const std::size_t start = keys.size();
    keys.resize(start + AsciiKeyRoom(text.size()));
    const std::ptrdiff_t length = WriteAsciiKey(text, keys.data() + start);
    keys.resize(start + static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, length)));
    return length >= 0;
}

// The primary ranks, a digit run as its rank, its count of digits without leading zeros and those
// digits; byte 1; then the tertiary weights, without the lowest ones at the end, which order as
// nothing does. The tertiary weights wait on the stack, unless the text is long.
std::ptrdiff_t NaturalOrder::WriteAsciiKey(std::string_view text, char* out) const {
    constexpr std::size_t kOnStack = 512;
    char onStack[kOnStack];
    std::string onHeap(text.size() > kOnStack ? text.size() : 0, '\0');
    char* const cases = text.size() > kOnStack ? onHeap.data() : onStack;
    char* primary = out;
    std::size_t tertiary = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c < 0x20 || c >= 0x7F) return -1;
        if (!IsDigit(text[at])) {
            *primary++ = static_cast<char>(primary_[c]);
            cases[tertiary++] = static_cast<char>(tertiary_[c]);
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && IsDigit(text[end])) ++end;
        if (end - at > kLongestNumber) return -1;
        std::size_t first = at;
        while (first + 1 < end && text[first] == '0') ++first;
        *primary++ = static_cast<char>(numberRank_);
        *primary++ = static_cast<char>(end - first);
        primary = std::copy(text.begin() + static_cast<std::ptrdiff_t>(first), text.begin() + static_cast<std::ptrdiff_t>(end), primary);
        cases[tertiary++] = static_cast<char>(numberTertiary_);
        at = end;
    }
    while (tertiary > 0 && static_cast<unsigned char>(cases[tertiary - 1]) == lowestTertiary_) --tertiary;
    *primary++ = '\x01';
    primary = std::copy(cases, cases + tertiary, primary);
    return primary - out;
}

NaturalOrder::~NaturalOrder() {
    if (collator_ != nullptr) ucol_close(collator_);
}

std::string NaturalOrder::Key(std::string_view text) const {
    if (collator_ == nullptr) return std::string(text);
    // Most names fit in the first try; a longer one is measured and converted again.
    std::vector<UChar> wide(text.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &length, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return std::string(text);
    std::string key(text.size() * 2 + 16, '\0');
    auto* bytes = reinterpret_cast<uint8_t*>(key.data());
    int32_t needed = ucol_getSortKey(collator_, wide.data(), length, bytes, static_cast<int32_t>(key.size()));
    if (needed > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(needed));
        bytes = reinterpret_cast<uint8_t*>(key.data());
        needed = ucol_getSortKey(collator_, wide.data(), length, bytes, needed);
    }
    key.resize(needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);  // without its closing zero byte
    return key;
}
