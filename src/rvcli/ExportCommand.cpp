// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/ExportCommand.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "export/ExportRows.h"
#include "rvcli/SearchOptions.h"

namespace {

struct ExportOptions {
    std::string Catalogue;
    std::string Output;
    ExportFormat Format = ExportFormat::HTML;
    SearchOptions Search;
};

Reply ExportFiles(const ExportOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenExisting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    std::vector<const FileRecord*> records;
    if (AnySearchOption(options.Search)) {
        Searched found = SearchCatalogue(catalogue, options.Search);
        if (!found.Error.empty()) return Failed(found.Error);
        records = std::move(found.Files);
    } else {  // in file-name order, as list shows them
        for (const FileRecord& record : catalogue.Files.Records()) records.push_back(&record);
    }
    const ExportHeading heading{CatalogueName(options.Catalogue), ExportDateNow()};
    const std::string text = RenderExport(options.Format, heading, ExportRowsOf(catalogue, records));
    if (std::string error = WriteExport(options.Output, text); !error.empty()) return Failed(error);
    const char* files = records.size() == 1 ? " file" : " files";
    return {{}, std::to_string(records.size()) + files + " exported to " + options.Output + "\n", {}};
}

}  // namespace

void AddExportCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand(
        "export", "Write the files of the catalogue, or of a search, to a web page or a CSV file");
    command->footer("Without search options every file is written, in file-name order. The CSV holds the same text "
                    "as list --format csv; the web page needs no network and sorts and filters in the browser.");
    command->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    command->add_option("-o,--output", options->Output, "The file to write; replaced whole when it exists")
        ->required();
    const std::map<std::string, ExportFormat> formats = {{"html", ExportFormat::HTML}, {"csv", ExportFormat::CSV}};
    command->add_option("--format", options->Format, "html (default) or csv")
        ->type_name("FORMAT")
        ->transform(CLI::CheckedTransformer(formats, CLI::ignore_case).description(""));
    AddSearchOptions(command, options->Search);
    commands.Add(command, [options] { return ExportFiles(*options); });
}
