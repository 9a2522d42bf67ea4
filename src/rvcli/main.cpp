// SPDX-License-Identifier: GPL-3.0-or-later
// rvcli: the catalogue from the command line.
#include <CLI/CLI.hpp>

#include <iostream>

#include "store/clsSQLite.h"
#include "store/modSchema.h"

namespace {

int Fail(const std::string& message) {
    std::cerr << message << "\n";
    return 1;
}

int NewCatalogue(const std::string& path) {
    clsSQLite store;
    if (std::string error = CreateNewDatabase(store, path); !error.empty()) return Fail(error);
    std::cout << "Created " << path << "\n";
    return 0;
}

int ListCatalogue(const std::string& path) {
    if (const CatalogueCheck check = IsCatalogue(path); !check) return Fail(path + ": " + check.Reason);
    clsSQLite store;
    if (std::string error = store.OpenDB(path); !error.empty()) return Fail(error);
    if (std::string error = store.Execute("SELECT FileID, FileName, Title FROM tblFile ORDER BY FileName;");
        !error.empty())
        return Fail(error);
    for (int row = 0; row < store.RecordCount(); ++row, store.MoveNext()) {
        std::cout << store.Field(0).AsText() << "\t" << store.Field(1).AsText() << "\t"
                  << store.Field(2).AsText() << "\n";
    }
    std::cerr << store.RecordCount() << " files\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Reelvault: a catalogue of your multimedia files"};
    app.set_version_flag("--version", std::string("rvcli ") + RV_VERSION);
    app.require_subcommand(1);

    std::string catalogue;
    CLI::App* create = app.add_subcommand("new", "Create an empty catalogue");
    create->add_option("CATALOGUE", catalogue, "Path of the new catalogue file")->required();
    CLI::App* list = app.add_subcommand("list", "List the files of a catalogue");
    list->add_option("CATALOGUE", catalogue, "Path of the catalogue file")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);  // prints help, the version or the complaint
        return code == 0 ? 0 : 2;
    }
    if (create->parsed()) return NewCatalogue(catalogue);
    return ListCatalogue(catalogue);
}
