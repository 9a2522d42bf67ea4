// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/ListCommands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <memory>

#include "rvcli/DriveCommands.h"
#include "rvcli/Output.h"
#include "listing/modListViewSort.h"
#include "listing/modSearch.h"

namespace {

struct ListOptions {
    std::string Catalogue;
    std::string SortColumn;  // a header of the list in any letter case; "" for file-name order
    bool Descending = false;
    Format OutputFormat = Format::Table;
    DriveFilter OnDrive;
};

// A comparison and its number, as --size < 1000 gives them.
using Comparison = std::vector<std::string>;

struct SearchOptions {
    std::string Catalogue;
    SearchFields Fields;
    std::string Type;
    std::string Category;
    Comparison Size;
    Comparison Length;
    Comparison Rating;
    CLI::Option* TypeGiven = nullptr;
    CLI::Option* CategoryGiven = nullptr;
    Format OutputFormat = Format::Table;
    DriveFilter OnDrive;
    std::vector<std::vector<std::string>> Facts;  // each NAME OP VALUE
};

// The column with this header, in any letter case; -1 for none.
int ColumnNamed(const std::string& header) {
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    for (int column = 0; column < kListColumnCount; ++column) {
        if (lower(header) == lower(kListColumns[column].Header)) return column;
    }
    return -1;
}

bool Wanted(const Catalogue& catalogue, const FileRecord& record, const DriveChoice& choice) {
    if (choice.DriveID && record.DriveID != *choice.DriveID) return false;
    return !choice.PluggedIn || RecordPluggedIn(catalogue, record) == *choice.PluggedIn;
}

Reply ListFiles(const ListOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenExisting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    const DriveChoice choice = ChooseDrive(catalogue, options.OnDrive);
    if (!choice.Error.empty()) return Failed(choice.Error);
    const bool every = !choice.DriveID && !choice.PluggedIn;
    const int column = ColumnNamed(options.SortColumn);
    if (column < 0 && every && options.OutputFormat == Format::CSV)
        return {RenderFilesCSV(catalogue, catalogue.Files.Records()), {}, {}};
    std::vector<const FileRecord*> records;
    for (const FileRecord& record : catalogue.Files.Records()) {
        if (every || Wanted(catalogue, record, choice)) records.push_back(&record);
    }
    FactSet facts;
    if (options.OutputFormat == Format::JSON)
        if (std::string error = facts.LoadFromDatabase(catalogue.Store, catalogue.Files); !error.empty()) return Failed(error);
    std::vector<FileRow> rows = MakeFileRows(catalogue, records, &facts);
    if (column >= 0) {
        // Stable, so rows that tie stay in file-name order either way.
        std::stable_sort(rows.begin(), rows.end(), [&](const FileRow& a, const FileRow& b) {
            const int order = CompareCells(column, a.Texts[column], b.Texts[column]);
            return options.Descending ? order > 0 : order < 0;
        });
    }
    return {RenderFiles(rows, options.OutputFormat), {}, {}};
}

void Compare(const Comparison& given, std::string& comparison, std::string& number) {
    if (given.size() != 2) return;
    comparison = given[0];
    number = given[1];
}

Reply SearchFiles(SearchOptions options) {
    Catalogue catalogue;
    if (std::string error = OpenExisting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    SearchFields& fields = options.Fields;
    // The window offers only the types and categories there are; a name typed wrong must not
    // quietly widen the search to every file.
    if (options.TypeGiven->count() > 0) {
        if (!catalogue.FileTypes.GotoFileType(options.Type)) return Failed("No file type named " + options.Type);
        fields.Type = options.Type;
    }
    if (options.CategoryGiven->count() > 0) {
        if (!catalogue.Categories.GotoCategoryName(options.Category)) return Failed("No category named " + options.Category);
        fields.Category = options.Category;
    }
    const DriveChoice choice = ChooseDrive(catalogue, options.OnDrive);
    if (!choice.Error.empty()) return Failed(choice.Error);
    fields.DriveID = choice.DriveID;
    fields.PluggedIn = choice.PluggedIn;
    Compare(options.Size, fields.SizeComparison, fields.Size);
    Compare(options.Length, fields.LengthComparison, fields.Length);
    Compare(options.Rating, fields.RatingComparison, fields.Rating);
    for (const std::vector<std::string>& fact : options.Facts) {
        // The parser hands over a condition cut short at the end of the line as it is.
        if (fact.size() != 3) return Failed("--fact takes three words, NAME OP VALUE, such as: --fact height '>=' 1080");
        const FactCondition condition{fact[0], fact[1], fact[2]};
        if (std::string wrong = CheckFact(condition); !wrong.empty()) return Failed(wrong);
        fields.Facts.push_back(condition);
    }
    const SearchResult result = RunSearch(catalogue, fields);
    if (!result.Error.empty()) return Failed(result.Error);
    FactSet facts;
    if (options.OutputFormat == Format::JSON)
        if (std::string error = facts.LoadFromDatabase(catalogue.Store, catalogue.Files); !error.empty()) return Failed(error);
    return {RenderFiles(MakeFileRows(catalogue, result.Files, &facts), options.OutputFormat),
            std::to_string(result.Files.size()) + " matching files found\n", {}};
}

void AddFormatOption(CLI::App* command, Format& format) {
    command->add_option("--format", format, "Output: table (default), csv or json")
        ->type_name("FORMAT")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case).description(""));
}

