#include "OIDTypes.h"

#include <algorithm>
#include <limits>

#include "TextNumbers.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"

namespace qlmib {

OIDTypes::OIDTypes() {
    OpenDatabase();
    Refresh();
}

void OIDTypes::insert(Entry entry) {
    auto key = UpperAscii(entry->type_);
    if (!byKey_.emplace(std::move(key), entry).second)
        throw Error(ERR_DUPLICATE_KEY, "This key is already associated with an element of this collection");
    entries_.push_back(std::move(entry));
}

OIDTypes::Entry OIDTypes::Add(std::int16_t Value, std::string_view OIDType, std::string_view RootType) {
    if (auto existing = Item(OIDType)) return existing;
    Entry entry(new class OIDType(Value, std::string(OIDType), std::string(RootType)));
    insert(entry);
    return entry;
}

void OIDTypes::Clear() {
    entries_.clear();
    byKey_.clear();
}

OIDTypes::Entry OIDTypes::Item(std::string_view key) const {
    const auto it = byKey_.find(UpperAscii(key));
    return it == byKey_.end() ? nullptr : it->second;
}

OIDTypes::Entry OIDTypes::Item(std::int32_t position) const {
    if (position < 1 || position > Count()) return nullptr;
    return entries_[static_cast<size_t>(position - 1)];
}

void OIDTypes::eraseAt(size_t index) {
    byKey_.erase(UpperAscii(entries_[index]->type_));
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void OIDTypes::Remove(std::string_view key) {
    const auto entry = Item(key);
    if (!entry) throw Error(ERR_INVALID_CALL, "Invalid procedure call or argument");
    eraseAt(static_cast<size_t>(std::find(entries_.begin(), entries_.end(), entry) - entries_.begin()));
}

void OIDTypes::Remove(std::int32_t position) {
    if (position < 1 || position > Count()) throw Error(ERR_INVALID_CALL, "Invalid procedure call or argument");
    eraseAt(static_cast<size_t>(position - 1));
}

void OIDTypes::Refresh() {
    auto q = SharedDatabase().query(Query::TypesAll);
    while (q.step()) {
        const std::int64_t value = q.int64(2);
        if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
            throw Error(ERR_OVERFLOW, "Overflow");
        insert(Entry(new OIDType(static_cast<std::int16_t>(value), UpperAscii(q.textView(0)),
                                 UpperAscii(q.textView(1)))));
    }
}

std::int16_t OIDTypes::CodeOf(std::string_view syntax) const {
    const auto entry = Item(syntax);
    return entry ? entry->getValue() : 0;
}

}  // namespace qlmib
