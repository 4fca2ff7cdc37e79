#pragma once
// A MIB database for the tree controls: the roots with folders at several
// levels, a table with its entry and columns, a trap, a deep enterprise
// branch of a module whose name holds a quote, and custom icons (one that is
// a picture, one that is not).

#include <gtest/gtest.h>

#include <string>

#include <qlmib/mibdata/Database.h>
#include <qlmib/ui/HeadlessToolkit.h>

#include "TestHome.h"
#include "TreeControlSupport.h"

namespace qlmib::test {

inline const char* kQuoteModule = "O'REILLY\"MIB";

class TreeControlFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto& db = home.db();
        Transaction tx(db);
        const TreeRow rows[] = {
            {.oid = "0", .name = "ccitt", .mib = "SNMPv2-SMI"},
            {.oid = "0.0", .name = "zeroDotZero", .mib = "SNMPv2-SMI"},
            {.oid = "1", .name = "iso", .mib = "SNMPv2-SMI"},
            {.oid = "1.0", .name = "std", .mib = "SNMPv2-SMI"},
            {.oid = "1.0.8802", .name = "iso8802", .mib = "SNMPv2-SMI"},
            {.oid = "1.2", .name = "member-body", .mib = "SNMPv2-SMI"},
            {.oid = "1.2.840", .name = "us", .mib = "SNMPv2-SMI"},
            {.oid = "1.3", .name = "org", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6", .name = "dod", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1", .name = "internet", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.2", .name = "mgmt", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.2.1", .name = "mib-2", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.4", .name = "private", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.4.1", .name = "enterprises", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.1", .name = "directory", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.6", .name = "snmpV2", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.2.1.1", .name = "system", .mib = "SNMPv2-MIB"},
            {.oid = "1.3.6.1.2.1.1.1", .name = "sysDescr", .mib = "SNMPv2-MIB", .typeS = "DisplayString",
             .typeI = 4, .access = 1, .status = 5, .description = "A textual description of the entity.",
             .units = "characters"},
            {.oid = "1.3.6.1.2.1.1.1", .name = "sysDescr", .mib = "RFC1213-MIB", .typeS = "DisplayString",
             .status = 1, .primary = false},
            {.oid = "1.3.6.1.2.1.1.2", .name = "sysObjectID", .mib = "SNMPv2-MIB", .typeS = "OBJECT-IDENTIFIER",
             .typeI = 6, .access = 1, .status = 5},
            {.oid = "1.3.6.1.2.1.2", .name = "interfaces", .mib = "IF-MIB"},
            {.oid = "1.3.6.1.2.1.2.1", .name = "ifNumber", .mib = "IF-MIB", .typeS = "Integer32", .typeI = 2},
            {.oid = "1.3.6.1.2.1.2.2", .name = "ifTable", .mib = "IF-MIB", .typeS = "SEQUENCE", .access = 4},
            {.oid = "1.3.6.1.2.1.2.2.1", .name = "ifEntry", .mib = "IF-MIB", .typeS = "IfEntry", .access = 4},
            {.oid = "1.3.6.1.2.1.2.2.1.2", .name = "ifDescr", .mib = "IF-MIB", .typeS = "DisplayString"},
            {.oid = "1.3.6.1.2.1.2.2.1.1", .name = "ifIndex", .mib = "IF-MIB", .typeS = "InterfaceIndex"},
            {.oid = "1.3.6.1.2.1.2.2.1.7", .name = "ifAdminStatus", .mib = "IF-MIB", .typeS = "INTEGER",
             .typeI = 2, .access = 2, .status = 5, .enumName = "ifAdminStatus",
             .description = "The desired state of the interface.", .units = "states"},
            {.oid = "1.3.6.1.6.3", .name = "snmpModules", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.6.3.1", .name = "snmpMIB", .mib = "SNMPv2-MIB"},
            {.oid = "1.3.6.1.6.3.1.1", .name = "snmpMIBObjects", .mib = "SNMPv2-MIB"},
            {.oid = "1.3.6.1.6.3.1.1.5", .name = "snmpTraps", .mib = "SNMPv2-MIB"},
            {.oid = "1.3.6.1.6.3.1.1.5.1", .name = "coldStart", .mib = "SNMPv2-MIB", .typeS = "trap",
             .description = "A coldStart trap."},
            // Six levels below the deepest node that Refresh loads (private's children).
            {.oid = "1.3.6.1.4.1.9999", .name = "acme", .mib = kQuoteModule},
            {.oid = "1.3.6.1.4.1.9999.1", .name = "acmeObjects", .mib = kQuoteModule},
            {.oid = "1.3.6.1.4.1.9999.1.2", .name = "acmeTable", .mib = kQuoteModule, .typeS = "SEQUENCE"},
            {.oid = "1.3.6.1.4.1.9999.1.2.3", .name = "acmeEntry", .mib = kQuoteModule, .typeS = "ACMEENTRY"},
            {.oid = "1.3.6.1.4.1.9999.1.2.3.4", .name = "o'brien\"s", .mib = kQuoteModule,
             .typeS = "Integer32", .typeI = 2, .access = 1, .status = 5, .description = "Who's \"quoted\".",
             .units = "quotes"},
            {.oid = "1.3.6.1.4.1.9999.2", .name = "acmeBadIcon", .mib = kQuoteModule},
        };
        for (const auto& row : rows) insertRow(db, row);
        insertEnum(db, "ifAdminStatus", 1, "up");
        insertEnum(db, "ifAdminStatus", 2, "down");
        insertIcon(db, "1.3.6.1.4.1.9999", pngHeader(16, 16));
        insertIcon(db, "1.3.6.1.4.1.9999.2", "not a picture");
        tx.commit();
    }

    TestHome home;
    ui::HeadlessToolkit toolkit;
};

}  // namespace qlmib::test
