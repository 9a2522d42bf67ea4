// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/RecordCommands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>

#include "batch/BatchEdit.h"
#include "facts/FactRows.h"
#include "model/modCatalogue.h"
#include "rvcli/FileCommands.h"
#include "store/modSchema.h"
#include "support/modUtilities.h"

namespace {

// The fields add and update share. An option's Given says whether it was on the command line.
struct RecordOptions {
    std::string Catalogue;
    std::string Title;
    std::string Type;
    std::string Category;
    int Rating = 0;
    std::vector<std::string> Keywords;
    CLI::Option* TitleGiven = nullptr;
    CLI::Option* TypeGiven = nullptr;
    CLI::Option* CategoryGiven = nullptr;
    CLI::Option* RatingGiven = nullptr;
    CLI::Option* KeywordsGiven = nullptr;
};

struct AddOptions : RecordOptions {
    std::string Path;
    bool CRC = false;
    bool NoCRC = false;
    bool Force = false;
};

struct UpdateOptions : RecordOptions {
    std::vector<int> FileIDs;
    std::string Path;
    bool NoKeywords = false;
    std::vector<std::string> AddKeywords;
    std::vector<std::string> RemoveKeywords;
    CLI::Option* PathGiven = nullptr;
};

bool Given(const CLI::Option* option) { return option != nullptr && option->count() > 0; }

// The ID of the type or category a user named; "" names none (-1).
NewKey TypeNamed(Catalogue& catalogue, const std::string& description) {
    if (description.empty()) return {-1, ""};
    if (!catalogue.FileTypes.GotoFileType(description)) return {-1, "No file type named " + description};
    return {catalogue.FileTypes.FileTypeID(), ""};
}

NewKey CategoryNamed(Catalogue& catalogue, const std::string& name) {
    if (name.empty()) return {-1, ""};
    if (!catalogue.Categories.GotoCategoryName(name)) return {-1, "No category named " + name};
    return {catalogue.Categories.CategoryID(), ""};
}

// The type whose extensions hold the file name's, ignoring letter case; -1 for none.
int TypeOfExtension(Catalogue& catalogue, const std::string& path) {
    const std::string extension = GetExtension(GetFileName(path));
    return catalogue.FileTypes.GotoExtension(extension.starts_with('.') ? extension.substr(1) : extension)
               ? catalogue.FileTypes.FileTypeID()
               : -1;
}

// As the keyword list takes them: an empty keyword is not one.
std::vector<std::string> Keywords(const std::vector<std::string>& given) {
    std::vector<std::string> keywords;
    for (const std::string& keyword : given) {
        if (!keyword.empty()) keywords.push_back(keyword);
    }
    return keywords;
}

// Sets the fields given on the command line. "" when all of them could be resolved.
std::string ApplyOptions(Catalogue& catalogue, const RecordOptions& options, FileRecord& record) {
    if (Given(options.TypeGiven)) {
        const NewKey type = TypeNamed(catalogue, options.Type);
        if (!type.Error.empty()) return type.Error;
        record.TypeID = type.ID;
    }
    if (Given(options.CategoryGiven)) {
        const NewKey category = CategoryNamed(catalogue, options.Category);
        if (!category.Error.empty()) return category.Error;
        record.CategoryID = category.ID;
    }
    if (Given(options.TitleGiven)) record.Title = options.Title;
    if (Given(options.RatingGiven)) record.Rating = options.Rating;
    if (Given(options.KeywordsGiven)) record.Keywords = Keywords(options.Keywords);
    return {};
}

Reply NewCatalogue(const std::string& path) {
    clsSQLite store;
    if (std::string error = CreateNewDatabase(store, path); !error.empty()) return Failed(path + ": " + error);
    return {"Created " + path + "\n", {}, {}};
}

Reply AddFile(const AddOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    FileRecord record;
    record.FileName = StoredPath(options.Path);
    if (!options.Force && catalogue.Files.GotoFileName(record.FileName))
        return Failed("Already catalogued: " + record.FileName + " (FileID " + std::to_string(catalogue.Files.FileID()) + ")");
    record.TypeID = TypeOfExtension(catalogue, record.FileName);
    if (std::string error = ApplyOptions(catalogue, options, record); !error.empty()) return Failed(error);
    Reply reply;
    const bool withCRC = WantCRC(options.CRC, options.NoCRC, reply.Notes);
    TerminalHost host;
    const FileExam exam = ExamineFile(record.FileName, withCRC, host);
    if (!exam.Error.empty()) return Failed(exam.Error);
    record.CRC = exam.CRC;
    record.Size = exam.Size;
    if (exam.Media.IsMedia) record.Length = exam.Media.Length;
    record.FourCC = exam.Media.FourCC;
    NewKey inserted;
    {
        // The record and its media facts are one unit.
        clsSQLite::Transaction unit(catalogue.Store);
        inserted.Error = unit.BeginError();
        if (inserted.Error.empty()) inserted = InsertFile(catalogue, record);
        if (inserted.Error.empty())
            inserted.Error = KeepFacts(catalogue.Store, catalogue.OwnTables.Usable(), inserted.ID, record.FileName, exam.Media.Facts);
        if (inserted.Error.empty()) inserted.Error = unit.Commit();
    }
    if (!inserted.Error.empty()) return Failed(inserted.Error);
    reply.Output = std::to_string(inserted.ID) + "\n";
    return reply;
}

// Several records get one change: only the fields that mean the same for all of them.
Reply UpdateRecords(Catalogue& catalogue, const UpdateOptions& options) {
    if (Given(options.TitleGiven) || Given(options.PathGiven) || Given(options.KeywordsGiven) || options.NoKeywords)
        return Failed("With several FileIDs only --type, --category, --rating, --add-keyword and --remove-keyword apply");
    BatchChange change;
    if (Given(options.TypeGiven)) {
        const NewKey type = TypeNamed(catalogue, options.Type);
        if (!type.Error.empty()) return Failed(type.Error);
        change.TypeID = type.ID;
    }
    if (Given(options.CategoryGiven)) {
        const NewKey category = CategoryNamed(catalogue, options.Category);
        if (!category.Error.empty()) return Failed(category.Error);
        change.CategoryID = category.ID;
    }
    if (Given(options.RatingGiven)) change.Rating = options.Rating;
    change.AddKeywords = Keywords(options.AddKeywords);
    change.RemoveKeywords = Keywords(options.RemoveKeywords);
    const BatchOutcome outcome = WriteBatch(catalogue.Store, options.FileIDs, change);
    if (!outcome.Error.empty()) return Failed(outcome.Error);
    const std::size_t saved = outcome.Saved.size();
    return {{}, "Changed " + std::to_string(saved) + (saved == 1 ? " record\n" : " records\n"), MissingSentence(outcome.Missing)};
}

// The keywords given to add and remove, applied to the record's own.
void ChangeKeywords(const UpdateOptions& options, std::vector<std::string>& keywords) {
    for (const std::string& keyword : options.RemoveKeywords) std::erase(keywords, keyword);
    for (const std::string& keyword : Keywords(options.AddKeywords)) {
        if (std::find(keywords.begin(), keywords.end(), keyword) == keywords.end()) keywords.push_back(keyword);
    }
}

Reply UpdateRecord(const UpdateOptions& options) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, options.Catalogue); !error.empty()) return Failed(error);
    if (options.FileIDs.size() > 1) return UpdateRecords(catalogue, options);
    const int fileID = options.FileIDs.front();
    if (!catalogue.Files.GotoFileID(fileID)) return Failed("No record with FileID " + std::to_string(fileID));
    FileRecord record = *catalogue.Files.Current();
    // A record without a type or category loads as 0; written back so, it would no longer read NULL.
    if (record.TypeID == 0 && !catalogue.FileTypes.GotoFileTypeID(0)) record.TypeID = -1;
    if (record.CategoryID == 0 && !catalogue.Categories.GotoCategoryID(0)) record.CategoryID = -1;
    if (std::string error = ApplyOptions(catalogue, options, record); !error.empty()) return Failed(error);
    if (Given(options.PathGiven)) record.FileName = StoredPath(options.Path);
    if (options.NoKeywords) record.Keywords.clear();
    ChangeKeywords(options, record.Keywords);
    return Quiet(UpdateFile(catalogue, record));
}

