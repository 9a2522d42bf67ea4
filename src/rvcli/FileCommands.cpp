// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/FileCommands.h"

#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <memory>

#include "rvcli/Output.h"

namespace {

Reply Checksums(const std::vector<std::string>& paths) {
    TerminalHost host;
    Reply reply;
    for (const std::string& path : paths) {
        const FileExam exam = ExamineFile(path, true, host, false);
        if (!exam.Error.empty()) return Failed(exam.Error);
        reply.Output += exam.CRC + "  " + Printable(path) + "\n";
    }
    return reply;
}

Reply Describe(const std::vector<std::string>& paths) {
    TerminalHost host;
    Reply reply;
    for (const std::string& path : paths) {
        const FileExam exam = ExamineFile(path, true, host);
        if (!exam.Error.empty()) return Failed(exam.Error);
        if (!reply.Output.empty()) reply.Output += "\n";
        reply.Output += "File: " + Printable(path) + "\n" +
                        "Size (bytes): " + std::to_string(exam.Size) + "\n" +
                        "Length (ms): " + std::to_string(exam.Media.IsMedia ? exam.Media.Length : 0) + "\n" +
                        "FourCC: " + Printable(exam.Media.FourCC) + "\n" +
                        "Media: " + (exam.Media.IsMedia ? "yes" : "no") + "\n" +
                        "CRC: " + exam.CRC + "\n";
    }
    return reply;
}

}  // namespace

FileExam ExamineFile(const std::string& path, bool withCRC, TerminalHost& host, bool withMedia) {
    FileExam exam;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        exam.Error = "Could not read " + path + ": " + std::strerror(errno);
        return exam;
    }
    if (!S_ISREG(info.st_mode)) {
        exam.Error = "Not a plain file: " + path;
        return exam;
    }
    if (withCRC) {
        const CRCResult crc = CalculateFileCRC(path, host.ForFile(path));
        exam.CRC = crc.Text;
        exam.Error = crc.Error;
        if (!crc) return exam;
    }
    exam.Size = info.st_size;
    if (withMedia) exam.Media = GetMediaInfo(path);
    return exam;
}

void AddFileCommands(CLI::App& app, Commands& commands) {
    auto paths = std::make_shared<std::vector<std::string>>();
    CLI::App* crc = app.add_subcommand("crc", "Print the CRC-32 of files as a catalogue stores it: \"CRC  PATH\"");
    crc->add_option("PATH", *paths, "Files to read")->required();
    commands.Add(crc, [paths] { return Checksums(*paths); });

    CLI::App* info = app.add_subcommand("info", "Print size, length (ms), FourCC, media yes/no and CRC of files");
    info->add_option("PATH", *paths, "Files to examine")->required();
    commands.Add(info, [paths] { return Describe(*paths); });
}
