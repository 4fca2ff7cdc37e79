#include "internal/SmiTypes.h"

#include <cstring>
#include <string_view>

namespace qlmib::compiler {
namespace {

// libsmi's own base types belong to no module.
bool isBuiltIn(SmiType* type) {
    const SmiModule* module = smiGetTypeModule(type);
    return !module || !module->name || !*module->name;
}

SmiType* namedType(SmiType* type) {
    while (type && !type->name) type = smiGetParentType(type);
    return type;
}

struct ApplicationType {
    std::string_view name, base;
    std::int16_t code;
};

// The SMI application types (RFC 1155, RFC 2578) that a chain of types
// stops at: their BER tags are their own, not their libsmi base type's.
constexpr ApplicationType kApplicationTypes[] = {
    {"IpAddress", "IpAddress", 64}, {"NetworkAddress", "IpAddress", 64}, {"Counter32", "Counter32", 65},
    {"Counter", "Counter32", 65},   {"Gauge32", "Gauge32", 66},          {"Gauge", "Gauge32", 66},
    {"Unsigned32", "Unsigned32", 66}, {"TimeTicks", "TimeTicks", 67},    {"Opaque", "Opaque", 68},
    {"Counter64", "Counter64", 70},
};

struct BaseType {
    std::string_view base;
    std::int16_t code;
};

BaseType universalBase(SmiBasetype basetype) {
    switch (basetype) {
    case SMI_BASETYPE_INTEGER32:
    case SMI_BASETYPE_ENUM: return {"INTEGER", 2};
    case SMI_BASETYPE_OCTETSTRING:
    case SMI_BASETYPE_BITS: return {"OCTET STRING", 4};
    case SMI_BASETYPE_OBJECTIDENTIFIER: return {"OBJECT IDENTIFIER", 6};
    case SMI_BASETYPE_UNSIGNED32: return {"Unsigned32", 66};
    case SMI_BASETYPE_UNSIGNED64: return {"Counter64", 70};
    default: return {"", 0};
    }
}

std::int64_t numberOf(const SmiValue& value) {
    switch (value.basetype) {
    case SMI_BASETYPE_UNSIGNED32: return static_cast<std::int64_t>(value.value.unsigned32);
    case SMI_BASETYPE_INTEGER64: return value.value.integer64;
    case SMI_BASETYPE_UNSIGNED64: return static_cast<std::int64_t>(value.value.unsigned64);
    default: return value.value.integer32;
    }
}

}  // namespace

std::string SyntaxName(SmiType* type, SmiLanguage language) {
    type = namedType(type);
    if (!type) return "";
    if (!isBuiltIn(type)) return type->name;
    const std::string_view name = type->name;
    if (name == "OctetString") return "OCTET-STRING";
    if (name == "ObjectIdentifier") return "OBJECT-IDENTIFIER";
    if (name == "Enumeration") return "INTEGER";
    if (name == "Bits") return "BITS";
    // libsmi reads SMIv1's INTEGER as Integer32; say it as the module did.
    if (name == "Integer32" && language == SMI_LANGUAGE_SMIV1) return "INTEGER";
    return type->name;
}

std::vector<NamedNumber> NamedNumbers(SmiType* type) {
    std::vector<NamedNumber> numbers;
    for (; type && numbers.empty(); type = smiGetParentType(type)) {
        for (SmiNamedNumber* n = smiGetFirstNamedNumber(type); n; n = smiGetNextNamedNumber(n)) {
            numbers.push_back({n->name ? n->name : "", numberOf(n->value)});
        }
    }
    return numbers;
}

TextualConvention TypeEntry(SmiType* type) {
    TextualConvention entry{type->name ? type->name : "", "", 0};
    for (SmiType* t = type; t; t = smiGetParentType(t)) {
        for (const auto& application : kApplicationTypes) {
            if (t->name && application.name == t->name) {
                entry.baseType = application.base;
                entry.code = application.code;
                return entry;
            }
        }
        if (!smiGetParentType(t)) {
            const auto base = universalBase(t->basetype);
            entry.baseType = base.base;
            entry.code = base.code;
        }
    }
    return entry;
}

}  // namespace qlmib::compiler
