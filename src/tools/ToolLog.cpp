// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "support/modUtilities.h"

ToolLog::ToolLog(const std::string& name, bool fresh) : path_(AppPath() + name) {
    if (fresh) std::remove(path_.c_str());
}

void ToolLog::Write(const std::string& line) {
    if (!error_.empty()) return;
    if (!file_) file_ = OpenUniqueFile(path_, "a");
    if (file_ && std::fwrite(line.data(), 1, line.size(), file_.get()) == line.size() &&
        std::fputc('\n', file_.get()) != EOF && std::fflush(file_.get()) == 0)
        return;
    // Worded as clsLog words it, so that every log that fails reads alike.
    error_ = "Could not write the log " + path_ + ": " + std::strerror(errno);
}
