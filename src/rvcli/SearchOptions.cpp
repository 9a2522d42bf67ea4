// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/SearchOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "facts/FactSearch.h"

namespace {

void Compare(const Comparison& given, std::string& comparison, std::string& number) {
    if (given.size() != 2) return;
    comparison = given[0];
    number = given[1];
}

CLI::Option* AddComparison(CLI::App* command, const std::string& name, Comparison& comparison, const std::string& what) {
    return command->add_option(name, comparison, what + ": OP N, OP one of <, = or >")
        ->expected(2)
        ->type_name("OP N")
        ->check(CLI::IsMember({"<", "=", ">"}).application_index(0).description(""));
}

}  // namespace

void AddSearchOptions(CLI::App* command, SearchOptions& options) {
    SearchFields& fields = options.Fields;
    const auto add = [&](CLI::Option* option) {
        options.Given.push_back(option);
        return option;
    };
    add(command->add_option("--name", fields.FileName, "Part of the file name (the full path)"));
    add(command->add_option("--title", fields.Title, "Part of the title"));
    options.TypeGiven = add(command->add_option("--type", options.Type, "File type, by its description"));
    options.CategoryGiven = add(command->add_option("--category", options.Category, "Category, by its name"));
    add(command->add_option("--crc", fields.CRC, "Part of the CRC"));
    add(AddComparison(command, "--size", options.Size, "Size in bytes"));
    add(AddComparison(command, "--length", options.Length, "Length in milliseconds"));
    add(command->add_option("--fourcc", fields.FourCC, "Part of the FourCC"));
    add(AddComparison(command, "--rating", options.Rating, "Rating"));
    add(command->add_option("--keyword", fields.Keywords, "A keyword every file found must have, exactly; repeat for more")
            ->allow_extra_args(false));
    std::string names;
    for (const std::string& name : FactNames()) names += (names.empty() ? "" : ", ") + name;
    add(command->add_option("--fact", options.Facts,
                            "A media fact every file found must have: NAME OP VALUE, OP one of =, <, >, <= or >= (texts "
                            "only =, in any letter case); repeat for more. NAME: " + names)
            ->type_name("NAME OP VALUE")
            ->expected(3)
            ->allow_extra_args(false));
    AddDriveFilter(command, options.OnDrive);
}

bool AnySearchOption(const SearchOptions& options) {
    const DriveFilter& drive = options.OnDrive;
    return !drive.Drive.empty() || drive.PluggedIn || drive.NotPluggedIn ||
           std::any_of(options.Given.begin(), options.Given.end(), [](const CLI::Option* o) { return o->count() > 0; });
}

Searched SearchCatalogue(Catalogue& catalogue, const SearchOptions& options) {
    SearchFields fields = options.Fields;
    if (options.TypeGiven->count() > 0) {
        if (!catalogue.FileTypes.GotoFileType(options.Type)) return {{}, "No file type named " + options.Type};
        fields.Type = options.Type;
    }
    if (options.CategoryGiven->count() > 0) {
        if (!catalogue.Categories.GotoCategoryName(options.Category)) return {{}, "No category named " + options.Category};
        fields.Category = options.Category;
    }
    const DriveChoice choice = ChooseDrive(catalogue, options.OnDrive);
    if (!choice.Error.empty()) return {{}, choice.Error};
    fields.DriveID = choice.DriveID;
    fields.PluggedIn = choice.PluggedIn;
    Compare(options.Size, fields.SizeComparison, fields.Size);
    Compare(options.Length, fields.LengthComparison, fields.Length);
    Compare(options.Rating, fields.RatingComparison, fields.Rating);
    for (const std::vector<std::string>& fact : options.Facts) {
        // The parser hands over a condition cut short at the end of the line as it is.
        if (fact.size() != 3) return {{}, "--fact takes three words, NAME OP VALUE, such as: --fact height '>=' 1080"};
        const FactCondition condition{fact[0], fact[1], fact[2]};
        if (std::string wrong = CheckFact(condition); !wrong.empty()) return {{}, wrong};
        fields.Facts.push_back(condition);
    }
    SearchResult result = RunSearch(catalogue, fields);
    return {std::move(result.Files), std::move(result.Error)};
}
