#pragma once
// MIB-X fixtures written into a test's own install folder, a recorder of what
// an importer reports, and the database's rows as text.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibx/ImportMIBX.h>

#include "TestHome.h"

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

}  // namespace qlmib::test