Reply DeleteRecord(const std::string& path, int fileID) {
    Catalogue catalogue;
    if (std::string error = OpenForWriting(catalogue, path); !error.empty()) return Failed(error);
    if (!catalogue.Files.GotoFileID(fileID)) return Failed("No record with FileID " + std::to_string(fileID));
    return Quiet(DeleteFile(catalogue, fileID));
}

void AddFieldOptions(CLI::App* command, RecordOptions& options) {
    options.TitleGiven = command->add_option("--title", options.Title, "Title");
    options.TypeGiven = command->add_option("--type", options.Type, "File type, by its description (\"\" for none)");
    options.CategoryGiven = command->add_option("--category", options.Category, "Category, by its name (\"\" for none)");
    options.RatingGiven = command->add_option("--rating", options.Rating, "Rating, a whole number");
    options.KeywordsGiven = command->add_option("--keyword", options.Keywords, "A keyword; repeat for more")
                                ->allow_extra_args(false);
}

void AddAddCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<AddOptions>();
    CLI::App* add = app.add_subcommand(
        "add", "Catalogue a file with the facts read from it; prints its FileID");
    add->footer("Size, length and FourCC are read from the file, the type comes from its extension unless --type "
                "is given, and the CRC is calculated with --crc or, without either flag, when rv.ini says "
                "AutoCalculateCRC=true.");
    add->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    add->add_option("PATH", options->Path, "The file to add")->required();
    AddFieldOptions(add, *options);
    CLI::Option* crc = add->add_flag("--crc", options->CRC, "Calculate the CRC");
    add->add_flag("--no-crc", options->NoCRC, "Do not calculate the CRC (default: AutoCalculateCRC of rv.ini)")->excludes(crc);
    add->add_flag("--force", options->Force, "Add the file even when its path is catalogued already");
    commands.Add(add, [options] { return AddFile(*options); });
}

