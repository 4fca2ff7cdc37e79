#pragma once
// MIB-X fixtures written into a test's own install folder, a recorder of what
// an importer reports, the database's rows as text, and a MIB-X file of a
// module under enterprises with the database rows above it, for the MIB-X
// tree and the mibx command.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibx/ImportMIBX.h>

#include "TestHome.h"
#include "TreeControlSupport.h"

namespace qlmib::test {

// A whole MIB-X file around the given objects.
inline std::string MIBX(std::string_view tree, std::string_view moduleName = "TEST-MIB",
                        std::string_view compiled = "<COMPILED>2024-05-01 10:11:12</COMPILED>") {
    return "<MIBX>\n<VERSION>Quellon.Net MIB-X 1.0</VERSION>" + std::string(compiled) + "<MODULE><NAME>" +
           std::string(moduleName) + "</NAME></MODULE>\n<TREE>" + std::string(tree) + "</TREE>\n</MIBX>\n";
}

// Each row of a query as its columns joined by "|".
inline std::vector<std::string> rows(const std::string& sql) {
    auto q = SharedDatabase().prepare(sql);
    std::vector<std::string> out;
    while (q.step()) {
        std::string row;
        for (int c = 0; c < q.columnCount(); ++c) row += (c ? "|" : "") + q.text(c);
        out.push_back(row);
    }
    return out;
}

class MibxFixture : public ::testing::Test {
protected:
    // Writes the file into the install folder and returns its path.
    std::string write(const std::string& name, std::string_view content) {
        const auto path = (home.folder() / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    TestHome home;
};

struct ImportRecorder {
    std::vector<std::string> logs, errors, stored;  // stored: "name oid" and " dup" for a duplicate

    explicit ImportRecorder(ImportMIBX& importer)
        : onLog(importer.Log.subscribe([this](const std::string& m) { logs.push_back(m); })),
          onError(importer.Error.subscribe([this](const std::string& m) { errors.push_back(m); })),
          onOID(importer.OID.subscribe([this](const std::string& name, const std::string& oid, bool duplicate) {
              stored.push_back(name + " " + oid + (duplicate ? " dup" : ""));
          })) {}

    Subscription onLog, onError, onOID;
};

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
