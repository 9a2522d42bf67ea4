// SPDX-License-Identifier: GPL-3.0-or-later
// The operations that write the catalogue. Each is one transaction: when any of its statements
// fails, nothing of it stays written and the engine's message comes back ("" on success).
// They write the file only; the record sets change only where said.
#pragma once

#include <string>
#include <vector>

#include "model/Catalogue.h"

struct Outcome {
    bool Done = false;  // what the operation reports to its caller; false also on failure
    std::string Error;
};

struct NewKey {
    int ID = 0;
    std::string Error;
};

// Inserts a category unless one of exactly that name is loaded (Done false, nothing written), then
// reloads the categories.
Outcome AddCategory(Catalogue& catalogue, const std::string& name);
// Clears the category from every file that has it and deletes it, then reloads the categories.
// Done false, nothing written, when no category of that name is loaded.
Outcome DeleteCategory(Catalogue& catalogue, const std::string& name);

// Saves a file type with exactly these extensions (each linked once per time listed): a new one
// when id is negative, otherwise the loaded type with that ID; an unknown ID writes nothing and
// says so. An empty application is stored as none. The sets are not reloaded. ID: the type's.
NewKey SaveFileType(Catalogue& catalogue, int id, const std::string& description, const std::string& externalApp,
                    const std::vector<std::string>& extensions);
// Deletes the file type and its extension links, and its files keep no type, all or nothing. The
// extension texts stay for other types to use. An ID the catalogue does not hold changes nothing.
std::string DeleteFileType(Catalogue& catalogue, int id);
// How many loaded records have this type, or this category: what deleting it would change.
int FilesOfType(const Catalogue& catalogue, int typeID);
int FilesInCategory(const Catalogue& catalogue, int categoryID);
// The ID of the extension row with exactly this text (case counts), inserted when missing.
// 0 with no catalogue open.
NewKey GetExtensionID(Catalogue& catalogue, const std::string& extension);

// The ID of the keyword row with exactly this text, inserted when missing. 0 with no catalogue open.
NewKey GetKeywordID(Catalogue& catalogue, const std::string& keyword);
// Inserts a record with its keyword links; record.FileID is not used. ID: the new record's.
NewKey InsertFile(Catalogue& catalogue, const FileRecord& record);
// Rewrites every column of the record with record.FileID and replaces its keyword links.
std::string UpdateFile(Catalogue& catalogue, const FileRecord& record);
// Deletes the record and its keyword links; an ID of 0 or less does nothing.
std::string DeleteFile(Catalogue& catalogue, int fileID);
