// SPDX-License-Identifier: GPL-3.0-or-later
// A plain-text log that holds no open file: each line is appended and on disk when WriteLog returns.
#pragma once

#include <string>

class clsLog {
public:
    clsLog();  // FileName AppPath() + "error.log", no date

    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }
    bool AddDate() const { return addDate_; }
    void SetAddDate(bool addDate) { addDate_ = addDate; }

    // Appends text and a line end, after "YYYY-MM-DD HH:MM:SS, " when AddDate is on; creates the
    // file when missing. Returns "" or why the line could not be written; the caller decides.
    std::string WriteLog(const std::string& text) const;

private:
    std::string fileName_;
    bool addDate_ = false;
};
