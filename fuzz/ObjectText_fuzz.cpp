// OID and object-name text as a user types it: a dotted OID with an instance,
// a descriptor, MODULE:descriptor, quoted text. A lookup either finds nothing
// or an object whose OID is a prefix of what it was given.

#include <cstdint>
#include <string>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/OID.h>

#include "FuzzHome.h"
#include "FuzzObjects.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::AddFuzzObjects(fuzz::MakeHome());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    qlmib::OID object;
    object.setOID(text);
    if (!object.getBaseOID().empty()) {
        std::string unquoted = text;
        std::erase(unquoted, '"');
        fuzz::Check(unquoted.starts_with(object.getBaseOID()), "the object found is a prefix of the OID given");
        fuzz::Check(object.getOID().starts_with(object.getBaseOID()), "the instance follows the object's OID");
        object.getLongName();
    }
    object.setFullName(text);
    object.getLongName();
    object.setName(text);
    fuzz::Check(object.getBaseOID().empty() || object.getName() == object.getBaseName(), "a name has no instance");
    return 0;
}