void AddUpdateCommand(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<UpdateOptions>();
    CLI::App* update = app.add_subcommand("update", "Change the fields given of one file record, or of several at once");
    update->footer("Several records are changed in one transaction: all of them or, when the catalogue fails, none. "
                   "FileIDs the catalogue no longer holds are named, and the command then fails, the others changed.");
    update->add_option("CATALOGUE", options->Catalogue, "Catalogue file")->required();
    update->add_option("ID", options->FileIDs, "FileID of the record; several for the same change to each")->required();
    options->PathGiven = update->add_option("--path", options->Path, "Point the record at this file");
    AddFieldOptions(update, *options);
    update->add_flag("--no-keywords", options->NoKeywords, "Remove every keyword")->excludes(options->KeywordsGiven);
    options->KeywordsGiven->description("A keyword; repeat for more. Replaces the record's keywords");
    CLI::Option* add = update->add_option("--add-keyword", options->AddKeywords, "A keyword to give each record; repeat for more")
                           ->allow_extra_args(false);
    CLI::Option* remove = update->add_option("--remove-keyword", options->RemoveKeywords,
                                             "A keyword to take from each record; repeat for more. Removed before any is added")
                              ->allow_extra_args(false);
    for (CLI::Option* change : {add, remove}) change->excludes(options->KeywordsGiven);
    commands.Add(update, [options] { return UpdateRecord(*options); });
}

}  // namespace

void AddRecordCommands(CLI::App& app, Commands& commands) {
    auto path = std::make_shared<std::string>();
    auto fileID = std::make_shared<int>(0);
    CLI::App* create = app.add_subcommand("new", "Create an empty catalogue");
    create->add_option("CATALOGUE", *path, "Path of the new catalogue file")->required();
    commands.Add(create, [path] { return NewCatalogue(*path); });

    AddAddCommand(app, commands);
    AddUpdateCommand(app, commands);

    CLI::App* remove = app.add_subcommand("delete", "Delete one file record (the file itself stays)");
    remove->add_option("CATALOGUE", *path, "Catalogue file")->required();
    remove->add_option("ID", *fileID, "FileID of the record")->required();
    commands.Add(remove, [path, fileID] { return DeleteRecord(*path, *fileID); });
}
