// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/NaturalOrder.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <cstdlib>
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
    }
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
