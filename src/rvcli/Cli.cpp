// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/Cli.h"

#include <CLI/CLI.hpp>

#include "analysis/modMediaInfo.h"
#include "rvcli/CheckCommand.h"
#include "rvcli/DriveCommands.h"
#include "rvcli/ExportCommand.h"
#include "rvcli/FileCommands.h"
#include "rvcli/FrameCommands.h"
#include "rvcli/IdentityCommands.h"
#include "rvcli/ListCommands.h"
#include "rvcli/RecordCommands.h"
#include "rvcli/RefreshCommand.h"
#include "rvcli/ToolCommands.h"
#include "rvcli/VocabularyCommands.h"
#include "support/Version.h"

namespace {

// Whatever the command, files it took as not media because FFmpeg could not be loaded are
// explained once, among its notes.
Reply WithMediaNotice(Reply reply) {
    if (const std::string notice = TakeMediaNotice(); !notice.empty()) reply.Notes += notice + "\n";
    return reply;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
    CLI::App app{"Reelvault: a catalogue of your multimedia files, from the command line.\n"
                 "Every command but new works on an existing catalogue file and never creates one.",
                 "rvcli"};
    app.set_version_flag("--version", "rvcli " + VersionNumber());
    app.require_subcommand(1);
    app.footer("Exit status: 0 success, 1 the command failed, 2 wrong usage.\n"
               "Settings (rv.ini) and the tools' logs are in $XDG_CONFIG_HOME/reelvault/ or ~/.config/reelvault/.");

    Commands commands;
    AddRecordCommands(app, commands);
    AddListCommands(app, commands);
    AddExportCommand(app, commands);
    AddVocabularyCommands(app, commands);
    AddToolCommands(app, commands);
    AddDriveCommands(app, commands);
    AddFileCommands(app, commands);
    AddCheckCommand(app, commands);
    AddIdentityCommands(app, commands);
    AddFrameCommands(app, commands);
    AddRefreshCommand(app, commands);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : 2;  // prints the help, the version or the complaint
    }
    const Commands::Action* action = commands.Chosen();
    if (action == nullptr) return 2;  // the parser requires a command; this is not reached
    try {
        return Deliver(WithMediaNotice((*action)()));
    } catch (const std::exception& error) {  // out of memory and the like: still one line and no trace
        return Deliver(Failed(error.what()));
    }
}
