// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/ListCommands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <memory>

#include "rvcli/DriveCommands.h"
#include "rvcli/Output.h"
#include "rvcli/SearchOptions.h"
#include "listing/NaturalOrder.h"
#include "listing/modListViewSort.h"
#include "facts/FactRows.h"
#include "listing/modSearch.h"

namespace {

struct ListOptions {
    std::string Catalogue;
    std::string SortColumn;  // a header of the list in any letter case; "" for file-name order
    bool Descending = false;
    bool Natural = false;
    Format OutputFormat = Format::Table;
    DriveFilter OnDrive;
};

// The column with this header, in any letter case; -1 for none.
int ColumnNamed(const std::string& header) {
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    if (lower(header) == "name") return FileNameColumn;
    for (int column = 0; column < kListColumnCount; ++column) {
        if (lower(header) == lower(kListColumns[column].Header)) return column;
    }
    return -1;
}

// Stable, with one key made per row, so rows that tie stay in file-name order either way.
void SortNaturally(std::vector<FileRow>& rows, int column, bool descending) {
    const NaturalOrder order;
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) keys.emplace_back(order.Key(rows[i].Texts[column]), i);
    std::stable_sort(keys.begin(), keys.end(), [descending](const auto& a, const auto& b) {
        return descending ? a.first > b.first : a.first < b.first;
    });
    std::vector<FileRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& key : keys) sorted.push_back(std::move(rows[key.second]));
    rows = std::move(sorted);
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
    if (options.Natural && column != FileNameColumn && column != TitleColumn && column != KeywordsColumn)
        return Failed("--natural orders File Name, Title and Keywords only");
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
    if (options.Natural) {
        SortNaturally(rows, column, options.Descending);
    } else if (column >= 0) {
        // Stable, so rows that tie stay in file-name order either way.
        std::stable_sort(rows.begin(), rows.end(), [&](const FileRow& a, const FileRow& b) {
            const int order = CompareCells(column, a.Texts[column], b.Texts[column]);
            return options.Descending ? order > 0 : order < 0;
        });
    }
    return {RenderFiles(rows, options.OutputFormat), {}, {}};
}

Reply SearchFiles(const std::string& path, const SearchOptions& options, Format format) {
    Catalogue catalogue;
    if (std::string error = OpenExisting(catalogue, path); !error.empty()) return Failed(error);
    const Searched found = SearchCatalogue(catalogue, options);
    if (!found.Error.empty()) return Failed(found.Error);
    FactSet facts;
    if (format == Format::JSON)
        if (std::string error = facts.LoadFromDatabase(catalogue.Store, catalogue.Files); !error.empty()) return Failed(error);
    return {RenderFiles(MakeFileRows(catalogue, found.Files, &facts), format),
            std::to_string(found.Files.size()) + " matching files found\n", {}};
}

void AddFormatOption(CLI::App* command, Format& format) {
    command->add_option("--format", format, "Output: table (default), csv or json")
        ->type_name("FORMAT")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case).description(""));
}

void AddSearchCommand(CLI::App& app, Commands& commands) {
    auto path = std::make_shared<std::string>();
    auto options = std::make_shared<SearchOptions>();
    auto format = std::make_shared<Format>(Format::Table);
    CLI::App* search = app.add_subcommand(
        "search", "Find files by their fields; prints \"N matching files found\" on standard error");
    search->add_option("CATALOGUE", *path, "Catalogue file")->required();
    search->footer("Every condition given must hold. Texts match anywhere in their field, without regard to letter "
                   "case; % and _ in them are wildcards. N counts the files listed.");
    AddSearchOptions(search, *options);
    AddFormatOption(search, *format);
    commands.Add(search, [path, options, format] { return SearchFiles(*path, *options, *format); });
}

}  // namespace

void AddListCommands(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<ListOptions>();
    CLI::App* list = app.add_subcommand("list", "List every file: FileID, File Name, Title, Type, Category, CRC, ...");
    list->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    std::vector<std::string> headers{"name"};
    for (const ListColumn& column : kListColumns) headers.emplace_back(column.Header);
    CLI::Option* sort = list->add_option("--sort", options->SortColumn,
                                         "Sort by this column (Size, Length and Rating as numbers; name is File Name); "
                                         "default: File Name")
                            ->check(CLI::IsMember(headers, CLI::ignore_case));
    list->add_flag("--desc", options->Descending, "Sort in descending order")->needs(sort);
    list->add_flag("--natural", options->Natural,
                   "Numbers in names by their value (\"clip 2\" before \"clip 10\"), letters as the locale orders them")
        ->needs(sort);
    AddDriveFilter(list, options->OnDrive);
    AddFormatOption(list, options->OutputFormat);
    commands.Add(list, [options] { return ListFiles(*options); });

    AddSearchCommand(app, commands);
}
