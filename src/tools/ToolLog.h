// SPDX-License-Identifier: GPL-3.0-or-later
// A tool's log in AppPath(). A line that cannot be written does not stop the catalogue work; the
// first such failure is kept for the run's result, and later lines are not tried.
#pragma once

#include <string>

#include "support/clsLog.h"

class ToolLog {
public:
    // fresh: start the file anew rather than appending to what an earlier run left.
    ToolLog(const std::string& name, bool fresh);
    // Appends the line; it is on disk (in the system's hands) when the call returns.
    void Write(const std::string& line);
    const std::string& Path() const { return log_.FileName(); }
    const std::string& Error() const { return error_; }

private:
    clsLog log_;
    std::string error_;
};
