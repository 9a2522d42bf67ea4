// SPDX-License-Identifier: GPL-3.0-or-later
// The drives the open catalogue's records lie on, as last loaded, each with whether and where it is
// mounted now. A drive is a filesystem, known by its identity (see Volume.h) wherever it is mounted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drives/MountedVolumes.h"
#include "store/clsSQLite.h"

struct Drive {
    int DriveID = -1;
    std::string Identity;
    std::string Name;  // the user's name for it; unique in the catalogue
    std::string Label;
    std::string FSType;
    std::int64_t Size = 0;
    std::string MountPoint;  // where it was last seen mounted
    std::int64_t SeenAt = 0;  // when, in seconds since 1970

    // Now, as the mount table said when the set last saw it:
    std::vector<std::string> Places;  // where its root is mounted, first mounted first
    bool Reachable = false;           // mounted, if only a folder of it (a bind mount)
    bool Cloned = false;              // two devices claim its identity: which is which is not guessed
    unsigned long Device = 0;         // while reachable: the device number files on it have (st_dev)

    bool Plugged() const { return Reachable; }
    // Where its records belong now: the first place its root is mounted; "" when there is none.
    std::string Place() const { return Places.empty() ? std::string() : Places.front(); }
    // Whether a path of one of its records lies where the drive is mounted now; true for any path
    // while only a folder of it is mounted (a bind mount), whose place says nothing of its paths.
    bool Holds(std::string_view path) const;
};

class DriveSet {
public:
    // Replaces the drives with the catalogue's; with no drive table (a catalogue no program of ours
    // has written, or one a newer program keeps) the set is empty. "" or the engine's message.
    std::string LoadFromDatabase(clsSQLite& store);
    // Takes in what is mounted now and marks each drive plugged in or not.
    void SeeMounts(MountedVolumes mounted);
    void Deleteall();

    const std::vector<Drive>& All() const { return drives_; }
    const MountedVolumes& Mounted() const { return mounted_; }
    const Drive* ByID(int id) const;
    const Drive* ByName(std::string_view name) const;
    const Drive* ByIdentity(std::string_view identity) const;
    // Whether the drive with this ID is known and not plugged in; false for -1 (no drive).
    bool Unplugged(int id) const;
    // The drive that is not plugged in and was last seen mounted at a place the path lies in; null
    // when there is none.
    const Drive* AwayAt(std::string_view path) const;

    // The name a new drive gets: its label, else its mount point's last part, else its type, with
    // "-2", "-3" ... added until no drive of the set has it.
    std::string NewName(const Volume& volume, std::string_view place) const;

    // After the catalogue was written: a drive added, renamed, forgotten or seen at a new place.
    void Add(Drive drive);
    void Rename(int id, const std::string& name);
    void Remove(int id);
    void SeenAt(int id, const std::string& place, std::int64_t when);

private:
    void Mark(Drive& drive) const;
    Drive* Find(int id);

    std::vector<Drive> drives_;  // in DriveID order
    MountedVolumes mounted_;
};

// The full path of a file that lies at inside (from the filesystem's root) on a drive mounted at place.
std::string PathOnDrive(std::string_view place, std::string_view inside);
