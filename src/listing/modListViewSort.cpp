// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/modListViewSort.h"

#include <cctype>

#include "listing/ListRow.h"

namespace {

constexpr std::size_t kPatternDigits = 30;

bool IsDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The decimal number in text, as its sign, whole digits and fraction digits; false when the text
// is not one (blanks around it are allowed).
bool SplitNumber(const std::string& text, bool& negative, std::string& whole, std::string& fraction) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    std::string number = text.substr(first, text.find_last_not_of(' ') - first + 1);
    negative = number.starts_with('-');
    if (negative || number.starts_with('+')) number.erase(0, 1);
    const auto point = number.find('.');
    whole = number.substr(0, point);
    fraction = point == std::string::npos ? "" : number.substr(point + 1);
    if (whole.empty() && fraction.empty()) return false;
    return (whole.empty() || IsDigits(whole)) && (fraction.empty() || IsDigits(fraction));
}

}  // namespace

std::string InvertDigits(std::string text) {
    for (char& c : text) {
        if (c == '-') c = ' ';
        else if (c >= '0' && c <= '9') c = static_cast<char>('9' - (c - '0'));
    }
    return text;
}

std::string NumericSortKey(const std::string& text) {
    bool negative = false;
    std::string whole;
    std::string fraction;
    if (!SplitNumber(text, negative, whole, fraction)) return {};
    whole.erase(0, whole.find_first_not_of('0') == std::string::npos ? whole.size() : whole.find_first_not_of('0'));
    fraction.resize(kPatternDigits, '0');
    const bool zero = whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
    if (whole.size() < kPatternDigits) whole.insert(0, kPatternDigits - whole.size(), '0');
    const std::string pattern = whole + "." + fraction;
    return negative || zero ? "&" + InvertDigits(pattern) : pattern;
}

int CompareText(const std::string& a, const std::string& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int left = std::tolower(static_cast<unsigned char>(a[i]));
        const int right = std::tolower(static_cast<unsigned char>(b[i]));
        if (left != right) return left < right ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

int CompareCells(int column, const std::string& a, const std::string& b) {
    if (!kListColumns[column].Numeric) return CompareText(a, b);
    const int order = NumericSortKey(a).compare(NumericSortKey(b));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}
