// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolLog.h"

#include <cstdio>

#include "support/modUtilities.h"

ToolLog::ToolLog(const std::string& name, bool fresh) {
    log_.SetFileName(AppPath() + name);
    if (fresh) std::remove(log_.FileName().c_str());
}

void ToolLog::Write(const std::string& line) {
    if (error_.empty()) error_ = log_.WriteLog(line);
}
