// Feeds arbitrary bytes to the importer as a MIB-X file, on a temporary MIB
// database that holds the upper tree. Each input starts from that database, so
// a crash reproduces from its input alone. Besides crashes and sanitizer
// reports, an import must keep its counters in step with its events, and a
// database failure (qlmib::Error) on a healthy database is a fault too.

#include <cstdint>
#include <string>

#include <qlmib/mibx/ImportMIBX.h>

#include "FuzzHome.h"

using fuzz::Check;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    auto& db = fuzz::MakeHome();
    db.exec("INSERT INTO Tree (OID, Name, MIB, ParentOID, \"Index\", \"Primary\") VALUES "
            "('1.3.6.1.2.1','mib-2','BASE','1.3.6.1.2',1,1),"
            "('1.3.6.1.4.1','enterprises','BASE','1.3.6.1.4',1,1)");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string path = (fuzz::HomeFolder() / "input.xml").string();
    fuzz::WriteFile(path, data, size);
    qlmib::ImportMIBX importer;
    std::int32_t errors = 0, objects = 0, duplicates = 0;
    const auto onError = importer.Error.subscribe([&](const std::string&) { ++errors; });
    const auto onOID = importer.OID.subscribe([&](const std::string&, const std::string& oid, bool duplicate) {
        Check(!oid.empty(), "an object stored without an OID");
        ++objects;
        duplicates += duplicate;
    });
    const bool walked = importer.ImportMIBXFile(path);
    Check(errors == importer.getErrors(), "Errors counts every Error event");
    Check(objects == importer.getOIDCount(), "OIDCount counts every OID event");
    Check(duplicates == importer.getDuplicates(), "Duplicates counts every duplicate");
    Check(walked || objects == 0, "a rejected file stores nothing");
    qlmib::SharedDatabase().exec("DELETE FROM Tree WHERE MIB <> 'BASE'; DELETE FROM Enums; DELETE FROM MIBs;");
    return 0;
}
