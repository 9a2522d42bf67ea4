// SPDX-License-Identifier: GPL-3.0-or-later
// A real drive mounted in the test's folder under its label, unplugged and plugged in again there.
// Declare it after the folder it lies in, so it goes first.
#pragma once

#include <string>

#include "common/LoopDrive.h"
#include "common/TempFolder.h"

class LabelledDrive {
public:
    LabelledDrive(const TempFolder& folder, const std::string& label, const std::string& uuid)
        : place_(folder.Path(label)), drive_(folder.Path(label + ".img"), uuid, label) {
        drive_.Mount(place_);
    }

    // "" when the drive is mounted; otherwise why a test cannot have it.
    const std::string& SkipReason() const { return drive_.Skip(); }
    // Where it is mounted; an empty folder of the disk beneath once it is unplugged.
    std::string Path(const std::string& relative = {}) const { return place_ + "/" + relative; }
    bool Unplug() {
        drive_.Unmount();
        return true;
    }
    bool PlugIn() { return drive_.Mount(place_); }

private:
    std::string place_;
    LoopDrive drive_;
};
