// Feeds arbitrary bytes to the importer as a MIB-X file, on a temporary MIB
// database that holds the upper tree. Each input starts from that database, so
// a crash reproduces from its input alone. Besides crashes and sanitizer
// reports, an import must keep its counters in step with its events, and a
// database failure (qlmib::Error) on a healthy database is a fault too.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibx/ImportMIBX.h>

namespace {

std::filesystem::path folder;

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string templ = (std::filesystem::temp_directory_path() / "qlmib-fuzz-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    folder = templ;
    std::atexit(removeFolder);
    setenv("QLMIB_HOME", folder.c_str(), 1);
    qlmib::Database::create(qlmib::DatabasePath());
    auto& db = qlmib::SharedDatabase();
    db.exec("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY;");
    db.exec("INSERT INTO Tree (OID, Name, MIB, ParentOID, \"Index\", \"Primary\") VALUES "
            "('1.3.6.1.2.1','mib-2','BASE','1.3.6.1.2',1,1),"
            "('1.3.6.1.4.1','enterprises','BASE','1.3.6.1.4',1,1)");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string path = (folder / "input.xml").string();
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) std::abort();
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    qlmib::ImportMIBX importer;
    std::int32_t errors = 0, objects = 0, duplicates = 0;
    const auto onError = importer.Error.subscribe([&](const std::string&) { ++errors; });
    const auto onOID = importer.OID.subscribe([&](const std::string&, const std::string& oid, bool duplicate) {
        check(!oid.empty(), "an object stored without an OID");
        ++objects;
        duplicates += duplicate;
    });
    const bool walked = importer.ImportMIBXFile(path);
    check(errors == importer.getErrors(), "Errors counts every Error event");
    check(objects == importer.getOIDCount(), "OIDCount counts every OID event");
    check(duplicates == importer.getDuplicates(), "Duplicates counts every duplicate");
    check(walked || objects == 0, "a rejected file stores nothing");
    qlmib::SharedDatabase().exec("DELETE FROM Tree WHERE MIB <> 'BASE'; DELETE FROM Enums; DELETE FROM MIBs;");
    return 0;
}