CLI::Option* AddComparison(CLI::App* command, const std::string& name, Comparison& comparison, const std::string& what) {
    return command->add_option(name, comparison, what + ": OP N, OP one of <, = or >")
        ->expected(2)
        ->type_name("OP N")
        ->check(CLI::IsMember({"<", "=", ">"}).application_index(0).description(""));
}

void AddSearchCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<SearchOptions>();
    SearchFields& fields = options->Fields;
    CLI::App* search = app.add_subcommand(
        "search", "Find files by their fields; prints \"N matching files found\" on standard error");
    search->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    search->footer("Every condition given must hold. Texts match anywhere in their field, without regard to letter "
                   "case; % and _ in them are wildcards. N counts the files listed.");
    search->add_option("--name", fields.FileName, "Part of the file name (the full path)");
    search->add_option("--title", fields.Title, "Part of the title");
    options->TypeGiven = search->add_option("--type", options->Type, "File type, by its description");
    options->CategoryGiven = search->add_option("--category", options->Category, "Category, by its name");
    search->add_option("--crc", fields.CRC, "Part of the CRC");
    AddComparison(search, "--size", options->Size, "Size in bytes");
    AddComparison(search, "--length", options->Length, "Length in milliseconds");
    search->add_option("--fourcc", fields.FourCC, "Part of the FourCC");
    AddComparison(search, "--rating", options->Rating, "Rating");
    search->add_option("--keyword", fields.Keywords, "A keyword every file found must have, exactly; repeat for more")
        ->allow_extra_args(false);
    std::string names;
    for (const std::string& name : FactNames()) names += (names.empty() ? "" : ", ") + name;
    search->add_option("--fact", options->Facts,
                       "A media fact every file found must have: NAME OP VALUE, OP one of =, <, >, <= or >= (texts "
                       "only =, in any letter case); repeat for more. NAME: " + names)
        ->type_name("NAME OP VALUE")
        ->expected(3)
        ->allow_extra_args(false);
    AddDriveFilter(search, options->OnDrive);
    AddFormatOption(search, options->OutputFormat);
    commands.Add(search, [options] { return SearchFiles(*options); });
}

}  // namespace

void AddListCommands(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<ListOptions>();
    CLI::App* list = app.add_subcommand("list", "List every file: FileID, File Name, Title, Type, Category, CRC, ...");
    list->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    std::vector<std::string> headers;
    for (const ListColumn& column : kListColumns) headers.emplace_back(column.Header);
    CLI::Option* sort = list->add_option("--sort", options->SortColumn,
                                         "Sort by this column (Size, Length and Rating as numbers); default: File Name")
                            ->check(CLI::IsMember(headers, CLI::ignore_case));
    list->add_flag("--desc", options->Descending, "Sort in descending order")->needs(sort);
    AddDriveFilter(list, options->OnDrive);
    AddFormatOption(list, options->OutputFormat);
    commands.Add(list, [options] { return ListFiles(*options); });

    AddSearchCommand(app, commands);
}
