#pragma once
// Copies MIB-X files into the MIB database: one MIBs row per module, one Tree
// row per object, one Enums row per named number. Reports through its events
// and counters, never to the user. An instance belongs to the thread that
// created it and writes through that thread's shared connection.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "qlmib/common/Event.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/mibx/MIBXFile.h"
#include "qlmib/mibx/SeenHashes.h"

namespace qlmib {

class OIDTypes;

class ImportMIBX {
public:
    ImportMIBX();
    ImportMIBX(const ImportMIBX&) = delete;
    ImportMIBX& operator=(const ImportMIBX&) = delete;
    ~ImportMIBX();

    // Counters accumulate over every file imported through this instance.
    std::int32_t getErrors() const { return errors_; }
    std::int32_t getWarnings() const { return 0; }  // no condition of an import is a warning
    std::int32_t getOIDCount() const { return oidCount_; }
    std::int32_t getDuplicates() const { return duplicates_; }
    // MIBX/MODULE/NAME of the file last imported.
    const std::string& getModuleName() const { return file_.getModuleName(); }

    // Imports one file in one transaction. False when the file was rejected
    // before its objects were walked. A database failure while storing
    // commits the rows stored before it and throws Error.
    bool ImportMIBXFile(const std::string& Filename);
    // Stores the named numbers held by the children of EnumTree under the
    // enumeration Name; a number stored already gets the new label.
    void AddEnums(const std::string& Name, MIBXNode EnumTree);
    // Converts an OID text of numbers, "name(number)" components, the roots
    // iso, org, dod, internet and descriptors in the database into a numeric
    // OID appended to oid. False, after an Error event, when a component
    // cannot be resolved; oid then holds what was appended before it.
    bool ConvertOID(std::string_view Value, std::string& oid);
    // The OID of a descriptor in any module; false and oid unchanged when none.
    bool LookupOID(std::string_view Name, std::string& oid);

    Event<const std::string&> Log;
    Event<const std::string&> Error;  // raised after the error count has grown
    // After each object's row is stored: descriptor, OID, whether the row existed.
    Event<const std::string&, const std::string&, bool> OID;

private:
    bool ImportMIBXTree();
    void loadModuleRows();
    void AddOID(MIBXNode node);
    // The row that a descriptor about to be stored overwrites, if it has one.
    std::optional<std::int64_t> storedRow(std::string_view descriptor, size_t descriptorHash);
    void AddModule();
    std::int16_t LookupType(std::string_view syntax);
    static std::int32_t ConvertAccess(std::string_view text);
    static std::int32_t ConvertStatus(std::string_view text);
    void raiseError(const std::string& message);

    MIBXFile file_;
    std::unique_ptr<OIDTypes> types_;
    // Type codes by syntax text as written: a file repeats a few syntaxes many times.
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, std::int16_t, TextHash, std::equal_to<>> typeCodes_;
    std::int32_t errors_ = 0;
    std::int32_t oidCount_ = 0;
    std::int32_t duplicates_ = 0;
    // The rows of a module stored before, by descriptor, read once per file so
    // that finding the row to overwrite takes no query. The names are views
    // into the file's document, or into storedNames_ for rows read from the
    // database; both live until the next file.
    std::unordered_map<std::string_view, std::int64_t, NoCaseHash, NoCaseEqual> rows_;
    std::deque<std::string> storedNames_;
    bool moduleStored_ = false;  // rows_ holds the module's rows
    // A new module's descriptors stored so far: only one met again can have a row.
    SeenHashes seen_;
};

}  // namespace qlmib
