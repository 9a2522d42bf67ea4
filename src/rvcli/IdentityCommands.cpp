// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/IdentityCommands.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>

#include "identity/Duplicates.h"
#include "identity/SingleCopies.h"
#include "identity/Verify.h"
#include "rvcli/Output.h"
#include "rvcli/TerminalHost.h"
#include "store/modSchema.h"

namespace {

struct IdentityOptions {
    std::string Catalogue;
    std::string Drive;  // "" for every drive
    int OlderThanDays = 0;
    bool UpdateChanged = false;
    bool AcceptDamaged = false;
    Format OutputFormat = Format::Table;
};

// The catalogue file and its drives, without the record sets: the duplicates of a million records
// are read in a second, where loading the sets takes ten. Nor is every page read first (another
// second): a damaged page these commands meet fails them with a sentence all the same.
struct Drives {
    clsSQLite Store;
    DriveSet Set;
};

std::string OpenDrives(Drives& drives, const std::string& path) {
    if (std::string error = OpenCatalogue(drives.Store, path, false); !error.empty()) return path + ": " + error;
    if (std::string error = drives.Set.LoadFromDatabase(drives.Store); !error.empty()) return path + ": " + error;
    drives.Set.SeeMounts(MountedVolumes::Read());
    return {};
}

// The copy's drive by name, and whether it is plugged in: "yes", "no", or "" while it is not known.
std::pair<std::string, std::string> DriveOf(const DriveSet& drives, int driveID) {
    const Drive* drive = drives.ByID(driveID);
    if (!drive) return {"", ""};
    return {drive->Name, drive->Plugged() ? "yes" : "no"};
}

std::string NotHashedNote(std::int64_t notHashed) {
    if (notHashed == 0) return {};
    return std::to_string(notHashed) + (notHashed == 1 ? " record is" : " records are") +
           " not hashed yet and left out: rvcli verify hashes them\n";
}

std::string Notes(const std::string& totals, const std::string& note, std::int64_t notHashed) {
    return totals + "\n" + (note.empty() ? "" : note + "\n") + NotHashedNote(notHashed);
}

nlohmann::ordered_json CopyJSON(const DriveSet& drives, const Copy& copy) {
    const auto [name, plugged] = DriveOf(drives, copy.DriveID);
    return {{"FileID", copy.FileID},
            {"FileName", copy.FileName},
            {"Drive", name.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(name)},
            {"PluggedIn", plugged.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(plugged == "yes")}};
}

std::string JSONText(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string TableText(const TextTable& table, Format format) {
    return format == Format::CSV ? RenderCSV(table) : RenderTable(table);
}

Reply ListDuplicates(const IdentityOptions& options) {
    Drives drives;
    if (std::string error = OpenDrives(drives, options.Catalogue); !error.empty()) return Failed(error);
    DuplicateReport report = FindDuplicates(drives.Store);
    if (!report.Error.empty()) return Failed(report.Error);
    const std::string notes = Notes(DuplicateTotals(report), report.Note, report.NotHashed);
    if (options.OutputFormat == Format::JSON) {
        nlohmann::ordered_json groups = nlohmann::ordered_json::array();
        for (const ContentGroup& group : report.Groups) {
            nlohmann::ordered_json copies = nlohmann::ordered_json::array();
            for (const Copy& copy : group.Copies) copies.push_back(CopyJSON(drives.Set, copy));
            groups.push_back({{"Size", group.Size}, {"Hash", group.Hash.Hex()}, {"Waste", group.Waste()}, {"Copies", copies}});
        }
        return {JSONText(groups), notes, {}};
    }
    // The hash tells the groups apart for a program; on a terminal the group's number does, in less room.
    const bool hash = options.OutputFormat == Format::CSV;
    TextTable table{{"Group", "Size"}, {true, true}, {}};
    if (hash) table.Headers.push_back("Hash"), table.RightAligned.push_back(false);
    table.Headers.insert(table.Headers.end(), {"Drive", "Plugged In", "FileID", "File Name"});
    table.RightAligned.insert(table.RightAligned.end(), {false, false, true, false});
    table.Rows.reserve(report.Groups.size() * 2);
    for (std::size_t i = 0; i < report.Groups.size(); ++i) {
        ContentGroup& group = report.Groups[i];
        for (Copy& copy : group.Copies) {
            auto [name, plugged] = DriveOf(drives.Set, copy.DriveID);
            std::vector<std::string>& row = table.Rows.emplace_back();
            row.reserve(table.Headers.size());
            row.push_back(std::to_string(i + 1));
            row.push_back(std::to_string(group.Size));
            if (hash) row.push_back(group.Hash.Hex());
            row.push_back(std::move(name));
            row.push_back(std::move(plugged));
            row.push_back(std::to_string(copy.FileID));
            row.push_back(std::move(copy.FileName));  // the report is not read again
        }
    }
    return {TableText(table, options.OutputFormat), notes, {}};
}

Reply ListSingleCopies(const IdentityOptions& options) {
    Drives drives;
    if (std::string error = OpenDrives(drives, options.Catalogue); !error.empty()) return Failed(error);
    std::optional<int> onDrive;
    if (!options.Drive.empty()) {
        const Drive* drive = drives.Set.ByName(options.Drive);
        if (!drive) return Failed("No drive named " + options.Drive);
        onDrive = drive->DriveID;
    }
    const SingleCopyReport report = FindSingleCopies(drives.Store, onDrive);
    if (!report.Error.empty()) return Failed(report.Error);
    const std::string notes = Notes(SingleCopyTotals(report), report.Note, report.NotHashed);
    if (options.OutputFormat == Format::JSON) {
        nlohmann::ordered_json copies = nlohmann::ordered_json::array();
        for (const SingleCopy& single : report.Copies) {
            nlohmann::ordered_json copy = CopyJSON(drives.Set, single.Of);
            copy["Size"] = single.Size;
            copy["Hash"] = single.Hash.Hex();
            copies.push_back(copy);
        }
        return {JSONText(copies), notes, {}};
    }
    TextTable table{{"Drive", "Plugged In", "Size", "Hash", "FileID", "File Name"}, {false, false, true, false, true}, {}};
    for (const SingleCopy& single : report.Copies) {
        const auto [name, plugged] = DriveOf(drives.Set, single.Of.DriveID);
        table.Rows.push_back({name, plugged, std::to_string(single.Size), single.Hash.Hex(), std::to_string(single.Of.FileID),
                              single.Of.FileName});
    }
    return {TableText(table, options.OutputFormat), notes, {}};
}

// The findings the user takes as the records' contents now.
std::vector<VerifyFinding> Accepted(const VerifyReport& report, const IdentityOptions& options) {
    std::vector<VerifyFinding> taken;
    for (const VerifyFinding& finding : report.Findings) {
        if (finding.Status == VerifyStatus::Changed ? options.UpdateChanged : options.AcceptDamaged) taken.push_back(finding);
    }
    return taken;
}

Reply RunVerify(const IdentityOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    VerifyRequest request{std::nullopt, options.OlderThanDays};
    if (!options.Drive.empty()) {
        const Drive* drive = catalogue.Drives.ByName(options.Drive);
        if (!drive) return Failed("No drive named " + options.Drive);
        if (!drive->Plugged()) return Failed("The drive " + options.Drive + " is not plugged in");
        request.DriveID = drive->DriveID;
    }
    VerifyReport report;
    ToolResult accepted;
    {
        TerminalHost host;
        report = Verify(catalogue, request, host);
        if (const std::vector<VerifyFinding> taken = Accepted(report, options); !taken.empty() && report.Result.Error.empty())
            accepted = AcceptContents(catalogue, taken, host);
    }
    Reply reply{VerifyTotals(report) + "\n", {}, report.Result.Error};
    if (!catalogue.OwnTables.Note.empty()) reply.Notes += catalogue.OwnTables.Note + "\n";
    if (report.NotDue > 0)
        reply.Output += std::to_string(report.NotDue) + " verified within " + std::to_string(options.OlderThanDays) + " days, left out\n";
    if (accepted.Changed > 0) reply.Output += std::to_string(accepted.Changed) + " records updated to their files' contents\n";
    if (reply.Error.empty()) reply.Error = accepted.Error;
    if (!report.Result.LogPath.empty()) reply.Output += "Log: " + report.Result.LogPath + "\n";
    if (report.Result.Cancelled && reply.Error.empty()) reply.Error = "Cancelled; what was verified before stays recorded";
    const int damaged = report.Count(VerifyStatus::Damaged);
    if (damaged > 0 && reply.Error.empty())
        reply.Error = std::to_string(damaged) + (damaged == 1 ? " file is" : " files are") + " damaged: see " + report.Result.LogPath;
    return reply;
}

CLI::App* AddCommand(CLI::App& app, const std::string& name, const std::string& what, IdentityOptions& options) {
    CLI::App* command = app.add_subcommand(name, what);
    command->add_option("CATALOGUE", options.Catalogue, "Catalogue file")->required();
    return command;
}

void AddFormat(CLI::App* command, Format& format) {
    command->add_option("--format", format, "Output: table (default), csv or json")
        ->type_name("FORMAT")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case).description(""));
}

}  // namespace

