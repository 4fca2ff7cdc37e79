#pragma once
// One MIB module as the compiler hands it on: the header, every object in OID
// order with the texts a MIB-X file carries, and the types the module defines.
// Plain data, free of libsmi, safe to keep after the compile that made it.

#include <cstdint>
#include <string>
#include <vector>

namespace qlmib::compiler {

struct NamedNumber {
    std::string label;
    std::int64_t value = 0;
    bool operator==(const NamedNumber&) const = default;
};

struct MibObject {
    std::string name;
    std::string oid;          // numeric, dotted
    std::string syntax;       // "SEQUENCE", a row type, "TRAP", "" for a registration node, or a type name
    std::string access;       // SMI keyword in lower case; "" when the object has none
    std::string status;       // SMI keyword in lower case; "" when the object has none
    std::string description;
    std::vector<NamedNumber> enums;  // named numbers of the syntax, inherited through textual conventions
};

// A type that a module defines (textual convention or type assignment), with
// the base type and type code that the type catalogue stores for it.
struct TextualConvention {
    std::string name;
    std::string baseType;     // "INTEGER", "OCTET STRING", "Counter32", ...
    std::int16_t code = 0;    // BER tag of the base type; 0 when it has none
};

struct CompiledModule {
    std::string name;
    std::string file;         // the MIB text file it was read from
    std::string description;
    std::string contact;
    std::string organization;
    std::string lastUpdated;  // "YYYY-MM-DD HH:MM:SS" (UTC) of the newest revision; "" when there is none
    std::vector<std::string> imports;  // modules it imports from, in source order
    std::vector<MibObject> objects;    // OID order: a parent before its children
    std::vector<TextualConvention> textualConventions;
};

}  // namespace qlmib::compiler
