#include "FindTarget.h"

#include <cctype>

#include <qlmib/mibdata/CommonFunctions.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>
#include <qlmib/mibdata/Queries.h>

namespace qlmib::browser {

namespace {

bool looksNumeric(std::string_view text) {
    return !text.empty() && (std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.');
}

}  // namespace

std::string FindTarget(const std::string& typed) {
    std::string text{TrimBlanks(typed)};
    if (text.empty()) return {};
    if (looksNumeric(text)) {
        if (text.front() == '.') text.erase(0, 1);
        OID object;
        object.setOID(text);
        // The tree shows objects, not instances.
        return object.getBaseOID().empty() ? object.getOID() : object.getBaseOID();
    }
    auto& db = SharedDatabase();
    {
        auto exact = db.query(Query::TreeOIDByName);
        exact.bind(1, text);
        if (exact.step()) return exact.text(0);
    }
    if (text.find(':') != std::string::npos) {
        OID object;
        object.setFullName(text);
        return object.getOID();
    }
    // Typed so far: the first name that starts with it.
    auto prefix = db.query(Query::TreeOIDByNamePrefix);
    prefix.bind(1, text + '%');
    return prefix.step() ? prefix.text(0) : std::string{};
}

}  // namespace qlmib::browser
