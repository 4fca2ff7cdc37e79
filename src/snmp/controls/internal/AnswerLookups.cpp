#include "AnswerLookups.h"

#include "Answers.h"
#include "ValueCells.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"

namespace qlmib::live {

AnswerLookups::AnswerLookups() = default;
AnswerLookups::~AnswerLookups() { Release(); }

void AnswerLookups::beforeQuery() {
    if (answers_ == 0) return;
    auto& db = SharedDatabase();
    if (!db.holdRead()) return;
    holding_ = true;
    // Nothing can be committed while the transaction is held; between two of
    // them an import may have changed any row.
    const auto stamp = db.changeStamp();
    if (stamp != stamp_) {
        Clear();
        stamp_ = stamp;
    }
}

void AnswerLookups::Point(OID& object, const std::string& oid) {
    // An answer is shown whatever the database can say of it: a lookup that
    // fails leaves the object empty.
    IgnoringErrors([&] { beforeQuery(); });
    IgnoringErrors([&] { point(object, oid); });
}

void AnswerLookups::point(OID& object, const std::string& oid) {
    const std::string& base = object.getBaseOID();
    // An object loaded before the last Clear may hold rows that changed since.
    const auto known = base.empty() || object.getOID().empty() ? loaded_.end() : loaded_.find(base);
    if (known != loaded_.end() && IsUnder(oid, base)) {
        // Only a second instance asks whether the object is a leaf: scalars,
        // one instance each, cost no more than one lookup.
        if (known->second == Below::Unasked)
            known->second = OID::HasPrimaryBelow(base) ? Below::Objects : Below::Nothing;
        if (known->second == Below::Nothing) {
            object.setInstance(std::string_view(oid).substr(base.size()));
            return;
        }
    }
    object.setOID(oid);
    if (!object.getBaseOID().empty()) loaded_.try_emplace(object.getBaseOID(), Below::Unasked);
}

std::string AnswerLookups::Parse(const OID& object, std::string_view value, std::string_view hexValue) {
    // Without the transaction the statements still run, each on its own.
    IgnoringErrors([&] { beforeQuery(); });
    const std::string& enumeration = object.getEnumerated();
    if (enumeration.empty()) return ParsedText(object, value, hexValue);
    std::string key;
    key.reserve(enumeration.size() + 1 + value.size());
    key.append(enumeration).append(1, '\0').append(value);
    auto [known, added] = enumerated_.try_emplace(std::move(key));
    if (added) known->second = ParsedText(object, value, hexValue);
    return known->second;
}

void AnswerLookups::Clear() {
    loaded_.clear();
    enumerated_.clear();
}

void AnswerLookups::EndAnswer(bool linger) {
    if (--answers_ == 0 && !linger) Release();
}

void AnswerLookups::Release() noexcept {
    if (!holding_) return;
    holding_ = false;
    IgnoringErrors([] { SharedDatabase().releaseRead(); });
}

}  // namespace qlmib::live
