#pragma once
// A small MIB database: the path down to system and interfaces, a few
// objects of every kind the data layer distinguishes, an enumerated object
// with units, and a module and descriptor holding quotes.

#include <gtest/gtest.h>

#include <qlmib/mibdata/Database.h>

#include "TestHome.h"

namespace qlmib::test {

class MibFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto& db = home.db();
        Transaction tx(db);
        const TreeRow rows[] = {
            {.oid = "1", .name = "iso", .mib = "SNMPv2-SMI"},
            {.oid = "1.3", .name = "org", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6", .name = "dod", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1", .name = "internet", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.2", .name = "mgmt", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.2.1", .name = "mib-2", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.2.1.1", .name = "system", .mib = "SNMPv2-MIB"},
            {.oid = "1.3.6.1.2.1.1.1", .name = "sysDescr", .mib = "SNMPv2-MIB", .typeS = "DisplayString",
             .typeI = 4, .access = 1, .status = 5, .description = "A textual description of the entity."},
            {.oid = "1.3.6.1.2.1.1.1", .name = "sysDescr", .mib = "RFC1213-MIB", .typeS = "DisplayString",
             .typeI = 4, .access = 1, .status = 1, .description = "Old description.", .primary = false},
            {.oid = "1.3.6.1.2.1.1.2", .name = "sysObjectID", .mib = "SNMPv2-MIB", .typeS = "OBJECT-IDENTIFIER",
             .typeI = 6, .access = 1, .status = 5},
            {.oid = "1.3.6.1.2.1.1.3", .name = "sysUpTime", .mib = "SNMPv2-MIB", .typeS = "TimeTicks",
             .typeI = 67, .access = 1, .status = 5},
            {.oid = "1.3.6.1.2.1.1.7", .name = "sysServices", .mib = "SNMPv2-MIB", .typeS = "INTEGER",
             .typeI = 2, .access = 1, .status = 5},
            {.oid = "1.3.6.1.2.1.2", .name = "interfaces", .mib = "IF-MIB"},
            {.oid = "1.3.6.1.2.1.2.2", .name = "ifTable", .mib = "IF-MIB", .typeS = "SEQUENCE", .access = 4},
            {.oid = "1.3.6.1.2.1.2.2.1", .name = "ifEntry", .mib = "IF-MIB", .typeS = "IfEntry", .access = 4},
            {.oid = "1.3.6.1.2.1.2.2.1.6", .name = "ifPhysAddress", .mib = "IF-MIB", .typeS = "PhysAddress",
             .typeI = 4, .access = 1, .status = 5},
            {.oid = "1.3.6.1.2.1.2.2.1.7", .name = "ifAdminStatus", .mib = "IF-MIB", .typeS = "INTEGER",
             .typeI = 2, .access = 2, .status = 5, .enumName = "ifAdminStatus",
             .description = "The desired state of the interface.", .units = "states"},
            {.oid = "1.3.6.1.2.1.2.2.1.10", .name = "ifInOctets", .mib = "IF-MIB", .typeS = "Counter32",
             .typeI = 65, .access = 1, .status = 5, .units = "octets,per interface"},
            {.oid = "1.3.6.1.4.1.9.9.1", .name = "o'brien\"s", .mib = "QUO'TE\"MIB", .typeS = "INTEGER"},
        };
        for (const auto& row : rows) insertRow(db, row);
        insertEnum(db, "ifAdminStatus", 1, "up");
        insertEnum(db, "ifAdminStatus", 2, "down");
        insertEnum(db, "ifAdminStatus", 3, "testing");
        tx.commit();
    }

    TestHome home;
};

}  // namespace qlmib::test
