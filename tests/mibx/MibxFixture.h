#pragma once
// MIB-X fixtures written into a test's own install folder, and a recorder of
// what an importer reports.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <qlmib/mibx/ImportMIBX.h>

#include "TestHome.h"

namespace qlmib::test {

// A whole MIB-X file around the given objects.
inline std::string MIBX(std::string_view tree, std::string_view moduleName = "TEST-MIB",
                        std::string_view compiled = "<COMPILED>2024-05-01 10:11:12</COMPILED>") {
    return "<?xml version=\"1.0\"?>\n<MIBX>\n<VERSION>Quellon.Net MIB-X 1.0</VERSION>\n" + std::string(compiled) +
           "\n<MODULE><NAME>" + std::string(moduleName) + "</NAME></MODULE>\n<TREE>\n" + std::string(tree) +
           "\n</TREE>\n</MIBX>\n";
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
    struct Stored {
        std::string name, oid;
        bool duplicate;
        bool operator==(const Stored&) const = default;
    };
    std::vector<std::string> logs, errors;
    std::vector<Stored> stored;

    explicit ImportRecorder(ImportMIBX& importer)
        : onLog(importer.Log.subscribe([this](const std::string& m) { logs.push_back(m); })),
          onError(importer.Error.subscribe([this](const std::string& m) { errors.push_back(m); })),
          onOID(importer.OID.subscribe([this](const std::string& name, const std::string& oid, bool duplicate) {
              stored.push_back({name, oid, duplicate});
          })) {}

    Subscription onLog, onError, onOID;
};

}  // namespace qlmib::test