void AddIdentityCommands(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<IdentityOptions>();
    CLI::App* duplicates = AddCommand(app, "duplicates", "List records with the same contents, the biggest waste first", *options);
    duplicates->footer("Contents are compared by size and hash; records not hashed yet are left out (verify hashes them). "
                       "The totals go to standard error.");
    AddFormat(duplicates, options->OutputFormat);
    commands.Add(duplicates, [options] { return ListDuplicates(*options); });

    CLI::App* singles = AddCommand(app, "single-copies", "List records whose contents lie on no other drive", *options);
    singles->footer("What a drive that dies would take with it. A copy counts only on a known other drive. "
                    "The totals go to standard error.");
    singles->add_option("--drive", options->Drive, "Only the records of this drive, by name");
    AddFormat(singles, options->OutputFormat);
    commands.Add(singles, [options] { return ListSingleCopies(*options); });

    CLI::App* verify = AddCommand(app, "verify", "Read the files again and compare them with their hashes (log: verify.log)", *options);
    verify->footer("Exit status 1 when a file is damaged: other contents with the size and time it was hashed with. "
                   "Files of drives that are not plugged in are left alone. Ctrl+C stops; what was verified stays recorded.");
    verify->add_option("--drive", options->Drive, "Only the files of this drive, by name");
    verify->add_option("--older-than", options->OlderThanDays, "Only files not read for more than DAYS days")
        ->type_name("DAYS")
        ->check(CLI::NonNegativeNumber);
    verify->add_flag("--update-changed", options->UpdateChanged, "Give the records of edited files their new CRC, size and hash");
    verify->add_flag("--accept-damaged", options->AcceptDamaged,
                     "Take the contents of damaged files as they are now (their old hashes are lost)");
    commands.Add(verify, [options] { return RunVerify(*options); });
}
