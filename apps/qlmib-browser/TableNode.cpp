#include "TableNode.h"

#include <qlmib/mibdata/TextNumbers.h>
#include <qlmib/mibdata/OID.h>

namespace qlmib::browser {

bool IsTableNode(const OID& object) {
    if (object.getOID().empty()) return false;
    // Tables are SEQUENCE OF: the table, then up to two levels below it.
    const OID* level = &object;
    OID ancestors[2];
    for (int up = 0; up < 3; ++up) {
        if (EqualsNoCase(level->getTypeString(), "SEQUENCE")) return true;
        if (up == 2 || level->getParentOID().empty()) break;
        ancestors[up].setOID(level->getParentOID());
        level = &ancestors[up];
    }
    return false;
}

}  // namespace qlmib::browser
