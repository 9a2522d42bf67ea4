// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/CheckCommand.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "store/modCheck.h"

namespace {

Reply Check(const std::string& path) {
    const std::vector<std::string> problems = CheckCatalogue(path);
    if (problems.empty()) return {path + ": the catalogue is in good order\n", {}, {}};
    Reply reply;
    for (const std::string& problem : problems) reply.Output += problem + "\n";
    reply.Error = path + ": " + std::to_string(problems.size()) + (problems.size() == 1 ? " problem" : " problems") + " found";
    return reply;
}

}  // namespace

void AddCheckCommand(CLI::App& app, Commands& commands) {
    auto path = std::make_shared<std::string>();
    CLI::App* check = app.add_subcommand("check", "Look for damage in a catalogue; it stays as it is");
    check->footer("Runs SQLite's integrity check, then looks for records that name a type, category, keyword or file "
                  "the catalogue lacks, and for text where a number belongs. Exit status 0 when none is found.");
    check->add_option("CATALOGUE", *path, "Catalogue file")->required();
    commands.Add(check, [path] { return Check(*path); });
}
