#pragma once
// The type catalogue: type names (SYNTAX as written in modules) with their
// base type and type code, as a keyed collection in load order. Keys ignore case.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qlmib {

class OIDType {
public:
    const std::string& getRootType() const { return rootType_; }
    const std::string& getOIDType() const { return type_; }
    std::int16_t getValue() const { return value_; }

private:
    friend class OIDTypes;
    OIDType(std::int16_t value, std::string type, std::string root)
        : rootType_(std::move(root)), type_(std::move(type)), value_(value) {}

    std::string rootType_;
    std::string type_;
    std::int16_t value_;
};

class OIDTypes {
public:
    using Entry = std::shared_ptr<OIDType>;

    // Loads the Types table; throws Error on a duplicate name or a code
    // beyond 16 bits.
    OIDTypes();

    // The entry under key OIDType if there is one, else a new entry at the end.
    Entry Add(std::int16_t Value, std::string_view OIDType, std::string_view RootType);
    void Clear();
    // By key (any case) or by position from 1; null when there is none.
    Entry Item(std::string_view key) const;
    Entry Item(std::int32_t position) const;
    std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
    // Throws Error(ERR_INVALID_CALL) for an unknown key or position.
    void Remove(std::string_view key);
    void Remove(std::int32_t position);
    // Appends every row of the Types table; does not empty the collection first.
    void Refresh();

    // The type code of a syntax, 0 when the catalogue does not know it.
    std::int16_t CodeOf(std::string_view syntax) const;

    // Entries in order (the collection's enumerator).
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    void insert(Entry entry);
    void eraseAt(size_t index);

    std::vector<Entry> entries_;
    std::unordered_map<std::string, Entry> byKey_;  // upper-case key
};

}  // namespace qlmib
