// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/VocabularyCommands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <memory>

#include "model/modCatalogue.h"
#include "rvcli/Output.h"
#include "listing/ListRow.h"

namespace {

struct VocabularyOptions {
    std::string Catalogue;
    std::string Name;  // a category's name or a type's description
    std::vector<std::string> Extensions;
    std::string App;
    CLI::Option* AppGiven = nullptr;
};

Reply ListCategories(const std::string& path) {
    Catalogue catalogue;
    if (std::string error = OpenExisting(catalogue, path); !error.empty()) return Failed(error);
    Reply reply;
    for (bool more = catalogue.Categories.MoveFirst(); more; more = catalogue.Categories.MoveNext())
        reply.Output += Printable(catalogue.Categories.Category()) + "\n";
    return reply;
}

Reply ChangeCategory(const VocabularyOptions& options, bool add) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    if (options.Name.empty()) return Failed("A category needs a name");
    const Outcome outcome = add ? AddCategory(catalogue, options.Name) : DeleteCategory(catalogue, options.Name);
    if (!outcome.Error.empty()) return Failed(outcome.Error);
    if (!outcome.Done) return Failed(add ? "Category already exists: " + options.Name : "No category named " + options.Name);
    return {};
}

Reply ListTypes(const std::string& path) {
    Catalogue catalogue;
    if (std::string error = OpenExisting(catalogue, path); !error.empty()) return Failed(error);
    TextTable table{{"Description", "Extensions", "External Application"}, {}, {}};
    clsFileType& types = catalogue.FileTypes;
    for (bool more = types.MoveFirst(); more; more = types.MoveNext()) {
        std::vector<std::string> extensions;
        for (int i = 0; i < types.ExtensionCount(); ++i) extensions.push_back(types.Extension(i));
        table.Rows.push_back({types.FileType(), KeywordText(extensions), types.ExternalApp()});
    }
    return {RenderTable(table), {}, {}};
}

Reply SaveType(const VocabularyOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    if (options.Name.empty()) return Failed("Enter a description for this file type");
    std::vector<std::string> extensions;
    std::transform(options.Extensions.begin(), options.Extensions.end(), std::back_inserter(extensions), NormalExtension);
    clsFileType& types = catalogue.FileTypes;
    const bool exists = types.GotoFileType(options.Name);
    // Saving the extensions of a type must not lose the application it names.
    const std::string app = options.AppGiven->count() > 0 ? options.App : exists ? types.ExternalApp() : "";
    return Quiet(SaveFileType(catalogue, exists ? types.FileTypeID() : -1, options.Name, app, extensions).Error);
}

// The files of the type lose it; the extension texts stay for other types to use.
Reply DeleteType(const VocabularyOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    if (!catalogue.FileTypes.GotoFileType(options.Name)) return Failed("No file type named " + options.Name);
    return Quiet(DeleteFileType(catalogue, catalogue.FileTypes.FileTypeID()));
}

CLI::App* AddVocabularyCommand(CLI::App& app, const std::string& name, const std::string& what, VocabularyOptions& options) {
    CLI::App* command = app.add_subcommand(name, what);
    command->add_option("CATALOGUE", options.Catalogue, "Catalogue file")->required();
    command->require_subcommand(1);
    return command;
}

void AddCategoryCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<VocabularyOptions>();
    CLI::App* category = AddVocabularyCommand(app, "category", "List, add or delete categories", *options);
    commands.Add(category->add_subcommand("list", "List the categories by name"),
                 [options] { return ListCategories(options->Catalogue); });
    CLI::App* add = category->add_subcommand("add", "Add a category");
    add->add_option("NAME", options->Name, "Name of the new category")->required();
    commands.Add(add, [options] { return ChangeCategory(*options, true); });
    CLI::App* remove = category->add_subcommand("delete", "Delete a category; its files keep no category");
    remove->add_option("NAME", options->Name, "Name of the category")->required();
    commands.Add(remove, [options] { return ChangeCategory(*options, false); });
}

void AddTypeCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<VocabularyOptions>();
    CLI::App* type = AddVocabularyCommand(app, "type", "List, save or delete file types", *options);
    commands.Add(type->add_subcommand("list", "List the file types with their extensions and applications"),
                 [options] { return ListTypes(options->Catalogue); });
    CLI::App* save = type->add_subcommand(
        "save", "Create a file type, or update the one with exactly this description: its extensions are replaced");
    save->add_option("DESCRIPTION", options->Name, "The type's description")->required();
    save->add_option("--ext", options->Extensions, "Its extensions (\".MP3\" is kept as mp3)")->required();
    options->AppGiven = save->add_option("--app", options->App, "Application that plays its files (\"\" for none)");
    commands.Add(save, [options] { return SaveType(*options); });
    CLI::App* remove = type->add_subcommand("delete", "Delete a file type; its files keep no type");
    remove->add_option("DESCRIPTION", options->Name, "The type's description")->required();
    commands.Add(remove, [options] { return DeleteType(*options); });
}

}  // namespace

std::string NormalExtension(const std::string& text) {
    std::string extension = text.substr(text.find_last_of('.') == std::string::npos ? 0 : text.find_last_of('.') + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return extension;
}

void AddVocabularyCommands(CLI::App& app, Commands& commands) {
    AddCategoryCommand(app, commands);
    AddTypeCommand(app, commands);
}
