// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/Cell.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

std::int64_t RoundToInt(double number) {
    if (std::isnan(number)) return 0;
    const double rounded = std::nearbyint(number);  // the default rounding mode sends halves to even
    if (rounded >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
    if (rounded <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

std::string RealText(double number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", number);
    std::string result = text;
    if (result.find_first_of(".eni") == std::string::npos) result += ".0";
    return result;
}

std::int64_t LeadingNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const long long whole = std::strtoll(begin, &end, 10);
    if (end == begin) return 0;
    if (*end != '.' && *end != 'e' && *end != 'E') return whole;
    return RoundToInt(std::strtod(begin, nullptr));
}

}  // namespace

std::string Cell::AsText() const {
    if (const auto* text = std::get_if<std::string>(&value_)) return *text;
    if (const auto* whole = std::get_if<std::int64_t>(&value_)) return std::to_string(*whole);
    if (const auto* real = std::get_if<double>(&value_)) return RealText(*real);
    return {};
}

std::int64_t Cell::AsInt() const {
    if (const auto* whole = std::get_if<std::int64_t>(&value_)) return *whole;
    if (const auto* real = std::get_if<double>(&value_)) return RoundToInt(*real);
    if (const auto* text = std::get_if<std::string>(&value_)) return LeadingNumber(*text);
    return 0;
}
