// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/clsLog.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "support/UniqueFile.h"
#include "support/modUtilities.h"

namespace {

std::string Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string Failure(const std::string& fileName, int error) {
    return "Could not write the log " + fileName + ": " + std::strerror(error);
}

}  // namespace

clsLog::clsLog() : fileName_(AppPath() + "error.log") {}

std::string clsLog::WriteLog(const std::string& text) const {
    const std::string line = (addDate_ ? Now() + ", " : std::string()) + text + "\n";
    const UniqueFile file = OpenUniqueFile(fileName_, "a");
    if (!file) return Failure(fileName_, errno);
    if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() || std::fflush(file.get()) != 0)
        return Failure(fileName_, errno);
    return {};
}
