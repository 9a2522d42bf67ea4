// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/ToolCommands.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "rvcli/Output.h"
#include "rvcli/TerminalHost.h"
#include "tools/DetectFileTypes.h"
#include "tools/DetectMovedFiles.h"
#include "tools/FindReplace.h"
#include "tools/LoadDirectory.h"
#include "tools/ReadMediaFacts.h"
#include "tools/RemoveMissingFiles.h"

namespace {

struct ToolOptions {
    std::string Catalogue;
    std::string Folder;
    std::string Pattern;  // for load; the text to find for replace
    std::string Replacement;
    bool Recursive = false;
    bool CRC = false;
    bool NoCRC = false;
    bool Rehash = false;
};

using Tool = std::function<ToolResult(Catalogue&, TerminalHost&)>;
using Totals = std::function<std::string(const ToolResult&)>;

// Runs a tool on the catalogue and reports its totals, also when it was cancelled or stopped by an
// error part of the way: what it committed by then stays, and the user must learn how much that is.
// A tool that failed before it changed anything reports only why.
Reply RunTool(const std::string& path, const Tool& tool, const Totals& totals, std::string notes = {}) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, path); !error.empty()) return Failed(error);
    ToolResult result;
    {
        TerminalHost host;  // its progress line is wiped before the totals are printed
        result = tool(catalogue, host);
    }
    if (!result.Error.empty() && result.Changed == 0 && !result.Cancelled) return Failed(result.Error);
    Reply reply{totals(result), std::move(notes), result.Error};
    if (!result.LogPath.empty()) reply.Output += "Log: " + result.LogPath + "\n";
    if (result.Cancelled && reply.Error.empty()) reply.Error = "Cancelled; what was done before stays done";
    return reply;
}

std::string Count(int number, const std::string& what) { return std::to_string(number) + " " + what + "\n"; }

// The tools themselves refuse a folder they cannot use: refused here first, a run would leave the
// log of an earlier one standing as if it were its own.
Reply Load(const ToolOptions& options) {
    const std::string folder = StoredPath(options.Folder);
    std::string notes;
    const LoadDirectoryRequest request{folder, options.Pattern, options.Recursive, WantCRC(options.CRC, options.NoCRC, notes),
                                       options.Rehash};
    return RunTool(
        options.Catalogue, [&](Catalogue& catalogue, TerminalHost& host) { return LoadDirectory(catalogue, request, host); },
        [](const ToolResult& result) {
            return Count(result.Changed, "files added") + Count(result.Skipped, "possible duplicates not added") +
                   Count(result.Unreadable, "files could not be read");
        },
        notes);
}

Reply DetectMoved(const ToolOptions& options) {
    const std::string folder = StoredPath(options.Folder);
    return RunTool(
        options.Catalogue, [&](Catalogue& catalogue, TerminalHost& host) { return DetectMovedFiles(catalogue, folder, host); },
        [](const ToolResult& result) {
            return Count(result.Changed, "records re-pointed") +
                   Count(result.Skipped, "records not moved: see the log");
        });
}

CLI::App* AddToolCommand(CLI::App& app, const std::string& name, const std::string& what, ToolOptions& options) {
    CLI::App* command = app.add_subcommand(name, what);
    command->add_option("CATALOGUE", options.Catalogue, "Catalogue file")->required();
    return command;
}

void AddLoadCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<ToolOptions>();
    CLI::App* load = AddToolCommand(app, "load",
                                    "Catalogue the files of a folder that match a pattern (log: load.log)",
                                    *options);
    load->footer("Files catalogued already, by path or (with CRCs) by contents, are skipped. Ctrl+C stops the load; "
                 "the files added until then stay.");
    load->add_option("FOLDER", options->Folder, "Folder to load")->required();
    load->add_option("PATTERN", options->Pattern, "File names to load: \"*.avi\", or several: \"*.mp3;*.flac\"")->required();
    load->add_flag("--recursive", options->Recursive, "Load the sub-folders too");
    CLI::Option* crc = load->add_flag("--crc", options->CRC, "Calculate CRCs");
    load->add_flag("--no-crc", options->NoCRC, "Do not calculate CRCs (default: AutoCalculateCRC of rv.ini)")->excludes(crc);
    load->add_flag("--rehash", options->Rehash,
                   "With CRCs, read catalogued files again for their hashes even when their size and time are unchanged");
    commands.Add(load, [options] { return Load(*options); });
}

