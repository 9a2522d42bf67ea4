// SPDX-License-Identifier: GPL-3.0-or-later
// Long work on a terminal: a progress line on standard error and Ctrl+C as the Cancel button.
#pragma once

#include <signal.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "analysis/modReadFileEx.h"
#include "tools/ToolHost.h"

// While one lives, the first Ctrl+C (SIGINT) only asks the work to stop; the work sees it through
// Interrupted() and ends cleanly, keeping what it committed. A second Ctrl+C ends the process as
// usual. A Ctrl+C that was pending (blocked) before counts as the first. Not nestable.
class InterruptGuard {
public:
    InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
    ~InterruptGuard();
    static bool Interrupted();

private:
    struct sigaction previous_ {};
    sigset_t previousMask_{};
};

// The ToolHost of the command line. The progress line appears only when standard error is a
// terminal, at most ten times a second and not at all for work done within a tenth of a second;
// it is wiped when the host goes. The log is not opened; its path is kept for the totals.
class TerminalHost : public ToolHost {
public:
    TerminalHost();
    ~TerminalHost() override;

    void SetStatus(const std::string&) override {}
    bool Progress(std::int64_t done, std::int64_t total, const std::string& current) override;
    void ShowLog(const std::string& path) override { logPath_ = path; }

    // Progress of one file's CRC, in per cent of its bytes.
    CRCProgress ForFile(const std::string& path);

private:
    void Show(const std::string& line);

    InterruptGuard guard_;
    const bool terminal_;
    std::chrono::steady_clock::time_point lastShown_;
    bool shown_ = false;
    std::string logPath_;
};
