// SPDX-License-Identifier: GPL-3.0-or-later
// Names in the order people expect: "clip 2" before "clip 10", letters first compared without
// their case and accents, as the user's language orders them (ICU's collation with its numeric
// mode). A sort makes one key per text, then compares keys as bytes.
#pragma once

#include <memory>
#include <string>
#include <cstddef>
#include <string_view>

struct UCollator;

class NaturalOrder {
public:
    // The order of locale ("de_DE.UTF-8", "sv", ...); "" for the user's, as LC_ALL, LC_COLLATE and
    // LANG name it. A locale ICU does not know falls back to its root order.
    explicit NaturalOrder(const std::string& locale = "");
    ~NaturalOrder();
    NaturalOrder(const NaturalOrder&) = delete;
    NaturalOrder& operator=(const NaturalOrder&) = delete;

    // "" when the collator opened; otherwise why not, and every key is the text itself.
    const std::string& Error() const { return error_; }
    // A key whose byte order is the natural order of the texts. Bytes that are not UTF-8 count as
    // U+FFFD.
    std::string Key(std::string_view text) const;

    // A much cheaper key for printable ASCII text, which orders such texts exactly as Key does, but
    // cannot be compared with Key's keys: a sort uses it only when every text passes
    // TakesAsciiKey. None (false) for a language whose order has rules this key cannot follow
    // for ASCII: letters that pair up ("aa" in Danish, "cs" in Hungarian), punctuation ignored,
    // capitals first.
    bool HasAsciiKeys() const { return asciiKeys_; }
    static bool TakesAsciiKey(std::string_view text);
    // "" for a text that does not take one.
    std::string AsciiKey(std::string_view text) const;
    // Appends the text's ASCII key to keys; false, with keys as they were, when it takes none.
    bool AppendAsciiKey(std::string_view text, std::string& keys) const;
    // The room WriteAsciiKey may need for a text of this many bytes: a one-digit number takes three.
    static std::size_t AsciiKeyRoom(std::size_t textSize) { return 4 * textSize + 1; }
    // Writes the text's ASCII key to out, which has AsciiKeyRoom; its length, or -1 when it takes none.
    std::ptrdiff_t WriteAsciiKey(std::string_view text, char* out) const;

private:
    bool LearnAscii();

    UCollator* collator_ = nullptr;
    std::string error_;
    bool asciiKeys_ = false;
    // Per ASCII character: the rank of its primary weight (2 and up; 0 for digits, which go as
    // numbers) and its tertiary weight.
    unsigned char primary_[128] = {};
    unsigned char tertiary_[128] = {};
    unsigned char numberRank_ = 0;
    unsigned char numberTertiary_ = 0;
    unsigned char lowestTertiary_ = 0;
};

// The locale the user's environment names for ordering text, without its charset: "de_DE".
std::string CollationLocale();
