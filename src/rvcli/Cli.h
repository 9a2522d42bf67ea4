// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: parses the arguments, runs the command they name and says how it went.
#pragma once

// Exit status: 0 success (also for --help and --version), 1 the command failed (one line on
// standard error says why), 2 the arguments were wrong (the parser's complaint on standard error).
int RunCommandLine(int argc, char** argv);
