#include "AnswerLookups.h"

#include "Answers.h"
#include "ValueCells.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"

namespace qlmib::live {

AnswerLookups::AnswerLookups() = default;
AnswerLookups::~AnswerLookups() = default;

void AnswerLookups::beforeQuery() {
    if (answers_ > 0 && !batch_) batch_ = std::make_unique<ReadBatch>(SharedDatabase());
}

void AnswerLookups::Point(OID& object, const std::string& oid) {
    // An answer is shown whatever the database can say of it: a lookup that
    // fails leaves the object empty.
    IgnoringErrors([&] { point(object, oid); });
}

void AnswerLookups::point(OID& object, const std::string& oid) {
    const std::string& base = object.getBaseOID();
    // Only a second instance of the object held asks whether it is a leaf:
    // scalars, one instance each, cost no more than one lookup.
    if (!base.empty() && !object.getOID().empty() && IsUnder(oid, base)) {
        auto [known, added] = leaves_.try_emplace(base, false);
        if (added) {
            beforeQuery();
            known->second = !OID::HasPrimaryBelow(base);
        }
        if (known->second) {
            object.setInstance(std::string_view(oid).substr(base.size()));
            return;
        }
    }
    beforeQuery();
    object.setOID(oid);
}

std::string AnswerLookups::Parse(const OID& object, std::string_view value, std::string_view hexValue) {
    const std::string& enumeration = object.getEnumerated();
    if (enumeration.empty()) return ParsedText(object, value, hexValue);
    std::string key;
    key.reserve(enumeration.size() + 1 + value.size());
    key.append(enumeration).append(1, '\0').append(value);
    auto [known, added] = enumerated_.try_emplace(std::move(key));
    if (added) {
        beforeQuery();
        known->second = ParsedText(object, value, hexValue);
    }
    return known->second;
}

void AnswerLookups::Clear() {
    leaves_.clear();
    enumerated_.clear();
}

void AnswerLookups::EndAnswer() {
    if (--answers_ == 0) batch_.reset();
}

}  // namespace qlmib::live
