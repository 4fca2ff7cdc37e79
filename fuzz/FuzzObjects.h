#pragma once
// A small MIB tree for the fuzz targets that look objects up: the upper
// levels, one object per parse keyword the value parser knows, an enumerated
// object and a table column, so that every branch of a lookup can be reached.

#include <array>
#include <cstdint>
#include <string>

#include <qlmib/mibdata/Database.h>

namespace fuzz {

struct FuzzObject {
    const char* oid;
    const char* name;
    int type;
    const char* typeName;
    const char* parse;
    const char* enumName;
    const char* units;
};

inline constexpr std::array<FuzzObject, 19> kFuzzObjects = {{
    {"1", "iso", 0, "", "", "", ""},
    {"1.3", "org", 0, "", "", "", ""},
    {"1.3.6", "dod", 0, "", "", "", ""},
    {"1.3.6.1", "internet", 0, "", "", "", ""},
    {"1.3.6.1.2.1", "mib-2", 0, "", "", "", ""},
    {"1.3.6.1.2.1.1.1", "sysDescr", 4, "DisplayString", "", "", ""},
    {"1.3.6.1.2.1.1.2", "sysObjectID", 6, "OBJECT-IDENTIFIER", "OBJECT", "", ""},
    {"1.3.6.1.2.1.1.3", "sysUpTime", 67, "TimeTicks", "", "", ""},
    {"1.3.6.1.2.1.1.7", "sysServices", 2, "INTEGER", "SERVICES", "", ""},
    {"1.3.6.1.2.1.2.2.1.5", "ifSpeed", 66, "Gauge32", "MBPS", "", "bits per second"},
    {"1.3.6.1.2.1.2.2.1.6", "ifPhysAddress", 4, "PhysAddress", "PHYSADDRESS", "", ""},
    {"1.3.6.1.2.1.2.2.1.8", "ifOperStatus", 2, "INTEGER", "", "ifOperStatus", ""},
    {"1.3.6.1.2.1.25.1.2", "hrSystemDate", 4, "DateAndTime", "DATEANDTIME", "", ""},
    {"1.3.6.1.2.1.25.2.2", "hrMemorySize", 2, "KBytes", "KBYTES", "", "KBytes"},
    {"1.3.6.1.2.1.4.20.1.1", "ipAdEntAddr", 64, "IpAddress", "INETADDRESS", "", ""},
    {"1.3.6.1.2.1.4.20.1.2", "ipList", 4, "OCTET-STRING", "IPADDRESSLIST", "", ""},
    {"1.3.6.1.2.1.17.1.3", "truth", 2, "TruthValue", "TRUTHVALUE", "", ""},
    {"1.3.6.1.4.1.9.2.1.58", "avgBusy5", 2, "INTEGER", "CISCONETWORKADDRESS", "", "percent"},
    {"1.3.6.1.4.1.14179.1.1", "rates", 4, "OCTET-STRING", "WIRELESSRATESET", "", ""},
}};

inline void AddFuzzObjects(qlmib::Database& db) {
    for (std::size_t i = 0; i < kFuzzObjects.size(); ++i) {
        const auto& o = kFuzzObjects[i];
        const std::string oid = o.oid;
        const auto dot = oid.rfind('.');
        auto insert = db.query(qlmib::Query::TreeInsert);
        insert.bind(qlmib::TW_OID, oid).bind(qlmib::TW_MIB, "FUZZ-MIB");
        insert.bind(qlmib::TW_PARENTOID, dot == std::string::npos ? std::string() : oid.substr(0, dot));
        insert.bind(qlmib::TW_NAME, o.name).bind(qlmib::TW_TYPEI, o.type).bind(qlmib::TW_TYPES, o.typeName);
        insert.bind(qlmib::TW_DESCRIPTION, "").bind(qlmib::TW_STATUS, 1).bind(qlmib::TW_ACCESS, 1);
        insert.bind(qlmib::TW_ENUM, o.enumName).bind(qlmib::TW_PARSE, o.parse).bind(qlmib::TW_UNITS, o.units);
        insert.bind(qlmib::TW_INSERT_INDEX,
                    static_cast<std::int64_t>(std::stoll(dot == std::string::npos ? oid : oid.substr(dot + 1))));
        insert.bind(qlmib::TW_INSERT_PRIMARY, -1).run();
    }
    db.exec("INSERT INTO Enums (Name, Value, Enum) VALUES ('ifOperStatus',1,'up'),('ifOperStatus',2,'down'),"
            "('ifOperStatus',-2147483648,'lowest'),('ifOperStatus',2147483647,'highest')");
}

}  // namespace fuzz
