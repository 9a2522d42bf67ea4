// SPDX-License-Identifier: GPL-3.0-or-later
// A plain-text log: each line is appended and on disk when WriteLog returns. The file is opened at
// the first line and held while the name stays: a load that skips thousands of files writes a line
// for each, and opening the file for every one cost more than the rest of the skip.
#pragma once

#include <string>

#include "support/UniqueFile.h"

class clsLog {
public:
    clsLog();  // FileName AppPath() + "error.log", no date

    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string fileName) {
        fileName_ = std::move(fileName);
        file_.reset();
    }
    bool AddDate() const { return addDate_; }
    void SetAddDate(bool addDate) { addDate_ = addDate; }

    // Appends text and a line end, after "YYYY-MM-DD HH:MM:SS, " when AddDate is on; creates the
    // file when missing. Returns "" or why the line could not be written; the caller decides.
    std::string WriteLog(const std::string& text) const;

private:
    std::string fileName_;
    bool addDate_ = false;
    mutable UniqueFile file_;
};
