// SPDX-License-Identifier: GPL-3.0-or-later
// The file types of the open catalogue with their extensions, as last loaded, in description
// order, with a cursor. Extensions are held without a leading dot, all of them, in text order.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "store/clsSQLite.h"

class clsFileType {
public:
    void Deleteall();
    int Count() const { return static_cast<int>(types_.size()); }
    bool MoveFirst();
    bool MoveNext();
    // -1 and "" when no type is current.
    int FileTypeID() const;
    const std::string& FileType() const;
    const std::string& ExternalApp() const;  // also "" when the type names none
    int NumExtension() const;  // -1 when no type is current
    int ExtensionCount() const { return NumExtension(); }
    // -1 and "" when no type is current or index is outside 0..NumExtension()-1.
    int ExtensionID(int index) const;
    const std::string& Extension(int index) const;

    // The last matching type becomes current; with no match the cursor stays. Exact comparison.
    bool GotoFileType(const std::string& description);
    bool GotoFileTypeID(int id);
    // As above for a type listing the extension, given without its dot, ignoring letter case.
    bool GotoExtension(const std::string& extension);

    // Replaces the set with the catalogue's types; no type is current afterwards. With no catalogue
    // open the set keeps what it held. Returns "" or the engine's message (the set is then empty).
    std::string LoadFromDatabase(clsSQLite& store);

private:
    struct Type {
        int id;
        std::string description;
        std::string externalApp;
        std::vector<int> extensionIDs;
        std::vector<std::string> extensions;
    };
    std::string LoadExtensions(clsSQLite& store);

    std::vector<Type> types_;
    std::unordered_map<std::string, int> lastTypeOfExtension_;  // upper-cased extension -> type index
    int current_ = -1;
};
