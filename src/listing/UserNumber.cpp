// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/UserNumber.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string WithoutBlanks(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (!IsBlank(c)) kept += c;
    }
    return kept;
}

bool IsDigitOfBase(char c, int base) {
    return base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : c >= '0' && c < '0' + base;
}

// "&H..." or "&O...": the digits that follow, as far as they go. Wider than 64 bits is out of range.
std::optional<long double> Radix(const std::string& text) {
    const int base = std::toupper(static_cast<unsigned char>(text[1])) == 'H' ? 16 : 8;
    std::size_t end = 2;
    while (end < text.size() && IsDigitOfBase(text[end], base)) ++end;
    if (end == 2) return 0;
    errno = 0;
    const unsigned long long value = std::strtoull(text.substr(2, end - 2).c_str(), nullptr, base);
    if (errno == ERANGE) return std::nullopt;
    return static_cast<long double>(value);
}

std::size_t SkipDigits(const std::string& text, std::size_t at) {
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    return at;
}

// The decimal number at the start: sign, digits, one point, then an exponent only when it has digits.
long double Decimal(std::string text) {
    std::size_t end = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
    const std::size_t digitsFrom = end;
    end = SkipDigits(text, end);
    if (end < text.size() && text[end] == '.') end = SkipDigits(text, end + 1);
    if (end == digitsFrom || text.substr(digitsFrom, end - digitsFrom) == ".") return 0;
    if (end < text.size() && std::string_view("EeDd").find(text[end]) != std::string_view::npos) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        if (const std::size_t past = SkipDigits(text, exponent); past > exponent) {
            text[end] = 'e';
            end = past;
        }
    }
    return std::strtold(text.substr(0, end).c_str(), nullptr);  // long double: 64-bit integers stay exact
}

}  // namespace

std::optional<std::int64_t> WholeNumberOf(std::string_view typed, std::int64_t lowest, std::int64_t highest) {
    const std::string text = WithoutBlanks(typed);
    const bool radix = text.size() >= 2 && text[0] == '&' && std::string_view("HhOo").find(text[1]) != std::string_view::npos;
    const std::optional<long double> number = radix ? Radix(text) : Decimal(text);
    if (!number) return std::nullopt;
    const long double whole = std::nearbyint(*number);  // the default rounding mode sends halves to even
    if (!(whole >= static_cast<long double>(lowest) && whole <= static_cast<long double>(highest))) return std::nullopt;
    return static_cast<std::int64_t>(whole);
}
