// SPDX-License-Identifier: GPL-3.0-or-later
// Facts about files on disk, with no catalogue: crc and info, and what add learns of a file.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/modMediaInfo.h"
#include "rvcli/Session.h"
#include "rvcli/TerminalHost.h"

struct FileExam {
    std::string CRC;  // "" when not asked for
    std::int64_t Size = 0;
    MediaInfo Media;
    std::string Error;  // "" or why the file could not be examined (or "Cancelled: PATH")
};

// What the program learns of an existing plain file. A missing file, a folder or anything else
// that is not a plain file is an error, as is a file that cannot be read for its CRC. Without
// withMedia, Media is left empty and FFmpeg is not loaded.
FileExam ExamineFile(const std::string& path, bool withCRC, TerminalHost& host, bool withMedia = true);

void AddFileCommands(CLI::App& app, Commands& commands);
