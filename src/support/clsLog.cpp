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
    if (!file_) file_ = OpenUniqueFile(fileName_, "a");
    if (!file_) return Failure(fileName_, errno);
    if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size() || std::fflush(file_.get()) != 0)
        return Failure(fileName_, errno);
    return {};
}
