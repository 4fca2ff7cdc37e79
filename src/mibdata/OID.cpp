#include "OID.h"

#include <algorithm>
#include <vector>

#include "Parser.h"
#include "TextNumbers.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"

namespace qlmib {

OID::OID() { OpenDatabase(); }

OID& OID::Default() {
    thread_local OID object;
    return object;
}

namespace {

// How much of `text` `row` shares, in whole arcs of `text`, ignoring case as the queries do.
size_t sharedArcs(std::string_view text, std::string_view row) {
    size_t same = 0;
    while (same < text.size() && same < row.size() && EqualsNoCase(text.substr(same, 1), row.substr(same, 1))) ++same;
    if (same == text.size()) return same;
    while (same > 0 && text[same] != '.') --same;
    return same;
}

std::string columnText(const Statement& row, int column) {
    return row.isNull(column) ? std::string() : row.text(column);
}

}  // namespace

void OID::setOID(std::string_view text) {
    Clear();
    std::string cleaned(text);
    cleaned.erase(std::remove(cleaned.begin(), cleaned.end(), '"'), cleaned.end());
    // A ".0" ending is an instance suffix: the search starts without it.
    std::string_view search = cleaned;
    if (search.size() >= 2 && search.substr(search.size() - 2) == ".0") search.remove_suffix(2);

    // The object is the longest prefix of the text, in whole arcs, that has a
    // primary row. The primary row at or before the text in OID order is that
    // prefix when it is a prefix at all: a longer one would lie between them.
    // When it is not, no prefix is longer than the arcs the two share, and
    // the search goes on from there.
    auto& db = SharedDatabase();
    while (!search.empty()) {
        auto q = db.query(Query::TreePrimaryAtOrBefore);
        q.bindUncopied(1, search);
        if (!q.step()) return;
        const auto found = q.textView(TREE_OID);
        const size_t shared = sharedArcs(search, found);
        if (found.empty() || shared != found.size()) {
            search = search.substr(0, shared);
            continue;
        }
        suffix_ = cleaned.substr(shared);
        // Several modules define the OID: the ordered query says which of them speaks for it.
        if (q.int64(TREE_SHARED) > 1) {
            auto ordered = db.query(Query::TreePrimaryByOID);
            ordered.bindUncopied(1, search.substr(0, shared));
            if (ordered.step()) return loadRow(ordered);
        }
        return loadRow(q);
    }
}

void OID::setInstance(std::string_view suffix) {
    suffix_.assign(suffix);
    applySuffix();
}

void OID::applySuffix() {
    // Assigned in place: the instances of a walk reuse the buffers of the last one.
    oid_.assign(baseOID_).append(suffix_);
    index_.assign(suffix_, !suffix_.empty() && suffix_[0] == '.' ? 1 : 0);
    name_.assign(baseName_).append(suffix_);
    fullName_.assign(mib_).append(1, ':').append(name_);
}

bool OID::HasPrimaryBelow(std::string_view oid) {
    auto q = SharedDatabase().query(Query::TreePrimaryBelow);
    q.bind(1, std::string(oid) + ".").bind(2, std::string(oid) + "/");
    return q.step();
}

void OID::setFullName(std::string_view text) {
    if (text.substr(0, 4) == "1.2." || text.substr(0, 4) == "1.3.") {
        setOID(text);
        return;
    }
    auto& db = SharedDatabase();
    const auto colon = text.find(':');
    Statement q = colon == std::string_view::npos ? db.query(Query::TreeFirstPrimaryByName)
                                                   : db.query(Query::TreeFirstByModuleName);
    if (colon == std::string_view::npos) {
        q.bind(1, text);
    } else {
        q.bind(1, text.substr(0, colon)).bind(2, text.substr(colon + 1));
    }
    const bool found = q.step();
    Clear();
    if (found) loadRow(q);
}

void OID::setName(std::string_view descriptor) {
    auto q = SharedDatabase().query(Query::TreeFirstByName);
    q.bind(1, descriptor);
    const bool found = q.step();
    Clear();
    if (found) loadRow(q);
}

std::string OID::getLongName() const {
    if (oid_.empty()) return {};
    // Every prefix at each "." and the whole text; prefix lengths are distinct,
    // so a row found maps back to its prefix by length.
    std::vector<size_t> ends;
    for (size_t i = 0; i < oid_.size(); ++i)
        if (oid_[i] == '.') ends.push_back(i);
    ends.push_back(oid_.size());
    std::vector<std::string> names(ends.size());
    std::vector<bool> found(ends.size(), false);

    auto& db = SharedDatabase();
    for (size_t first = 0; first < ends.size(); first += kLongNameBatch) {
        const size_t last = std::min(ends.size(), first + kLongNameBatch);
        auto q = db.query(Query::TreeNamesByOIDs);
        for (size_t i = first; i < last; ++i)
            q.bind(static_cast<int>(i - first + 1), std::string_view(oid_).substr(0, ends[i]));
        while (q.step()) {
            const size_t length = q.textView(0).size();
            for (size_t i = first; i < last; ++i) {
                if (ends[i] == length) {
                    if (!found[i]) {
                        found[i] = true;
                        names[i] = q.text(1);
                    }
                    break;
                }
            }
        }
    }
    std::string out;
    size_t arcStart = 0;
    for (size_t i = 0; i < ends.size(); ++i) {
        if (i) out += '.';
        if (found[i]) out += names[i];
        else out.append(oid_, arcStart, ends[i] - arcStart);
        arcStart = ends[i] + 1;
    }
    return out;
}

void OID::loadRow(const Statement& row) {
    // A null column leaves its member as it was; columnText reads null as "".
    auto integer = [&](int column, std::int32_t& member) {
        if (!row.isNull(column)) member = static_cast<std::int32_t>(row.int64(column));
    };
    auto text = [&](int column, std::string& member) {
        if (!row.isNull(column)) member = row.text(column);
    };
    baseOID_ = columnText(row, TREE_OID);
    baseName_ = columnText(row, TREE_NAME);
    text(TREE_PARENTOID, parentOID_);
    text(TREE_MIB, mib_);
    applySuffix();
    integer(TREE_TYPEI, typeCode_);
    text(TREE_TYPES, typeName_);
    text(TREE_DESCRIPTION, description_);
    integer(TREE_STATUS, status_);
    integer(TREE_ACCESS, access_);
    text(TREE_ENUM, enumName_);
    parse_ = columnText(row, TREE_PARSE);
    units_ = columnText(row, TREE_UNITS);
    indexBy_ = columnText(row, TREE_INDEXBY);
    calculation_ = columnText(row, TREE_CALCULATION);
}

void OID::Clear() {
    oid_.clear();
    mib_.clear();
    suffix_.clear();
    name_.clear();
    baseName_.clear();
    fullName_.clear();
    typeName_.clear();
    enumName_.clear();
    parse_.clear();
    units_.clear();
    description_.clear();
    indexBy_.clear();
    status_ = access_ = typeCode_ = 0;
}

void OID::Sync() {
    auto& db = SharedDatabase();
    std::int64_t rowid = 0;
    {
        auto find = db.query(Query::TreeFirstRowidByOID);
        find.bind(1, oid_);
        if (find.step()) rowid = find.int64(0);
    }
    auto write = db.query(rowid ? Query::TreeUpdate : Query::TreeInsert);
    write.bind(TW_OID, oid_)
        .bind(TW_MIB, mib_)
        .bind(TW_PARENTOID, parentOID_)
        .bind(TW_NAME, name_)
        .bind(TW_TYPEI, typeCode_)
        .bind(TW_TYPES, typeName_)
        .bind(TW_DESCRIPTION, description_)
        .bind(TW_STATUS, status_)
        .bind(TW_ACCESS, access_)
        .bind(TW_ENUM, enumName_)
        .bind(TW_PARSE, parse_)
        .bind(TW_UNITS, units_);
    if (rowid) {
        write.bind(TW_ROWID, rowid);
    } else {
        write.bindNull(TW_INSERT_INDEX).bind(TW_INSERT_PRIMARY, kPrimaryTrue);
    }
    // From storing the row on, a failure (a read-only file, a full disk) is
    // ignored: the object keeps the values it was given.
    if (!IgnoringErrors([&] { write.run(); })) return;
    if (!rowid) rowid = db.lastInsertRowid();
    // The annotation columns may be missing from a database.
    if (db.treeHasIndexBy())
        IgnoringErrors([&] { db.query(Query::TreeUpdateIndexBy).bind(1, indexBy_).bind(2, rowid).run(); });
    if (db.treeHasCalculation())
        IgnoringErrors(
            [&] { db.query(Query::TreeUpdateCalculation).bind(1, calculation_).bind(2, rowid).run(); });
}

void OID::setParse(std::string v) {
    parse_ = std::move(v);
    Sync();
}

void OID::setUnits(std::string v) {
    units_ = std::move(v);
    Sync();
}

void OID::ShowOIDDetails() { ShowDetailsWindow(oid_); }

std::string OID::ParseValue(std::string_view Value, std::string_view HexValue) const {
    return qlmib::ParseValue(*this, Value, HexValue);
}

std::int32_t OID::OIDIndex(std::string_view oid) {
    const auto dot = oid.rfind('.');
    return RoundToInt32(LeadingNumber(dot == std::string_view::npos ? oid : oid.substr(dot + 1)));
}

// ---- enumerations ------------------------------------------------------------

namespace {

// The label of one number, if a row has it; a null label is flagged.
struct Label {
    bool found = false;
    bool isNull = false;
    std::string text;
};

Label lookupLabel(const std::string& enumeration, std::int64_t value) {
    auto q = SharedDatabase().query(Query::EnumLabel);
    q.bind(1, enumeration).bind(2, value);
    Label label;
    if (q.step()) {
        label.found = true;
        label.isNull = q.isNull(1);
        label.text = q.text(1);
    }
    return label;
}

}  // namespace

std::string OID::EnumString(std::int64_t Value) const {
    const auto label = lookupLabel(enumName_, Value);
    return (label.found ? label.text : std::string("unknown")) + "(" + std::to_string(Value) + ")";
}

std::string OID::EnumName(std::int64_t Value, std::string_view Default) const {
    const auto label = lookupLabel(enumName_, Value);
    if (label.found) {
        if (label.isNull) throw Error(ERR_TYPE_MISMATCH, "Type mismatch");
        return label.text;
    }
    return Default.empty() ? std::to_string(Value) : std::string(Default);
}

std::string OID::EnumWords(std::int64_t Value, std::string_view Default) const {
    return CamelCaseWords(EnumName(Value, Default));
}

std::string OID::EnumList() const {
    if (enumName_.empty()) return {};
    auto q = SharedDatabase().query(Query::EnumsByName);
    q.bind(1, enumName_);
    std::string out;
    while (q.step()) {
        const std::string value = std::to_string(q.int64(0));
        if (!out.empty()) out += '|';
        out += '#';
        out += value;
        out += ';';
        out += q.textView(1);
        out += '(';
        out += value;
        out += ')';
    }
    return out;
}

}  // namespace qlmib
