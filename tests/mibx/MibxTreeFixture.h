#pragma once
// A MIB-X file of a module under enterprises, with the database rows above
// it, for the MIB-X tree and the mibx command.

#include <string>

#include <qlmib/mibdata/Database.h>

#include "MibxFixture.h"
#include "TreeControlSupport.h"

namespace qlmib::test {

// Objects out of number order, one whose parent is nowhere, one with a custom icon.
inline const char* kAcmeObjects =
    "<acme><OID>1.3.6.1.4.1.9999</OID><SYNTAX></SYNTAX></acme>"
    "<acmeLast><OID>1.3.6.1.4.1.9999.3</OID><SYNTAX>DisplayString</SYNTAX></acmeLast>"
    "<acmeTable><OID>1.3.6.1.4.1.9999.1</OID><SYNTAX>SEQUENCE</SYNTAX></acmeTable>"
    "<acmeEntry><OID>1.3.6.1.4.1.9999.1.1</OID><SYNTAX>AcmeEntry</SYNTAX></acmeEntry>"
    "<acmeValue>\n  <OID>1.3.6.1.4.1.9999.1.1.1</OID>\n  <SYNTAX>Integer32</SYNTAX>\n"
    "  <ACCESS>read-only</ACCESS>\n  <STATUS>current</STATUS>\n  <DESCRIPTION>The value.</DESCRIPTION>\n"
    "  <VALUE>42</VALUE>\n</acmeValue>"
    "<acmeLost><OID>1.3.6.1.4.1.8888.5.1</OID><SYNTAX>Integer32</SYNTAX></acmeLost>"
    "<acmeTrap><OID>1.3.6.1.4.1.9999.2</OID><SYNTAX>Trap</SYNTAX></acmeTrap>";

class MibxTreeFixture : public MibxFixture {
protected:
    void SetUp() override {
        auto& db = home.db();
        Transaction tx(db);
        const TreeRow rows[] = {
            {.oid = "1.3", .name = "org", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6", .name = "dod", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1", .name = "internet", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.2", .name = "mgmt", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.4", .name = "private", .mib = "SNMPv2-SMI"},
            {.oid = "1.3.6.1.4.1", .name = "enterprises", .mib = "SNMPv2-SMI", .description = "Vendors."},
            {.oid = "1.3.6.1", .name = "internet", .mib = "RFC1155-SMI", .primary = false},
        };
        for (const auto& row : rows) insertRow(db, row);
        insertIcon(db, "1.3.6.1.4.1.9999.3", pngHeader(1, 1));
        tx.commit();
        acme = write("ACME-MIB.mibx", MIBX(kAcmeObjects, "ACME-MIB"));
    }

    std::string acme;
};

}  // namespace qlmib::test
