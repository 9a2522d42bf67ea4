// SPDX-License-Identifier: GPL-3.0-or-later
// What a bulk tool needs of the program that runs it: a status line, progress with a way to stop,
// and somewhere to show its log. The desktop program and the command line each implement it.
#pragma once

#include <cstdint>
#include <string>

class ToolHost {
public:
    virtual ~ToolHost() = default;
    // The one-line status the tool is in ("Loading /media/a.avi").
    virtual void SetStatus(const std::string& text) = 0;
    // How far the run has come, in items; current is the item at hand. Returns false when the user
    // asked to stop. May be called often, also within one item (a long CRC); throttle the screen.
    virtual bool Progress(std::int64_t done, std::int64_t total, const std::string& current) = 0;
    // The run has finished and its log is ready to be looked at.
    virtual void ShowLog(const std::string& path) = 0;
};

// What a run leaves behind for the user: Error is "" or why it stopped early; what it committed
// before stays committed.
struct ToolResult {
    int Changed = 0;  // records added, deleted, re-pointed or rewritten
    int Skipped = 0;  // duplicates, unreachable files and the like
    int Unreadable = 0;
    int DriveAway = 0;  // records left alone because their drive is not plugged in
    bool Cancelled = false;
    std::string Error;
    std::string LogPath;  // "" for a tool that writes no log
};
