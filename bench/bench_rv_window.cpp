// SPDX-License-Identifier: GPL-3.0-or-later
// How long rv takes from its start to its window on screen, with no catalogue: the median of
// several starts under the X server of DISPLAY, timed to the moment the server maps the window.
// There is no reference to hold it against, so it is only reported:   bench_rv_window RV
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

constexpr int kRuns = 11;
constexpr int kPatienceMs = 20'000;

// Waits for the next window the server maps on the root; false when none comes in time.
bool AwaitMappedWindow(xcb_connection_t* server) {
    for (;;) {
        while (const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event{xcb_poll_for_event(server), &std::free}) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) return true;
        }
        pollfd wait{xcb_get_file_descriptor(server), POLLIN, 0};
        if (poll(&wait, 1, kPatienceMs) <= 0) return false;
    }
}

double SecondsToWindow(xcb_connection_t* server, const std::string& rv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(rv.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, rv.c_str(), &actions, nullptr, argv.data(), environ) != 0) Fail("cannot start " + rv);
    const bool shown = AwaitMappedWindow(server);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (!shown) Fail(rv + " showed no window");
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: bench_rv_window RV");
    xcb_connection_t* server = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(server)) Fail("cannot reach the X server of DISPLAY");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(server)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(server, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(server);
    SecondsToWindow(server, argv[1]);  // the first start fills the page cache
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) times.push_back(SecondsToWindow(server, argv[1]));
    std::printf("rv, start to its window shown, no catalogue %7.1f ms (median of %d; no bound)\n", Median(times) * 1e3,
                kRuns);
    xcb_disconnect(server);
}
