#pragma once
// A MIB database for the tree controls: the roots with folders at several
// levels, a table with its entry and columns, a trap, a deep enterprise
// branch of a module whose name holds a quote, and custom icons (one that is
// a picture, one that is not). TreeControlFixture adds the control under
// test, `tree`, and `selected`, the OIDs its SelectionChanged reported.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/OID.h>
#include <qlmib/ui/HeadlessToolkit.h>

#include "TestHome.h"
#include "TreeControlSupport.h"

namespace qlmib::test {

inline const char* kQuoteModule = "O'REILLY\"MIB";

class TreeDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        auto& db = home.db();
        Transaction tx(db);
        // Folders: OID, name and module.
        const char* const folders[][3] = {
            {"0", "ccitt", "SNMPv2-SMI"}, {"0.0", "zeroDotZero", "SNMPv2-SMI"}, {"1", "iso", "SNMPv2-SMI"},
            {"1.0", "std", "SNMPv2-SMI"}, {"1.0.8802", "iso8802", "SNMPv2-SMI"},
            {"1.2", "member-body", "SNMPv2-SMI"}, {"1.2.840", "us", "SNMPv2-SMI"}, {"1.3", "org", "SNMPv2-SMI"},
            {"1.3.6", "dod", "SNMPv2-SMI"}, {"1.3.6.1", "internet", "SNMPv2-SMI"},
            {"1.3.6.1.2", "mgmt", "SNMPv2-SMI"}, {"1.3.6.1.2.1", "mib-2", "SNMPv2-SMI"},
            {"1.3.6.1.4", "private", "SNMPv2-SMI"}, {"1.3.6.1.4.1", "enterprises", "SNMPv2-SMI"},
            {"1.3.6.1.1", "directory", "SNMPv2-SMI"}, {"1.3.6.1.6", "snmpV2", "SNMPv2-SMI"},
            {"1.3.6.1.2.1.1", "system", "SNMPv2-MIB"}, {"1.3.6.1.2.1.2", "interfaces", "IF-MIB"},
            {"1.3.6.1.6.3", "snmpModules", "SNMPv2-SMI"}, {"1.3.6.1.6.3.1", "snmpMIB", "SNMPv2-MIB"},
            {"1.3.6.1.6.3.1.1", "snmpMIBObjects", "SNMPv2-MIB"}, {"1.3.6.1.6.3.1.1.5", "snmpTraps", "SNMPv2-MIB"},
            // Six levels below the deepest node that Refresh loads (private's children).
            {"1.3.6.1.4.1.9999", "acme", kQuoteModule}, {"1.3.6.1.4.1.9999.1", "acmeObjects", kQuoteModule},
            {"1.3.6.1.4.1.9999.2", "acmeBadIcon", kQuoteModule},
        };
        for (const auto& [oid, name, mib] : folders) insertRow(db, {.oid = oid, .name = name, .mib = mib});
        const TreeRow rows[] = {
            {.oid = "1.3.6.1.2.1.1.1", .name = "sysDescr", .mib = "SNMPv2-MIB", .typeS = "DisplayString",
             .typeI = 4, .access = 1, .status = 5, .description = "A textual description of the entity.",
             .units = "characters"},
            {.oid = "1.3.6.1.2.1.1.1", .name = "sysDescr", .mib = "RFC1213-MIB", .typeS = "DisplayString",
             .status = 1, .primary = false},
            {.oid = "1.3.6.1.2.1.1.2", .name = "sysObjectID", .mib = "SNMPv2-MIB", .typeS = "OBJECT-IDENTIFIER",
             .typeI = 6, .access = 1, .status = 5},
            {.oid = "1.3.6.1.2.1.2.1", .name = "ifNumber", .mib = "IF-MIB", .typeS = "Integer32", .typeI = 2},
            {.oid = "1.3.6.1.2.1.2.2", .name = "ifTable", .mib = "IF-MIB", .typeS = "SEQUENCE", .access = 4},
            {.oid = "1.3.6.1.2.1.2.2.1", .name = "ifEntry", .mib = "IF-MIB", .typeS = "IfEntry", .access = 4},
            {.oid = "1.3.6.1.2.1.2.2.1.2", .name = "ifDescr", .mib = "IF-MIB", .typeS = "DisplayString"},
            {.oid = "1.3.6.1.2.1.2.2.1.1", .name = "ifIndex", .mib = "IF-MIB", .typeS = "InterfaceIndex"},
            {.oid = "1.3.6.1.2.1.2.2.1.7", .name = "ifAdminStatus", .mib = "IF-MIB", .typeS = "INTEGER",
             .typeI = 2, .access = 2, .status = 5, .enumName = "ifAdminStatus",
             .description = "The desired state of the interface.", .units = "states"},
            {.oid = "1.3.6.1.6.3.1.1.5.1", .name = "coldStart", .mib = "SNMPv2-MIB", .typeS = "trap",
             .description = "A coldStart trap."},
            {.oid = "1.3.6.1.4.1.9999.1.2", .name = "acmeTable", .mib = kQuoteModule, .typeS = "SEQUENCE"},
            {.oid = "1.3.6.1.4.1.9999.1.2.3", .name = "acmeEntry", .mib = kQuoteModule, .typeS = "ACMEENTRY"},
            {.oid = "1.3.6.1.4.1.9999.1.2.3.4", .name = "o'brien\"s", .mib = kQuoteModule,
             .typeS = "Integer32", .typeI = 2, .access = 1, .status = 5, .description = "Who's \"quoted\".",
             .units = "quotes"},
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

template <class Control>
class TreeControlFixture : public TreeDatabase {
protected:
    void SetUp() override {
        TreeDatabase::SetUp();
        subscriptions.push_back(tree.SelectionChanged.subscribe([this](OID& o) { selected.push_back(o.getOID()); }));
    }
    std::int32_t row(const std::string& oid) const { return tree.Tree.FindRow("O:" + oid); }

    Control tree{toolkit};
    std::vector<std::string> selected;
    std::vector<Subscription> subscriptions;
};

}  // namespace qlmib::test
