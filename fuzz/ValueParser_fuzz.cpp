// Raw values through the value parser for objects of every parse keyword.
// The first byte picks the object; the rest is the value, then (after the
// first NUL) its hex digits. Only qlmib::Error may leave the parser.

#include <cstdint>
#include <string_view>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/OID.h>

#include "FuzzHome.h"
#include "FuzzObjects.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::AddFuzzObjects(fuzz::MakeHome());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto& picked = fuzz::kFuzzObjects[data[0] % fuzz::kFuzzObjects.size()];
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto nul = input.find('\0');
    const auto value = input.substr(0, nul);
    const auto hex = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
    qlmib::OID object;
    object.setOID(picked.oid);
    fuzz::Check(object.getOID() == picked.oid, "a stored object is found by its OID");
    try {
        object.ParseValue(value, hex);
    } catch (const qlmib::Error&) {
    }
    return 0;
}
