// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/NaturalOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <vector>

namespace {

std::vector<std::string> Sorted(const std::string& locale, std::vector<std::string> texts) {
    const NaturalOrder order(locale);
    EXPECT_EQ(order.Error(), "");
    std::stable_sort(texts.begin(), texts.end(),
                     [&](const std::string& a, const std::string& b) { return order.Key(a) < order.Key(b); });
    return texts;
}

TEST(NaturalOrder, NumbersByValueLettersByTheLanguage) {
    const struct {
        const char* Locale;
        std::vector<std::string> Texts;
        std::vector<std::string> Expected;
    } cases[] = {
        {"en", {"clip 10", "clip 2", "Clip 3", "clip 1"}, {"clip 1", "clip 2", "Clip 3", "clip 10"}},
        {"en", {"/m/b10.avi", "/m/B9.avi", "/m/a100.avi"}, {"/m/a100.avi", "/m/B9.avi", "/m/b10.avi"}},
        {"en", {"f", "É", "e", "E"}, {"e", "E", "É", "f"}},  // accents and case only break ties
        {"de", {"z", "ö", "o"}, {"o", "ö", "z"}},
        {"sv", {"z", "ö", "o"}, {"o", "z", "ö"}},  // Swedish puts ö after z
        {"en", {"007", "7", "08"}, {"007", "7", "08"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Sorted(c.Locale, c.Texts), c.Expected) << c.Locale << " " << c.Texts[0];
}

TEST(NaturalOrder, TheUsersLocaleAndBrokenText) {
    for (const auto& [lcAll, expected] : std::vector<std::pair<const char*, std::string>>{
             {"sv_SE.UTF-8", "sv_SE"}, {"C", ""}, {"de_DE@euro", "de_DE"}}) {
        setenv("LC_ALL", lcAll, 1);
        EXPECT_EQ(CollationLocale(), expected);
    }
    unsetenv("LC_ALL");
    const NaturalOrder order("en");
    EXPECT_EQ(order.Key("a\xff"), order.Key("a\xEF\xBF\xBD"));  // a stray byte reads as U+FFFD
    EXPECT_LT(order.Key(""), order.Key("a"));
    EXPECT_LT(order.Key(std::string(5000, 'a') + "2"), order.Key(std::string(5000, 'a') + "10"));
}

// The ASCII shortcut must order every pair as ICU's keys do: numbers with leading zeros, case,
// punctuation, and letters some languages order otherwise (Turkish i, Swedish w); languages whose
// rules it cannot follow refuse it.
TEST(NaturalOrder, AsciiKeysOrderAsTheFullKeys) {
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    static const char* const pieces[] = {"a", "A", "b", "Z", "0", "00", "1", "7", "10", "007", "12345678901234567890", " ", "/",
                                         ".", "-", "_", "~", "clip ", "Clip ", "aa", "cs", "ch", "i", "I", "w", "v", "'", "!",
                                         "(", "@", "#", "&", "+", "|", "\\", ":", ",", "<", "?", "`", "99", "x1y", "aB"};
    const auto text = [&] {
        std::string made;
        for (int count = static_cast<int>(random() % 6); count > 0; --count) made += pieces[random() % std::size(pieces)];
        return made;
    };
    for (const char* locale : {"en", "de", "sv", "tr", "fr", "ja", "ru", ""}) {
        const NaturalOrder order(locale);
        ASSERT_TRUE(order.HasAsciiKeys()) << locale;
        for (int pair = 0; pair < 20000; ++pair) {
            const std::string a = text();
            const std::string b = random() % 3 == 0 ? a + text() : text();
            const int full = order.Key(a).compare(order.Key(b));
            const int ascii = order.AsciiKey(a).compare(order.AsciiKey(b));
            ASSERT_EQ((full > 0) - (full < 0), (ascii > 0) - (ascii < 0)) << locale << ": \"" << a << "\" \"" << b << "\"";
        }
    }
    for (const char* locale : {"da", "hu", "cs", "th"}) EXPECT_FALSE(NaturalOrder(locale).HasAsciiKeys()) << locale;
    EXPECT_TRUE(NaturalOrder::TakesAsciiKey("/m/clip 10.avi"));
    for (const std::string& refused : {std::string("\xc3\xa9"), std::string("a\tb"), std::string(201, '1')})
        EXPECT_FALSE(NaturalOrder::TakesAsciiKey(refused)) << refused;
}

}  // namespace
