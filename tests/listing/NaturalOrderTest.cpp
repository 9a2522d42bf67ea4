// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/NaturalOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
