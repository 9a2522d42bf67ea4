// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/RefreshCommand.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "refresh/RefreshApply.h"
#include "rvcli/Output.h"
#include "rvcli/TerminalHost.h"

namespace {

struct RefreshOptions {
    std::string Catalogue;
    std::vector<std::string> Folders;
    std::string Drive;
    std::string Pattern;
    bool Apply = false;
    bool DryRun = false;
    std::string Kinds = "new,moved,changed,missing";
    Format OutputFormat = Format::Table;
};

// The kinds named in a "," list; error names the first it does not know.
std::set<RefreshKind> ParseKinds(const std::string& text, std::string& error) {
    std::set<RefreshKind> kinds;
    std::stringstream list(text);
    for (std::string name; std::getline(list, name, ',');) {
        const std::optional<RefreshKind> kind = KindNamed(name);
        if (!kind || *kind == RefreshKind::Unchanged || *kind == RefreshKind::Unreadable || *kind == RefreshKind::Ambiguous) {
            error = "Unknown kind \"" + name + "\": choose among new, moved, changed, missing";
            return {};
        }
        kinds.insert(*kind);
    }
    return kinds;
}

// Rows worth showing: those of the chosen kinds, and the ones that need the person's eye.
bool Shown(const PlanRow& row, const std::set<RefreshKind>& kinds) {
    return kinds.contains(row.Kind) || row.Kind == RefreshKind::Unreadable || row.Kind == RefreshKind::Ambiguous;
}

std::string FileIDText(int id) { return id < 0 ? "" : std::to_string(id); }

TextTable PlanTable(const RefreshPlan& plan, const std::set<RefreshKind>& kinds) {
    TextTable table{{"Kind", "FileID", "Path", "New Path", "Note"}, {false, true, false, false, false}, {}};
    for (const PlanRow& row : plan.Rows) {
        if (Shown(row, kinds)) table.Rows.push_back({KindName(row.Kind), FileIDText(row.FileID), row.OldPath, row.NewPath, row.Note});
    }
    return table;
}

std::string PlanJSON(const RefreshPlan& plan, const std::set<RefreshKind>& kinds) {
    nlohmann::ordered_json counts = nlohmann::ordered_json::object();
    for (const RefreshKind kind : kRefreshKinds) counts[KindName(kind)] = plan.Count(kind);
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const PlanRow& row : plan.Rows) {
        if (!Shown(row, kinds)) continue;
        rows.push_back({{"Kind", KindName(row.Kind)},
                        {"FileID", row.FileID < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(row.FileID)},
                        {"Path", row.OldPath},
                        {"NewPath", row.NewPath},
                        {"Note", row.Note}});
    }
    const nlohmann::ordered_json json = {{"Roots", plan.Roots}, {"Counts", counts},         {"Rows", rows},
                                         {"HardLinks", plan.HardLinks}, {"DriveAway", plan.DriveAway}, {"BytesRead", plan.BytesRead}};
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string PlanNotes(const RefreshPlan& plan) {
    std::string notes;
    for (const RefreshKind kind : kRefreshKinds) notes += std::to_string(plan.Count(kind)) + " " + KindName(kind) + "\n";
    for (const std::string& link : plan.HardLinks) notes += "Hard link, catalogued once: " + link + "\n";
    if (plan.DriveAway > 0) notes += std::to_string(plan.DriveAway) + " records left out: their drive is not plugged in\n";
    notes += std::to_string(plan.BytesRead) + " bytes read\n";
    return notes;
}

std::string RenderPlan(const RefreshPlan& plan, const std::set<RefreshKind>& kinds, Format format) {
    switch (format) {
    case Format::JSON: return PlanJSON(plan, kinds);
    case Format::CSV: return RenderCSV(PlanTable(plan, kinds));
    case Format::Table: break;
    }
    return RenderTable(PlanTable(plan, kinds));
}

Reply Refresh(const RefreshOptions& options) {
    std::string error;
    const std::set<RefreshKind> kinds = ParseKinds(options.Kinds, error);
    if (!error.empty()) return Failed(error);
    if (options.Folders.empty() == options.Drive.empty()) return Failed("Name the folders to refresh, or else one drive with --drive");
    Catalogue catalogue;
    error = options.Apply ? OpenForWriting(catalogue, options.Catalogue) : OpenExisting(catalogue, options.Catalogue);
    if (!error.empty()) return Failed(error);
    RefreshRequest request{{}, options.Drive, options.Pattern, {}};
    for (const std::string& folder : options.Folders) request.Folders.push_back(StoredPath(folder));
    TerminalHost host;
    RefreshPlan plan = MakeRefreshPlan(catalogue, request, host);
    if (plan.Cancelled) return Failed("Cancelled; nothing was changed");
    if (!plan.Error.empty()) return Failed(plan.Error);
    if (!options.Apply) return {RenderPlan(plan, kinds, options.OutputFormat), PlanNotes(plan), {}};
    for (PlanRow& row : plan.Rows) row.Ticked = row.Ticked && kinds.contains(row.Kind);
    const ToolResult result = ApplyRefresh(catalogue, plan, host);
    Reply reply{std::to_string(result.Changed) + " rows applied\n" + std::to_string(result.Skipped) +
                    " rows skipped: they no longer held (see the log)\n",
                PlanNotes(plan), result.Error};
    if (!result.LogPath.empty()) reply.Output += "Log: " + result.LogPath + "\n";
    if (result.Cancelled && reply.Error.empty()) reply.Error = "Cancelled; what was applied before stays applied";
    return reply;
}

}  // namespace

void AddRefreshCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<RefreshOptions>();
    CLI::App* refresh = app.add_subcommand(
        "refresh", "Show what changed under folders or on a drive: new, moved, changed and missing files; --apply carries it out (log: refresh.log)");
    refresh->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    refresh->add_option("FOLDER", options->Folders, "Folders to refresh (with their sub-folders)");
    refresh->add_option("--drive", options->Drive, "Refresh the whole drive of this name instead");
    refresh->add_option("--pattern", options->Pattern,
                        "Which files not catalogued are new: \"*.mkv;*.avi\" (default: the extensions of the file types)");
    CLI::Option* dryRun = refresh->add_flag("--dry-run", options->DryRun, "Print the plan and change nothing (the default)");
    refresh->add_flag("--apply", options->Apply, "Carry out the plan")->excludes(dryRun);
    refresh->add_option("--kinds", options->Kinds, "Only these kinds, for the plan printed and for --apply")->capture_default_str();
    refresh->add_option("--format", options->OutputFormat, "Format of the plan: table, csv or json")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case));
    refresh->footer("Unchanged files are not opened. Records whose drive is not plugged in are never taken as missing. "
                    "Ctrl+C stops --apply; the rows applied until then stay.");
    commands.Add(refresh, [options] { return Refresh(*options); });
}
