// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/DriveCommands.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>

#include "drives/DriveLinks.h"
#include "rvcli/Output.h"
#include "rvcli/TerminalHost.h"
#include "tools/ForgetDrive.h"
#include "tools/RebindDrive.h"

namespace {

struct DriveOptions {
    std::string Catalogue;
    std::string Name;
    std::string NewName;  // rename's
    std::string To;       // rebind's
    bool Yes = false;     // forget's
    Format OutputFormat = Format::Table;
};

constexpr const char* kNotPluggedIn = "not plugged in";

struct DriveTotals {
    int Records = 0;
    std::int64_t Bytes = 0;
};

std::map<int, DriveTotals> TotalsByDrive(const Catalogue& catalogue) {
    std::map<int, DriveTotals> totals;
    for (const FileRecord& record : catalogue.Files.Records()) {
        DriveTotals& drive = totals[record.DriveID];
        ++drive.Records;
        drive.Bytes += record.Size;
    }
    return totals;
}

std::string PlaceText(const Drive& drive) {
    if (!drive.Plugged()) return kNotPluggedIn;
    return drive.Place().empty() ? "a folder of it is mounted" : drive.Place();
}

TextTable DriveTable(const Catalogue& catalogue) {
    TextTable table{{"Name", "Label", "Identity", "Type", "Size", "Mount Point", "Records", "Records' Size"},
                    {false, false, false, false, true, false, true, true},
                    {}};
    const auto totals = TotalsByDrive(catalogue);
    for (const Drive& drive : catalogue.Drives.All()) {
        const auto found = totals.find(drive.DriveID);
        const DriveTotals held = found == totals.end() ? DriveTotals{} : found->second;
        table.Rows.push_back({drive.Name, drive.Label, drive.Identity, drive.FSType, std::to_string(drive.Size),
                              PlaceText(drive), std::to_string(held.Records), std::to_string(held.Bytes)});
    }
    return table;
}

std::string DriveJSON(const Catalogue& catalogue) {
    nlohmann::ordered_json drives = nlohmann::ordered_json::array();
    const auto totals = TotalsByDrive(catalogue);
    for (const Drive& drive : catalogue.Drives.All()) {
        const auto found = totals.find(drive.DriveID);
        const DriveTotals held = found == totals.end() ? DriveTotals{} : found->second;
        drives.push_back({{"Name", drive.Name},       {"Label", drive.Label},       {"Identity", drive.Identity},
                          {"Type", drive.FSType},     {"Size", drive.Size},         {"PluggedIn", drive.Plugged()},
                          {"MountedAt", drive.Places}, {"LastMountPoint", drive.MountPoint},
                          {"Records", held.Records},  {"RecordsSize", held.Bytes},   {"ToRepoint", RecordsToRepoint(catalogue, drive)},
                          {"Cloned", drive.Cloned}});
    }
    return drives.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// What the person should know of the drives beyond the table: records to re-point, clones.
std::string DriveNotes(const Catalogue& catalogue, const std::string& path) {
    std::string notes;
    for (const Drive& drive : catalogue.Drives.All()) {
        if (drive.Cloned) notes += drive.Name + ": two devices that claim to be this drive are plugged in\n";
        if (const int records = RecordsToRepoint(catalogue, drive); records > 0)
            notes += drive.Name + " is mounted at " + drive.Place() + ": re-point its " + std::to_string(records) +
                     " records with: rvcli drive " + path + " rebind " + drive.Name + "\n";
    }
    return notes;
}

Reply ListDrives(const DriveOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenExisting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    std::string output;
    switch (options.OutputFormat) {
    case Format::JSON: output = DriveJSON(catalogue); break;
    case Format::CSV: output = RenderCSV(DriveTable(catalogue)); break;
    case Format::Table: output = RenderTable(DriveTable(catalogue)); break;
    }
    return {output, DriveNotes(catalogue, options.Catalogue), {}};
}

Reply Rename(const DriveOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    return Quiet(RenameDrive(catalogue.Store, catalogue.Drives, options.Name, options.NewName));
}

Reply Rebind(const DriveOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    ToolResult result;
    {
        TerminalHost host;
        result = RebindDrive(catalogue, options.Name, options.To.empty() ? "" : StoredPath(options.To), host);
    }
    if (!result.Error.empty()) return Failed(result.Error);
    if (result.Cancelled) return Failed("Cancelled; nothing was changed");
    std::string output = std::to_string(result.Changed) + " records re-pointed\n";
    if (!result.LogPath.empty()) output += "Log: " + result.LogPath + "\n";
    return {output, {}, {}};
}

Reply Forget(const DriveOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    const Drive* drive = catalogue.Drives.ByName(options.Name);
    if (!drive) return Failed("No drive named " + options.Name);
    if (!options.Yes)
        return Failed("Forgetting " + options.Name + " deletes its " + std::to_string(RecordsOnDrive(catalogue, drive->DriveID)) +
                      " records from the catalogue (not the files); add --yes to do it");
    ToolResult result;
    {
        TerminalHost host;
        result = ForgetDrive(catalogue, options.Name, host);
    }
    if (!result.Error.empty()) return Failed(result.Error);
    if (result.Cancelled) return Failed("Cancelled; nothing was changed");
    return {std::to_string(result.Changed) + " records deleted\n", {}, {}};
}

void AddDriveSubcommands(CLI::App* drive, Commands& commands, const std::shared_ptr<DriveOptions>& options) {
    CLI::App* rename = drive->add_subcommand("rename", "Give a drive another name");
    rename->add_option("NAME", options->Name, "The drive's name")->required();
    rename->add_option("NEWNAME", options->NewName, "Its new name")->required();
    commands.Add(rename, [options] { return Rename(*options); });

    CLI::App* rebind = drive->add_subcommand("rebind", "Re-point the records of a drive mounted elsewhere (log: rebind.log)");
    rebind->add_option("NAME", options->Name, "The drive's name")->required();
    rebind->add_option("--to", options->To, "The mount point to re-point to (default: where it is mounted now)")
        ->type_name("MOUNTPOINT");
    rebind->footer("Each record's path becomes the mount point followed by its path inside the drive, all records in "
                   "one step. Re-pointing to the old place again undoes it.");
    commands.Add(rebind, [options] { return Rebind(*options); });

    CLI::App* forget = drive->add_subcommand("forget", "Delete a drive's records from the catalogue (the files stay)");
    forget->add_option("NAME", options->Name, "The drive's name")->required();
    forget->add_flag("--yes", options->Yes, "Do it; without it the number of records is only told");
    commands.Add(forget, [options] { return Forget(*options); });
}

}  // namespace

void AddDriveCommands(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<DriveOptions>();
    CLI::App* drives = app.add_subcommand("drives", "List the drives the records lie on, and where each is mounted");
    drives->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    drives->add_option("--format", options->OutputFormat, "Output: table (default), csv or json")
        ->type_name("FORMAT")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case).description(""));
    commands.Add(drives, [options] { return ListDrives(*options); });

    CLI::App* drive = app.add_subcommand("drive", "Rename, re-point or forget one drive");
    drive->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    drive->require_subcommand(1);
    AddDriveSubcommands(drive, commands, options);
}

void AddDriveFilter(CLI::App* command, DriveFilter& filter) {
    command->add_option("--drive", filter.Drive, "Only the files on this drive, by its name");
    CLI::Option* in = command->add_flag("--plugged-in", filter.PluggedIn, "Only the files whose drive is plugged in");
    command->add_flag("--not-plugged-in", filter.NotPluggedIn, "Only the files whose drive is not plugged in")->excludes(in);
}

DriveChoice ChooseDrive(const Catalogue& catalogue, const DriveFilter& filter) {
    DriveChoice choice;
    if (!filter.Drive.empty()) {
        const Drive* drive = catalogue.Drives.ByName(filter.Drive);
        if (!drive) return {{}, {}, "No drive named " + filter.Drive};
        choice.DriveID = drive->DriveID;
    }
    if (filter.PluggedIn || filter.NotPluggedIn) choice.PluggedIn = filter.PluggedIn;
    return choice;
}
