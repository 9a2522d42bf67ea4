// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "support/modUtilities.h"

namespace {

bool ReadBoolean(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    if (text == "true") return true;
    if (text == "false" || text.empty()) return false;
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    const bool isNumber = end != text.c_str() && std::string_view(end).find_first_not_of(" \t") == std::string_view::npos;
    return isNumber && number != 0;
}

}  // namespace

std::string LoadSettings(clsINIParse& ini, Settings& settings) {
    const std::string folder = AppPath();
    ini.SetINIFileName(folder + "rv.ini");
    std::error_code ignored;
    if (std::filesystem::exists(ini.INIFileName(), ignored)) {
        const std::string error = ini.LoadINI();
        settings.AutoCalculateCRC = ReadBoolean(ini.GetVariableValue("AutoCalculateCRC"));
        settings.LastDir = ini.GetVariableValue("LastDir");
        settings.ListColumns = ini.GetVariableValue("ListColumns");
        const std::string natural = ini.GetVariableValue("SortNamesNaturally");
        settings.SortNamesNaturally = natural.empty() || ReadBoolean(natural);
        settings.ShowExactNumbers = ReadBoolean(ini.GetVariableValue("ShowExactNumbers"));
        return error;
    }
    settings.AutoCalculateCRC = false;
    ini.AddVariable("AutoCalculateCRC", "false");
    ini.AddVariable("LastDir", folder);
    return ini.SaveINI();
}
