#include "ImportMIBX.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OIDTypes.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/mibdata/Vocabulary.h"
#include "qlmib/mibx/MIBXDate.h"

namespace qlmib {
namespace {

constexpr std::uint64_t kLargestArc = 4294967295;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isNumber(std::string_view component) {
    return !component.empty() && std::all_of(component.begin(), component.end(), isDigit);
}

// Numbers joined by single dots: an OID that needs no component resolved.
bool isNumericOID(std::string_view text) {
    if (text.empty() || text.front() == '.' || text.back() == '.') return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (!isDigit(text[i]) && (text[i] != '.' || text[i + 1] == '.')) return false;
    return true;
}

std::string_view rootArcs(std::string_view component) {
    if (component == "iso") return "1";
    if (component == "org") return "1.3";
    if (component == "dod") return "1.3.6";
    if (component == "internet") return "1.3.6.1";
    return {};
}

}  // namespace

ImportMIBX::ImportMIBX() { OpenDatabase(); }

ImportMIBX::~ImportMIBX() = default;

void ImportMIBX::raiseError(const std::string& message) {
    ++errors_;
    Error(message);
}

bool ImportMIBX::ImportMIBXFile(const std::string& Filename) {
    if (!file_.Load(Filename) || !file_.CheckVersion()) {
        raiseError(file_.Message());
        return false;
    }
    return ImportMIBXTree();
}

bool ImportMIBX::ImportMIBXTree() {
    Log("Importing " + file_.getFilename() + " ...");
    Log("    File Format = '" + std::string(kMIBXVersion) + "'");
    if (!file_.CheckModule()) {
        raiseError(file_.Message());
        return false;
    }
    auto& db = SharedDatabase();
    Transaction transaction(db);
    try {
        loadModuleRows();
        for (const auto node : file_.getTree().children()) AddOID(node);
        AddModule();
    } catch (...) {
        // Not swallowed: the rows stored before the failure stay, and the error goes on to the caller.
        IgnoringErrors([&] { transaction.commit(); });
        throw;
    }
    transaction.commit();
    return true;
}

void ImportMIBX::loadModuleRows() {
    rows_.clear();
    storedNames_.clear();
    seen_.clear();
    auto rows = SharedDatabase().query(Query::TreeRowidsByModule);
    rows.bind(1, getModuleName());
    while (rows.step()) {
        const auto name = rows.textView(1);
        if (rows_.contains(name)) continue;  // the first row of a name is the one overwritten
        rows_.emplace(storedNames_.emplace_back(name), rows.int64(0));
    }
    moduleStored_ = !rows_.empty();
}

std::optional<std::int64_t> ImportMIBX::storedRow(std::string_view descriptor, size_t descriptorHash) {
    if (moduleStored_) {
        const auto row = rows_.find(descriptor);
        return row == rows_.end() ? std::nullopt : std::optional(row->second);
    }
    // Names that only share a hash are looked up too, which costs nothing but time.
    if (!seen_.noteAgain(descriptorHash)) return std::nullopt;
    auto find = SharedDatabase().query(Query::TreeRowidByModuleName);
    find.bindUncopied(1, getModuleName()).bindUncopied(2, descriptor);
    return find.step() ? std::optional(find.int64(0)) : std::nullopt;
}

void ImportMIBX::AddOID(MIBXNode node) {
    const std::string descriptor(node.name());
    // Whether a new module's file met the descriptor before is asked once the
    // object is read; the answer's place in memory is fetched meanwhile.
    const size_t descriptorHash = NoCaseHash{}(descriptor);
    if (!moduleStored_) seen_.prefetch(descriptorHash);
    std::string oid, enumName;
    // Views of the document's texts; a text made of several nodes is joined into its own string.
    std::string oidText, accessText, syntaxText, statusText, descriptionText;
    std::string_view access, syntax, status, description;
    for (const auto child : node.children()) {
        const auto name = child.name();
        if (name == "OID") {
            // The object is abandoned here: what follows the OID is not read.
            if (!ConvertOID(TrimXMLSpace(child.textView(oidText)), oid)) return;
        } else if (name == "ACCESS") {
            access = TrimXMLSpace(child.textView(accessText));
        } else if (name == "SYNTAX") {
            syntax = TrimXMLSpace(child.textView(syntaxText));
        } else if (name == "STATUS") {
            status = TrimXMLSpace(child.textView(statusText));
        } else if (name == "DESCRIPTION") {
            description = child.textView(descriptionText);
        } else if (name == "ENUMS") {
            enumName.clear();
            if (child.hasChildNodes()) {
                enumName = descriptor;
                AddEnums(descriptor, child);
            }
        }
    }
    if (oid.empty()) {
        raiseError(MIBXFile::NoOIDMessage(descriptor));
        return;
    }
    const auto dot = oid.rfind('.');
    const std::string_view parent = dot == std::string::npos ? std::string_view() : std::string_view(oid).substr(0, dot);
    const std::string_view lastArc = dot == std::string::npos ? oid : std::string_view(oid).substr(dot + 1);
    // Arcs are unsigned 32-bit numbers (RFC 2578); Index holds them whole.
    std::uint64_t index = 0;
    if (std::from_chars(lastArc.data(), lastArc.data() + lastArc.size(), index).ec == std::errc::result_out_of_range ||
        index > kLargestArc) {
        raiseError("Cannot store " + descriptor + ": the last arc of " + oid + " is out of range.");
        return;
    }
    ++oidCount_;

    auto& db = SharedDatabase();
    const auto row = storedRow(descriptor, descriptorHash);
    const bool duplicate = row.has_value();
    if (duplicate) ++duplicates_;
    // The texts live until the row is written: sqlite need not copy them.
    auto write = db.query(duplicate ? Query::TreeImportUpdate : Query::TreeInsert);
    write.bindUncopied(TW_OID, oid)
        .bindUncopied(TW_MIB, getModuleName())
        .bindUncopied(TW_PARENTOID, parent)
        .bindUncopied(TW_NAME, descriptor)
        .bind(TW_TYPEI, LookupType(syntax))
        .bindUncopied(TW_TYPES, syntax)
        .bindUncopied(TW_DESCRIPTION, description)
        .bind(TW_STATUS, ConvertStatus(status))
        .bind(TW_ACCESS, ConvertAccess(access))
        .bindUncopied(TW_ENUM, enumName)
        .bindUncopied(TW_PARSE, "")
        .bindUncopied(TW_UNITS, "");
    if (duplicate) {
        write.bind(TW_IMPORT_INDEX, static_cast<std::int64_t>(index)).bind(TW_IMPORT_ROWID, *row).run();
    } else {
        write.bind(TW_INSERT_INDEX, static_cast<std::int64_t>(index)).bind(TW_INSERT_PRIMARY, kPrimaryTrue).run();
        // The name is a view of the document, which outlives rows_'s use of it.
        if (moduleStored_) rows_.emplace(node.name(), db.lastInsertRowid());
    }
    OID(descriptor, oid, duplicate);
}

void ImportMIBX::AddEnums(const std::string& Name, MIBXNode EnumTree) {
    auto& db = SharedDatabase();
    // Numbers of an enumeration the database does not hold yet are added without looking for each first.
    bool known = false;
    {
        auto exists = db.query(Query::EnumExists);
        exists.bindUncopied(1, Name);
        known = exists.step();
    }
    std::vector<std::int32_t> added;  // a number given twice in the file is stored once
    for (const auto child : EnumTree.children()) {
        const std::string label(child.name());
        const std::string text = child.trimmedText();
        std::int32_t value = 0;
        if (!IgnoringErrors([&] { value = RoundToInt32(LeadingNumber(text)); })) {
            raiseError("Cannot store " + Name + ": the value " + text + " of " + label + " is out of range.");
            continue;
        }
        if (known || std::find(added.begin(), added.end(), value) != added.end()) {
            db.query(Query::EnumUpdate).bindUncopied(1, label).bindUncopied(2, Name).bind(3, value).run();
            if (db.changes() > 0) continue;
        }
        db.query(Query::EnumInsert).bindUncopied(1, Name).bind(2, value).bindUncopied(3, label).run();
        added.push_back(value);
    }
}

bool ImportMIBX::ConvertOID(std::string_view Value, std::string& oid) {
    if (Value.empty()) return true;
    // Most files give numeric OIDs: they are taken whole.
    if (isNumericOID(Value)) {
        oid += Value;
        return true;
    }
    for (size_t start = 0;;) {
        const auto dot = Value.find('.', start);
        const auto component = Value.substr(start, dot == std::string_view::npos ? dot : dot - start);
        if (start > 0) oid += '.';
        const auto open = component.find('(');
        if (isNumber(component)) {
            oid += component;
        } else if (open != std::string_view::npos && component.find(')') != std::string_view::npos) {
            // "name(number)" stands for its number.
            oid += component.substr(open + 1);
            oid.erase(std::min(oid.find(')'), oid.size()));
        } else if (const auto arcs = rootArcs(component); !arcs.empty()) {
            oid += arcs;
        } else {
            std::string found;
            if (!LookupOID(component, found)) {
                raiseError(MIBXFile::UnresolvedOIDMessage(component, Value));
                return false;
            }
            oid += found;
        }
        if (dot == std::string_view::npos) return true;
        start = dot + 1;
    }
}

bool ImportMIBX::LookupOID(std::string_view Name, std::string& oid) {
    auto q = SharedDatabase().query(Query::TreeOIDByName);
    q.bind(1, Name);
    if (!q.step()) return false;
    oid = q.text(0);
    return true;
}

void ImportMIBX::AddModule() {
    if (!file_.CheckCompiled()) {
        raiseError(file_.Message());
        return;
    }
    const std::string compiled = ConvertMIBXDate(file_.select("MIBX/COMPILED").text());
    std::string name, description, contact, organization, lastUpdated(kZeroDate);
    for (const auto child : file_.select("MIBX/MODULE").children()) {
        const auto tag = child.name();
        if (tag == "NAME") name = child.trimmedText();
        else if (tag == "DESCRIPTION") description = child.text();
        else if (tag == "CONTACT") contact = child.text();
        else if (tag == "ORGANIZATION") organization = child.text();
        else if (tag == "LAST-UPDATED") lastUpdated = ConvertMIBXDate(child.text());
    }
    const std::string imported = CurrentDateText();
    // The objects are stored by now: a failing statement here is skipped.
    auto& db = SharedDatabase();
    bool exists = false;
    IgnoringErrors([&] {
        auto find = db.query(Query::ModuleByName);
        find.bind(1, name);
        exists = find.step();
    });
    IgnoringErrors([&] {
        if (exists) {
            db.query(Query::ModuleUpdate)
                .bind(1, description).bind(2, organization).bind(3, contact)
                .bind(4, compiled).bind(5, imported).bind(6, lastUpdated).bind(7, name)
                .run();
        } else {
            db.query(Query::ModuleInsert)
                .bind(1, name).bind(2, description).bind(3, organization).bind(4, contact)
                .bind(5, compiled).bind(6, imported).bind(7, lastUpdated)
                .run();
        }
    });
}

std::int16_t ImportMIBX::LookupType(std::string_view syntax) {
    if (const auto known = typeCodes_.find(syntax); known != typeCodes_.end()) return known->second;
    // The catalogue is loaded on first need; a lookup that fails gives 0.
    if (!types_) IgnoringErrors([&] { types_ = std::make_unique<OIDTypes>(); });
    if (!types_) return 0;
    return typeCodes_.emplace(syntax, types_->CodeOf(syntax)).first->second;
}

std::int32_t ImportMIBX::ConvertAccess(std::string_view text) {
    const auto is = [text](std::string_view word) { return EqualsNoCase(text, word); };
    if (is("READ-ONLY")) return ACCESS_RO;
    if (is("READ-WRITE") || is("READ-CREATE")) return ACCESS_RW;
    if (is("WRITE-ONLY")) return ACCESS_WO;
    if (is("NOT-ACCESSIBLE")) return ACCESS_NA;
    return ACCESS_UNKNOWN;
}

std::int32_t ImportMIBX::ConvertStatus(std::string_view text) {
    const auto is = [text](std::string_view word) { return EqualsNoCase(text, word); };
    if (is("MANDATORY")) return STATUS_MANDATORY;
    if (is("OPTIONAL")) return STATUS_OPTIONAL;
    if (is("OBSOLETE")) return STATUS_OBSOLETE;
    if (is("DEPRECATED")) return STATUS_DEPRECATED;
    if (is("CURRENT")) return STATUS_CURRENT;
    return STATUS_UNKNOWN;
}

}  // namespace qlmib
