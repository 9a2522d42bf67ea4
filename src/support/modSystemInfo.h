// SPDX-License-Identifier: GPL-3.0-or-later
// The facts about this computer that a bug report needs, as lines of text a person can copy.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

struct SystemFacts {
    std::vector<std::string> Lines;  // "Operating system: Debian GNU/Linux 12 (bookworm)", "Kernel: ...", ...
    std::string Error;               // "" when gathered, otherwise why not
    explicit operator bool() const { return Error.empty(); }
};

// Where the operating system names itself; the first of them that names it wins.
inline const std::array<std::string, 2> kOsReleaseFiles{"/etc/os-release", "/usr/lib/os-release"};

// PRETTY_NAME of the first file that has one, unquoted; "" when none has.
std::string OsPrettyName(std::span<const std::string> osReleaseFiles);

// One line each, as "Label: value": the operating system, the kernel (sysname release machine),
// SQLite, FFmpeg, how the CRC-32 is folded on this CPU, and the settings and log folder. A fact
// that cannot be found reads "unknown"; only when neither the operating system nor the kernel
// says anything is it an error, since a report without either is of no use.
SystemFacts GatherSystemFacts(std::span<const std::string> osReleaseFiles = kOsReleaseFiles);
