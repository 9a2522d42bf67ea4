// SPDX-License-Identifier: GPL-3.0-or-later
// The options that choose files by their fields, shared by the commands that search.
#pragma once

#include <string>
#include <vector>

#include "listing/modSearch.h"
#include "rvcli/DriveCommands.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

// A comparison and its number, as --size < 1000 gives them.
using Comparison = std::vector<std::string>;

struct SearchOptions {
    SearchFields Fields;
    std::string Type;
    std::string Category;
    Comparison Size;
    Comparison Length;
    Comparison Rating;
    DriveFilter OnDrive;
    std::vector<std::vector<std::string>> Facts;  // each NAME OP VALUE
    std::vector<CLI::Option*> Given;  // every option of the search, to tell whether one was used
    CLI::Option* TypeGiven = nullptr;
    CLI::Option* CategoryGiven = nullptr;
};

// Adds --name, --title, --type, --category, --crc, --size, --length, --fourcc, --rating, --keyword,
// --fact and the drive filter to the command.
void AddSearchOptions(CLI::App* command, SearchOptions& options);
// Whether any of them was on the command line.
bool AnySearchOption(const SearchOptions& options);

struct Searched {
    std::vector<const FileRecord*> Files;  // in the search's order; into catalogue.Files
    std::string Error;                     // "" or one sentence, with no files
};
// The files the options choose. A type or category name the catalogue lacks is an error, rather
// than a search quietly widened to every file.
Searched SearchCatalogue(Catalogue& catalogue, const SearchOptions& options);
