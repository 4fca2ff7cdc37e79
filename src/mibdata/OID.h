#pragma once
// One MIB object, or one instance of it, as the MIB database describes it.
// Assigning an OID, a name or MODULE:name looks the row up and loads it,
// keeping an instance suffix (".0", ".5.6") apart. Thread affinity: an OID
// uses the MIB database connection of the thread that uses it.

#include <cstdint>
#include <string>
#include <string_view>

#include "qlmib/mibdata/Vocabulary.h"

namespace qlmib {

class Statement;

class OID {
public:
    OID();

    // The thread's default object, for callers that use OID's members
    // without creating an object of their own.
    static OID& Default();

    const std::string& getOID() const { return oid_; }
    void setOID(std::string_view oid);

    void ShowOIDDetails();

    bool getSkip() const { return skip_; }
    void setSkip(bool v) { skip_ = v; }
    const std::string& getKey() const { return key_; }
    void setKey(std::string v) { key_ = std::move(v); }
    const std::string& getParentOID() const { return parentOID_; }
    void setParentOID(std::string v) { parentOID_ = std::move(v); }
    const std::string& getIndexBy() const { return indexBy_; }
    void setIndexBy(std::string v) { indexBy_ = std::move(v); }
    const std::string& getCalculation() const { return calculation_; }
    void setCalculation(std::string v) { calculation_ = std::move(v); }
    std::int16_t getLine() const { return line_; }
    void setLine(std::int16_t v) { line_ = v; }
    const std::string& getIndex() const { return index_; }
    void setIndex(std::string v) { index_ = std::move(v); }
    const std::string& getMIB() const { return mib_; }
    void setMIB(std::string v) { mib_ = std::move(v); }

    // Points the object at another instance of the object it holds, without a
    // lookup: `suffix` (".0", ".5.6") replaces the instance suffix. The result
    // equals setOID(getBaseOID() + suffix) only while no primary row lies below
    // the base OID (see HasPrimaryBelow).
    void setInstance(std::string_view suffix);
    // Whether the database holds a primary row whose OID lies below `oid`.
    static bool HasPrimaryBelow(std::string_view oid);

    const std::string& getFullName() const { return fullName_; }
    // A text starting "1.2." or "1.3." is an OID; else NAME or MODULE:NAME.
    void setFullName(std::string_view fullName);
    // Descriptors of every named prefix, numbers for the rest (iso.org.dod.internet...).
    std::string getLongName() const;
    const std::string& getName() const { return name_; }
    void setName(std::string_view descriptor);
    const std::string& getDescription() const { return description_; }
    void setDescription(std::string v) { description_ = std::move(v); }

    OID_STATUS getStatus() const { return static_cast<OID_STATUS>(status_); }
    std::string getStatusString() const { return StatusString(status_); }
    OID_ACCESS getAccess() const { return static_cast<OID_ACCESS>(access_); }
    std::string getAccessString() const { return AccessString(access_); }
    std::int32_t getTypeInteger() const { return typeCode_; }
    const std::string& getTypeString() const { return typeName_; }
    const std::string& getEnumerated() const { return enumName_; }

    const std::string& getParse() const { return parse_; }
    void setParse(std::string v);   // stores, then Sync
    const std::string& getUnits() const { return units_; }
    void setUnits(std::string v);   // stores, then Sync

    const std::string& getBaseName() const { return baseName_; }
    const std::string& getBaseOID() const { return baseOID_; }

    // A raw SNMP value as readable text (see Parser.h).
    std::string ParseValue(std::string_view Value, std::string_view HexValue) const;

    // Empties the looked-up fields; base OID, parent OID, index,
    // calculation and the caller's line, skip and key stay.
    void Clear();
    // Writes the object back to the first Tree row of its full OID, or adds one.
    void Sync();
    // The number after the last "." of a text (12 for 1.3.6.1.2.1.2.2.1.1.12); 0 when none.
    static std::int32_t OIDIndex(std::string_view oid);

    // label(value), or unknown(value).
    std::string EnumString(std::int64_t Value) const;
    // The label, else Default, else the number.
    std::string EnumName(std::int64_t Value, std::string_view Default = "unknown") const;
    // EnumName written as words ("lowerLayerDown" as "Lower Layer Down").
    std::string EnumWords(std::int64_t Value, std::string_view Default = "Unknown") const;
    // Drop-down list text: #1;up(1)|#2;down(2).
    std::string EnumList() const;

private:
    void loadRow(const Statement& row);
    // Derives OID, index, name and full name from the base fields and the suffix.
    void applySuffix();

    std::string oid_, baseOID_, parentOID_, index_, suffix_, mib_;
    std::string fullName_, name_, baseName_, description_;
    std::int32_t status_ = 0, access_ = 0, typeCode_ = 0;
    std::string typeName_, enumName_, units_, parse_, indexBy_, calculation_;
    std::int16_t line_ = 0;
    bool skip_ = false;
    std::string key_;
};

}  // namespace qlmib
