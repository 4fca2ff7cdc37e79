#pragma once
// Access and status codes as stored in the MIB database, and their words.

#include <cstdint>
#include <string>
#include <string_view>

namespace qlmib {

enum OID_ACCESS : std::int32_t {
    ACCESS_UNKNOWN = 0,
    ACCESS_RO = 1,
    ACCESS_RW = 2,
    ACCESS_WO = 3,
    ACCESS_NA = 4,
};

enum OID_STATUS : std::int32_t {
    STATUS_UNKNOWN = 0,
    STATUS_MANDATORY = 1,
    STATUS_OPTIONAL = 2,
    STATUS_OBSOLETE = 3,
    STATUS_DEPRECATED = 4,
    STATUS_CURRENT = 5,
};

std::string AccessString(std::int32_t access);
std::string StatusString(std::int32_t status);

// A camel-case label as words: lowerLayerDown gives "Lower Layer Down"; in a
// run of capitals every other one starts a word (ifHCInOctets: "If HC In Octets").
std::string CamelCaseWords(std::string_view label);

}  // namespace qlmib
