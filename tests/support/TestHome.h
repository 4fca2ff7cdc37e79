#pragma once
// A temporary install folder ($QLMIB_HOME) and settings folder
// ($QLMIB_CONFIG_HOME) with a fresh MIB database, removed afterwards.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace qlmib {
class Database;
}

namespace qlmib::test {

class TestHome {
public:
    // createDatabase false leaves the folder without MIBs.cfg.
    explicit TestHome(bool createDatabase = true);
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;
    ~TestHome();

    const std::filesystem::path& folder() const { return folder_; }
    std::string databasePath() const { return (folder_ / "MIBs.cfg").string(); }
    // This thread's shared connection on the test database.
    Database& db();

private:
    std::filesystem::path folder_;
};

// A Tree row as the importer writes it; ParentOID and Index follow OID.
struct TreeRow {
    std::string oid, name, mib = "TEST-MIB";
    std::string typeS;
    std::int32_t typeI = 0, access = 0, status = 0;
    std::string enumName, description, parse, units;
    bool primary = true;
};

void insertRow(Database& db, const TreeRow& row);
void insertEnum(Database& db, const std::string& name, std::int64_t value, const std::string& label);

// A MIBs row; an empty `imported` is stored as null.
struct ModuleRow {
    std::string name, imported, organization, contact, description;
};
void insertModule(Database& db, const ModuleRow& row);

// Writes a database file with a schema of another tool's making.
void writeForeignDatabase(const std::string& path, const char* sql);

// Path of the shared MIB corpus, or "" when it is absent.
std::string corpusFolder();

}  // namespace qlmib::test
