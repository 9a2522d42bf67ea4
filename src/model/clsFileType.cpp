// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clsFileType.h"

#include <algorithm>

#include "model/Cursor.h"

namespace {

const std::string kNone;

// Extensions are ASCII in practice; bytes of other letters are left as they are.
std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : static_cast<char>(c); });
    return text;
}

}  // namespace

void clsFileType::Deleteall() {
    types_.clear();
    lastTypeOfExtension_.clear();
    current_ = -1;
}

bool clsFileType::MoveFirst() { return MoveToFirst(current_, types_); }

bool clsFileType::MoveNext() { return MoveToNext(current_, types_); }

int clsFileType::FileTypeID() const { return IsOn(current_, types_) ? types_[current_].id : -1; }

const std::string& clsFileType::FileType() const {
    return IsOn(current_, types_) ? types_[current_].description : kNone;
}

const std::string& clsFileType::ExternalApp() const {
    return IsOn(current_, types_) ? types_[current_].externalApp : kNone;
}

int clsFileType::NumExtension() const {
    return IsOn(current_, types_) ? static_cast<int>(types_[current_].extensions.size()) : -1;
}

int clsFileType::ExtensionID(int index) const {
    return index >= 0 && index < NumExtension() ? types_[current_].extensionIDs[index] : -1;
}

const std::string& clsFileType::Extension(int index) const {
    return index >= 0 && index < NumExtension() ? types_[current_].extensions[index] : kNone;
}

bool clsFileType::GotoFileType(const std::string& description) {
    return GotoLast(current_, types_, [&](const Type& type) { return type.description == description; });
}

bool clsFileType::GotoFileTypeID(int id) {
    return GotoLast(current_, types_, [id](const Type& type) { return type.id == id; });
}

bool clsFileType::GotoExtension(const std::string& extension) {
    const auto match = lastTypeOfExtension_.find(Upper(extension));
    if (match == lastTypeOfExtension_.end()) return false;
    current_ = match->second;
    return true;
}

std::string clsFileType::LoadFromDatabase(clsSQLite& store) {
    if (!store.DBOpen()) return {};
    Deleteall();
    clsSQLite::Transaction snapshot(store);  // types and links read from one state of the file
    std::string error = store.Query("SELECT FileTypeID, FileType, ExternalApp FROM tblFileType ORDER BY FileType",
                                    [this](const clsSQLite::Row& row) {
                                        types_.push_back({static_cast<int>(row.Int(0)), std::string(row.Text(1)),
                                                          std::string(row.Text(2)), {}, {}});
                                    });
    if (error.empty()) error = LoadExtensions(store);
    if (!error.empty()) Deleteall();
    return error;
}

// All links in one statement rather than one per type; each type's list comes out in text order.
std::string clsFileType::LoadExtensions(clsSQLite& store) {
    std::unordered_map<int, int> indexOfID;
    for (int i = 0; i < Count(); ++i) indexOfID[types_[i].id] = i;
    const std::string error = store.Query(
        "SELECT tblFileExtensionJunction.FileTypeID, tblFileExtension.ExtensionID, tblFileExtension.Extension "
        "FROM tblFileExtension, tblFileExtensionJunction "
        "WHERE tblFileExtension.ExtensionID=tblFileExtensionJunction.ExtensionID "
        "ORDER BY tblFileExtensionJunction.FileTypeID, tblFileExtension.Extension;",
        [&](const clsSQLite::Row& row) {
            const auto owner = indexOfID.find(static_cast<int>(row.Int(0)));
            if (owner == indexOfID.end()) return;  // a link to a type that is gone
            types_[owner->second].extensionIDs.push_back(static_cast<int>(row.Int(1)));
            types_[owner->second].extensions.emplace_back(row.Text(2));
        });
    for (int i = 0; i < Count(); ++i) {
        for (const std::string& extension : types_[i].extensions) lastTypeOfExtension_[Upper(extension)] = i;
    }
    return error;
}
