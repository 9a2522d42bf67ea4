// SPDX-License-Identifier: GPL-3.0-or-later
// Finding files by any combination of their fields: one SELECT of file IDs over tblFile, then the
// records from the loaded set, narrowed to those holding every keyword asked for and lying on the
// drive asked for.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "facts/FactSearch.h"
#include "model/Catalogue.h"

struct SearchFields {
    std::string FileName;  // each text matches anywhere in its column (LIKE '%text%'); "" for any
    std::string Title;
    std::optional<std::string> Type;      // a type's description, as the type box shows it
    std::optional<std::string> Category;  // a category's name
    std::string CRC;
    std::string SizeComparison;  // "<", "=" or ">"; anything else leaves the number out
    std::string Size;            // read up to the first character that cannot continue a number
    std::string LengthComparison;
    std::string Length;
    std::string FourCC;
    std::string RatingComparison;
    std::string Rating;
    std::vector<std::string> Keywords;  // each must be one of a file's keywords, exactly
    std::optional<int> DriveID;         // only the files on this drive (see DriveSet)
    std::optional<bool> PluggedIn;      // only the files whose drive is (true) or is not plugged in
    std::vector<FactCondition> Facts;   // media facts every file found must have; see FactSearch.h
};

// Whether the record's drive is plugged in where its path says; a record whose drive is not known
// counts as plugged in, as its path is all there is to go by.
bool RecordPluggedIn(const Catalogue& catalogue, const FileRecord& record);

// The leading number of text written back in its shortest form ("2k" -> "2", "2.50" -> "2.5");
// "0" when the text does not begin with a number.
std::string LeadingNumber(const std::string& text);

// The statement: SELECT tblFile.FileID FROM tblFile, then the conditions of the fields in use.
// A type or category the sets do not find adds no condition. Moves the type and category cursors.
std::string BuildSearchStatement(Catalogue& catalogue, const SearchFields& fields);

struct SearchResult {
    // The files to show, in the order the statement returned them; they point into
    // catalogue.Files and are valid until it changes.
    std::vector<const FileRecord*> Files;
    std::string Error;  // "" or the engine's message, with nothing found
};

SearchResult RunSearch(Catalogue& catalogue, const SearchFields& fields);
// What RunSearch lists once its statement gave ids: the records of the set with those IDs, in
// that order, that hold every keyword and lie on the drive the fields ask for. For a statement
// run elsewhere, such as on a worker's own connection.
std::vector<const FileRecord*> FoundRecords(Catalogue& catalogue, const std::vector<int>& ids, const SearchFields& fields);
