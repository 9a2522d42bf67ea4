// SPDX-License-Identifier: GPL-3.0-or-later
// A disk that fills up, for as long as the guard lives: no file of this process may grow past
// the limit, and a write that tries fails (EFBIG) instead of ending the process.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>

class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uintmax_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldSignal_);
    }

private:
    rlimit old_{};
    sighandler_t oldSignal_;
};
