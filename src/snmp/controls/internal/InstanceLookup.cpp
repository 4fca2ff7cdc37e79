#include "InstanceLookup.h"

#include "Answers.h"
#include "qlmib/mibdata/OID.h"

namespace qlmib::live {

void InstanceLookup::Point(OID& object, const std::string& oid) {
    const std::string& base = object.getBaseOID();
    // Only a second instance of the object held asks whether it is a leaf:
    // scalars, one instance each, cost no more than one lookup.
    if (!base.empty() && !object.getOID().empty() && IsUnder(oid, base)) {
        auto [known, added] = leaves_.try_emplace(base, false);
        if (added) known->second = !OID::HasPrimaryBelow(base);
        if (known->second) {
            object.setInstance(std::string_view(oid).substr(base.size()));
            return;
        }
    }
    object.setOID(oid);
}

}  // namespace qlmib::live
