#pragma once
// Whether an object can be downloaded as a table: a table, its entry or
// one of its columns.

namespace qlmib {
class OID;
}

namespace qlmib::browser {

bool IsTableNode(const OID& object);

}  // namespace qlmib::browser
