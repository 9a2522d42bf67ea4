// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modSystemInfo.h"

#include <sqlite3.h>
#include <sys/utsname.h>

#include <fstream>
#include <string_view>

#include "analysis/modMediaInfo.h"
#include "analysis/modReadFileEx.h"
#include "support/modUtilities.h"

namespace {

constexpr std::string_view kPrettyNameKey = "PRETTY_NAME=";
constexpr const char* kUnknown = "unknown";

// os-release values follow shell quoting: inside double quotes a backslash escapes the next character.
std::string Unquoted(std::string_view value) {
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    if (!quoted) return std::string(value);
    const bool escapes = value.front() == '"';
    std::string text;
    for (std::size_t at = 1; at + 1 < value.size(); ++at) {
        if (escapes && value[at] == '\\' && at + 2 < value.size()) ++at;
        text += value[at];
    }
    return text;
}

std::string PrettyNameIn(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.starts_with(kPrettyNameKey)) return Unquoted(std::string_view(line).substr(kPrettyNameKey.size()));
    }
    return {};
}

std::string KernelText() {
    utsname system{};
    if (uname(&system) != 0) return {};
    return std::string(system.sysname) + " " + system.release + " " + system.machine;
}

std::string OrUnknown(const std::string& text) { return text.empty() ? kUnknown : text; }

}  // namespace

std::string OsPrettyName(std::span<const std::string> osReleaseFiles) {
    for (const std::string& path : osReleaseFiles) {
        if (std::string name = PrettyNameIn(path); !name.empty()) return name;
    }
    return {};
}

SystemFacts GatherSystemFacts(std::span<const std::string> osReleaseFiles) {
    const std::string os = OsPrettyName(osReleaseFiles);
    const std::string kernel = KernelText();
    if (os.empty() && kernel.empty()) return {{}, "Neither the operating system nor the kernel could be named"};
    return {{"Operating system: " + OrUnknown(os), "Kernel: " + OrUnknown(kernel),
             "SQLite: " + std::string(sqlite3_libversion()), "FFmpeg: " + OrUnknown(MediaLibraryVersions()),
             "CRC-32: " + CRCInstructionSupport(), "Settings and logs: " + AppPath()},
            {}};
}
