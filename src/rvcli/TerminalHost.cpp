// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/TerminalHost.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "rvcli/Output.h"

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

extern "C" void OnInterrupt(int) { interrupted = true; }

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::size_t TerminalWidth() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

// The first characters of text (UTF-8), so that a line never wraps and \r can go back over it.
std::string Cut(const std::string& text, std::size_t characters) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == characters) return text.substr(0, i);
    }
    return text;
}

}  // namespace

InterruptGuard::InterruptGuard() {
    interrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;  // the handler goes with the first signal: a second one ends the process
    sigaction(SIGINT, &action, &previous_);
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    sigprocmask(SIG_UNBLOCK, &interrupt, &previousMask_);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &previous_, nullptr);
    sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
}

bool InterruptGuard::Interrupted() { return interrupted; }

TerminalHost::TerminalHost()
    : terminal_(isatty(STDERR_FILENO) == 1), lastShown_(std::chrono::steady_clock::now()) {}

TerminalHost::~TerminalHost() {
    if (shown_) Show("");
}

bool TerminalHost::Progress(std::int64_t done, std::int64_t total, const std::string& current) {
    if (terminal_ && std::chrono::steady_clock::now() - lastShown_ >= kRedrawInterval)
        Show(std::to_string(done) + "/" + std::to_string(total) + "  " + current);
    return !InterruptGuard::Interrupted();
}

CRCProgress TerminalHost::ForFile(const std::string& path) {
    return [this, path](std::int64_t done, std::int64_t total) {
        if (terminal_ && std::chrono::steady_clock::now() - lastShown_ >= kRedrawInterval)
            Show(std::to_string(total > 0 ? std::min<std::int64_t>(100, done * 100 / total) : 100) + "%  " + path);
        return !InterruptGuard::Interrupted();
    };
}

void TerminalHost::Show(const std::string& line) {
    // \r and "erase to the end of the line" redraw in place.
    const std::string text = "\r\x1b[K" + Cut(Printable(line), TerminalWidth() - 1);
    const ssize_t ignored = write(STDERR_FILENO, text.data(), text.size());  // a lost progress line harms nothing
    (void)ignored;
    lastShown_ = std::chrono::steady_clock::now();
    shown_ = !line.empty();
}
