#pragma once
// The value parser: one raw SNMP value as the text a person reads, by the
// object's enumeration, its parse keyword (or type name) and its units.

#include <string>
#include <string_view>

namespace qlmib {

class OID;

// Value: decimal digits for numbers, the octets themselves for strings.
// HexValue: the same octets as hex digit pairs. Throws Error only where a
// value cannot be converted (a services value beyond 16 bits, an impossible date).
std::string ParseValue(const OID& object, std::string_view Value, std::string_view HexValue);

}  // namespace qlmib
