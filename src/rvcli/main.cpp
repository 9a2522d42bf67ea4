// SPDX-License-Identifier: GPL-3.0-or-later
// rvcli: the catalogue from the command line.
#include "rvcli/Cli.h"

int main(int argc, char** argv) { return RunCommandLine(argc, argv); }
