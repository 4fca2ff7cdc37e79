#pragma once
// Points an OID object at the instances an agent answers with. The instances
// of one object (a table column) follow one another in a walk, so its row is
// looked up once: when nothing lies below the object in the database, the
// next instance only changes the suffix. What it learnt holds until Clear, so
// a control clears it when a walk or download starts and sees objects
// imported meanwhile.

#include <string>
#include <unordered_map>

namespace qlmib {
class OID;
}

namespace qlmib::live {

class InstanceLookup {
public:
    // As object.setOID(oid).
    void Point(OID& object, const std::string& oid);
    void Clear() { leaves_.clear(); }

private:
    std::unordered_map<std::string, bool> leaves_;  // by base OID: nothing lies below it
};

}  // namespace qlmib::live
