#include "Answers.h"

#include <charconv>

#include "qlmib/snmp/Engine.h"

namespace qlmib::live {

bool IsUnder(std::string_view oid, std::string_view root) {
    return oid.size() > root.size() && oid[root.size()] == '.' && oid.substr(0, root.size()) == root;
}

std::int32_t TagRow(std::string_view tag) {
    const auto comma = tag.find(',');
    if (comma == std::string_view::npos) return -1;
    std::int32_t row = -1;
    const auto digits = tag.substr(comma + 1);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), row);
    return ec == std::errc() && end == digits.data() + digits.size() ? row : -1;
}

bool EndsWalk(long errorCode) {
    return errorCode == snmp::ENGINE_END_OF_MIB_VIEW || errorCode == snmp::ENGINE_OID_NOT_INCREASING ||
           errorCode == snmp::ENGINE_ERROR_STATUS + 2;  // SNMPv1's noSuchName past the last object
}

std::vector<std::string> SplitAtCommas(std::string_view text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace qlmib::live
