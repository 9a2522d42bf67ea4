// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built rvcli in a folder of its own, with its own config folder, and reads what it said.
// Starting the program costs a tenth of a second (several under the sanitizers), so every command
// runs as a process at least once and the finer checks call the same code in this process.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "rvcli/Cli.h"

#include "common/TempFolder.h"

extern char** environ;

struct Ran {
    int Status = -1;  // the exit status; -1 when the process did not exit by itself
    std::string Out;
    std::string Err;
    friend bool operator==(const Ran&, const Ran&) = default;
};
inline void PrintTo(const Ran& ran, std::ostream* os) {
    *os << "status " << ran.Status << ", out \"" << ran.Out << "\", err \"" << ran.Err << "\"";
}

class Rvcli : public ::testing::Test {
protected:
    // interrupt: the process gets a Ctrl+C at once, held back until it is ready to take it.
    Ran Run(std::vector<std::string> args, bool interrupt = false) {
        args.insert(args.begin(), RVCLI_PATH);
        // Sent after the start, the Ctrl+C could come after rvcli has finished a small job. A shell
        // sends it to itself while it is blocked, and the exec keeps it waiting for rvcli.
        if (interrupt) args.insert(args.begin(), {"/bin/sh", "-c", "kill -INT $$ && exec \"$0\" \"$@\""});
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addchdir_np(&files, folder.Root().c_str());
        posix_spawn_file_actions_addopen(&files, 1, folder.Path("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&files, 2, folder.Path("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t mask;
        sigemptyset(&mask);
        if (interrupt) sigaddset(&mask, SIGINT);
        posix_spawnattr_setsigmask(&attributes, &mask);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
        pid_t child = 0;
        EXPECT_EQ(posix_spawn(&child, argv[0], &files, &attributes, argv.data(), environ), 0);
        int status = 0;
        waitpid(child, &status, 0);
        posix_spawn_file_actions_destroy(&files);
        posix_spawnattr_destroy(&attributes);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.Read("out"), folder.Read("err")};
    }
    // The command line as the process would run it, in this process. Paths should be absolute.
    Ran Call(std::vector<std::string> args) {
        args.insert(args.begin(), "rvcli");
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        std::ostringstream out;
        std::ostringstream err;
        std::streambuf* const oldOut = std::cout.rdbuf(out.rdbuf());
        std::streambuf* const oldErr = std::cerr.rdbuf(err.rdbuf());
        const int status = RunCommandLine(static_cast<int>(argv.size()), argv.data());
        std::cout.rdbuf(oldOut);
        std::cerr.rdbuf(oldErr);
        return {status, out.str(), err.str()};
    }
    // Calls a command that must succeed and returns its standard output.
    std::string Ok(const std::vector<std::string>& args) {
        const Ran ran = Call(args);
        EXPECT_EQ(ran.Status, 0) << args[0] << ": " << ran.Err;
        return ran.Out;
    }
    std::string Path(const std::string& name) const { return folder.Path(name); }

    TempFolder folder;
    ScopedEnv config{"XDG_CONFIG_HOME", folder.Path("config")};
    std::string cat = folder.Path("c.rvd");
};
