// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/Session.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "store/modSchema.h"
#include "support/modSettings.h"

int Deliver(const Reply& reply) {
    std::cout << reply.Output << std::flush;
    const bool written = static_cast<bool>(std::cout);
    std::cerr << reply.Notes;
    if (!reply.Error.empty()) std::cerr << reply.Error << "\n";
    if (!written) std::cerr << "Could not write the output\n";
    return reply.Error.empty() && written ? 0 : 1;
}

const Commands::Action* Commands::Chosen() const {
    for (const auto& [command, action] : actions_) {
        if (command->parsed()) return &action;
    }
    return nullptr;
}

std::string OpenExisting(Catalogue& catalogue, const std::string& path) {
    if (std::string error = OpenCatalogue(catalogue.Store, path); !error.empty()) return path + ": " + error;
    if (std::string error = catalogue.Reload(); !error.empty()) return path + ": " + error;
    // Said as the catalogue opens, before whatever the command goes on to print.
    if (!catalogue.OwnTables.Note.empty()) std::cerr << path << ": " << catalogue.OwnTables.Note << "\n";
    return {};
}

std::string OpenForWriting(Catalogue& catalogue, const std::string& path) {
    if (std::string error = OpenExisting(catalogue, path); !error.empty()) return error;
    return catalogue.Store.ReadOnly() ? "The catalogue is read-only: " + path : "";
}

std::string StoredPath(const std::string& path) {
    if (path.empty()) return path;  // not the current folder
    std::error_code ignored;
    const std::filesystem::path whole = std::filesystem::absolute(path, ignored);
    std::string normal = whole.lexically_normal().string();
    // "/media/films/." becomes "/media/films/"; a folder is stored without its last slash. A
    // path of slashes alone ("///") is left whole by lexically_normal, and is the root all the same.
    while (normal.size() > 1 && normal.ends_with('/')) normal.pop_back();
    return normal;
}

bool WantCRC(bool crc, bool noCRC, std::string& warning) {
    if (crc || noCRC) return crc;
    clsINIParse ini;
    Settings settings;
    if (std::string error = LoadSettings(ini, settings); !error.empty()) {
        warning = "rv.ini: " + error + "; no CRC calculated\n";
        return false;
    }
    return settings.AutoCalculateCRC;
}
