// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/FrameCommands.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <optional>

#include "frames/FramePass.h"
#include "rvcli/TerminalHost.h"
#include "store/OwnTables.h"
#include "store/modSchema.h"
#include "support/modAtomicFile.h"

namespace {

struct FrameOptions {
    std::string Catalogue;
    std::string File;  // a FileID or a path
    std::string Out;
};

// The catalogue file alone: frames need neither the record sets nor the drives, whose loading
// would take longer than a frame on a large catalogue. Our own tables are made where they may be.
std::string OpenFrames(clsSQLite& store, const std::string& path) {
    if (std::string error = OpenCatalogue(store, path, false); !error.empty()) return path + ": " + error;
    const OwnTablesStatus status = store.ReadOnly() ? ReadOwnTables(store) : MakeOwnTables(store);
    if (!status.Note.empty()) return path + ": " + status.Note;
    return {};
}

std::optional<int> AsFileID(const std::string& text) {
    int id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return id;
}

// The record the user named, by FileID or by its path: its FileID and path, or why not found.
std::string FindRecord(clsSQLite& store, const std::string& named, int& fileID, std::string& path) {
    const std::optional<int> id = AsFileID(named);
    std::string error = id ? store.Execute("SELECT FileID, FileName FROM tblFile WHERE FileID = ?1;", {*id})
                           : store.Execute("SELECT FileID, FileName FROM tblFile WHERE FileName = ?1;", {StoredPath(named)});
    if (!error.empty()) return error;
    if (store.RecordCount() == 0) return id ? "No record with FileID " + named : "No record of " + StoredPath(named);
    fileID = static_cast<int>(store.Field(0).AsInt());
    path = store.Field(1).AsText();
    return {};
}

std::unique_ptr<ThumbnailCache> DesktopCache() {
    const std::string root = ThumbnailCache::DesktopRoot();
    return root.empty() ? nullptr : std::make_unique<ThumbnailCache>(root);
}

Reply WriteFrame(const FrameOptions& options) {
    clsSQLite store;
    if (std::string error = OpenFrames(store, options.Catalogue); !error.empty()) return Failed(error);
    int fileID = 0;
    std::string path;
    if (std::string error = FindRecord(store, options.File, fileID, path); !error.empty()) return Failed(error);
    const auto cache = DesktopCache();
    const EnsuredFrame frame = EnsureFrame(store, cache.get(), fileID, path);
    if (!frame.Error.empty()) return Failed(options.Catalogue + ": " + frame.Error);
    if (!frame.Found) return Failed(frame.Reason.empty() ? "No frame of " + path : frame.Reason);
    Reply reply;
    if (!frame.Warning.empty()) reply.Notes += frame.Warning + "\n";
    reply.Error = WriteFileAtomically(options.Out, frame.Found->Jpeg);
    return reply;
}

std::string Totals(const FramePassResult& result) {
    return std::to_string(result.Made) + (result.Made == 1 ? " frame" : " frames") + " made, " +
           std::to_string(result.NoPicture) + " without a picture, " + std::to_string(result.Failed) + " not readable\n";
}

Reply MakeFrames(const FrameOptions& options) {
    clsSQLite store;
    if (std::string error = OpenFrames(store, options.Catalogue); !error.empty()) return Failed(error);
    if (store.ReadOnly()) return Failed("The catalogue is read-only: " + options.Catalogue);
    if (!ReadOwnTables(store).Usable()) return Failed(options.Catalogue + ": Reelvault's own tables cannot be written here");
    const auto cache = DesktopCache();
    Reply reply;
    FramePassResult result;
    {
        TerminalHost host;
        const FramePassHost frames{[&](int done, int total, const std::string& current) { return host.Progress(done, total, current); },
                                   nullptr, [&](const std::string& line) { reply.Notes += line + "\n"; }};
        result = MakeMissingFrames(store, cache.get(), frames);
    }
    reply.Output = Totals(result);
    reply.Error = result.Error;
    if (result.Cancelled && reply.Error.empty()) reply.Error = "Cancelled; the frames made before stay stored";
    return reply;
}

}  // namespace

void AddFrameCommands(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<FrameOptions>();
    CLI::App* frame = app.add_subcommand("frame", "Write a record's frame as a JPEG, making it first when it is missing");
    frame->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    frame->add_option("FILE", options->File, "The record: its FileID or its file's path")->required();
    frame->add_option("-o,--output", options->Out, "The JPEG file to write")->required();
    commands.Add(frame, [options] { return WriteFrame(*options); });

    auto all = std::make_shared<FrameOptions>();
    CLI::App* frames = app.add_subcommand("frames", "Make the frames the catalogue's records lack (progress on standard error)");
    frames->add_option("CATALOGUE", all->Catalogue, "Catalogue file")->required();
    commands.Add(frames, [all] { return MakeFrames(*all); });
}
