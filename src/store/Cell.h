// SPDX-License-Identifier: GPL-3.0-or-later
// One value of a catalogue result or statement: SQL NULL, a whole number, a real number or text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

class Cell {
public:
    Cell() = default;  // SQL NULL
    Cell(std::string text) : value_(std::move(text)) {}
    Cell(std::string_view text) : value_(std::string(text)) {}
    Cell(const char* text) : value_(std::string(text)) {}
    template <std::integral T>
        requires(!std::is_same_v<T, bool> && !std::is_same_v<T, char>)
    Cell(T number) : value_(static_cast<std::int64_t>(number)) {}
    Cell(double number) : value_(number) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsText() const { return std::holds_alternative<std::string>(value_); }

    // NULL reads as "", numbers in decimal; a real keeps a ".0" when it is whole, as SQLite prints it.
    std::string AsText() const;

    // NULL reads as 0; a real or the leading number of a text is taken to the nearest whole number,
    // halves to even; a text without a leading number reads as 0.
    std::int64_t AsInt() const;

    friend bool operator==(const Cell&, const Cell&) = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> value_;
};