void AddMaintenanceCommands(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<ToolOptions>();
    commands.Add(AddToolCommand(app, "remove-missing",
                                "Delete the records of files that are gone (log: delete.log)",
                                *options),
                 [options] {
                     return RunTool(options->Catalogue, RemoveMissingFiles, [](const ToolResult& result) {
                         return Count(result.Changed, "records of missing files deleted") +
                                Count(result.DriveAway, "records kept: their drive is not plugged in") +
                                Count(result.Skipped, "records kept: their folder is out of reach");
                     });
                 });
    commands.Add(AddToolCommand(app, "detect-types", "Set every record's file type again from its extension", *options),
                 [options] {
                     return RunTool(options->Catalogue, DetectFileTypes,
                                    [](const ToolResult& result) { return Count(result.Changed, "records given a new file type"); });
                 });
    CLI::App* moved = AddToolCommand(
        app, "detect-moved", "Re-point the records of files moved into FOLDER (log: move.log)", *options);
    moved->add_option("FOLDER", options->Folder, "The folder the files were moved to")->required();
    commands.Add(moved, [options] { return DetectMoved(*options); });
}

void AddReplaceCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<ToolOptions>();
    CLI::App* replace = AddToolCommand(app, "replace", "Replace text in the stored paths of all records (case-sensitive)", *options);
    replace->add_option("FIND", options->Pattern, "Text to find")->required();
    replace->add_option("REPLACE", options->Replacement, "Text to put in its place")->required();
    commands.Add(replace, [options] {
        return RunTool(
            options->Catalogue,
            [&](Catalogue& catalogue, TerminalHost& host) {
                return FindReplace(catalogue, options->Pattern, options->Replacement, host);
            },
            [](const ToolResult& result) { return Count(result.Changed, "records changed"); });
    });
}

struct FactsOptions {
    std::string Catalogue;
    int FileID = 0;
    CLI::Option* OneFile = nullptr;
    bool Refresh = false;
};

Reply PrintFacts(const FactsOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenExisting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    FactSet facts;
    if (std::string error = facts.LoadFromDatabase(catalogue.Store, catalogue.Files); !error.empty()) return Failed(error);
    std::vector<const FileRecord*> records;
    if (options.OneFile->count() > 0) {
        if (!catalogue.Files.GotoFileID(options.FileID))
            return Failed("No record with FileID " + std::to_string(options.FileID));
        records.push_back(catalogue.Files.Current());
    } else {
        for (const FileRecord& record : catalogue.Files.Records())
            if (facts.Of(record.FileID)) records.push_back(&record);
    }
    return {RenderFacts(MakeFileRows(catalogue, records, &facts)), {}, {}};
}

void AddFactsCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<FactsOptions>();
    CLI::App* facts = app.add_subcommand("facts", "Print the media facts of records as JSON, or read them again (log: facts.log)");
    facts->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    options->OneFile = facts->add_option("FILEID", options->FileID, "Only this record (default: every record with facts)");
    facts->add_flag("--refresh", options->Refresh,
                    "Read the facts of every record's file again, for records made before facts were kept")
        ->excludes(options->OneFile);
    facts->footer("Ctrl+C stops --refresh; the facts read until then stay. Files that cannot be read keep their facts.");
    commands.Add(facts, [options] {
        if (!options->Refresh) return PrintFacts(*options);
        return RunTool(options->Catalogue, ReadMediaFacts, [](const ToolResult& result) {
            return Count(result.Changed, "records' media facts read again") +
                   Count(result.Skipped, "files could not be read; their facts are kept");
        });
    });
}

}  // namespace

void AddToolCommands(CLI::App& app, Commands& commands) {
    AddLoadCommand(app, commands);
    AddFactsCommand(app, commands);
    AddMaintenanceCommands(app, commands);
    AddReplaceCommand(app, commands);
}
