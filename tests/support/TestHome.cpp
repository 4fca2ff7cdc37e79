#include "TestHome.h"

#include <cstdlib>
#include <random>

#include <sqlite3.h>

#include <stdexcept>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>

namespace qlmib::test {

TestHome::TestHome(bool createDatabase) {
    std::random_device rd;
    folder_ = std::filesystem::temp_directory_path() / ("qlmib-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(folder_ / "config");
    setenv("QLMIB_HOME", folder_.c_str(), 1);
    setenv("QLMIB_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    CloseSharedDatabase();
    if (createDatabase) Database::create(databasePath());
}

TestHome::~TestHome() {
    CloseSharedDatabase();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

Database& TestHome::db() { return SharedDatabase(); }

void insertRow(Database& db, const TreeRow& row) {
    auto q = db.prepare(
        "INSERT INTO Tree (OID, Name, MIB, ParentOID, \"Index\", \"Primary\", TypeI, TypeS, Description, Status, "
        "Access, Enum, Parse, Units) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14)");
    const auto dot = row.oid.rfind('.');
    q.bind(1, row.oid).bind(2, row.name).bind(3, row.mib);
    q.bind(4, dot == std::string::npos ? std::string() : row.oid.substr(0, dot));
    q.bind(5, static_cast<std::int64_t>(std::atoll(row.oid.c_str() + (dot == std::string::npos ? 0 : dot + 1))));
    q.bind(6, row.primary ? 1 : 0).bind(7, row.typeI).bind(8, row.typeS).bind(9, row.description);
    q.bind(10, row.status).bind(11, row.access).bind(12, row.enumName).bind(13, row.parse).bind(14, row.units);
    q.run();
}

void insertEnum(Database& db, const std::string& name, std::int64_t value, const std::string& label) {
    db.prepare("INSERT INTO Enums (Name, Value, Enum) VALUES (?1, ?2, ?3)").bind(1, name).bind(2, value).bind(3, label).run();
}

void insertModule(Database& db, const ModuleRow& row) {
    auto q = db.prepare(
        "INSERT INTO MIBs (Name, Description, Organization, Contact, Compiled, Imported, LastUpdated) "
        "VALUES (?1, ?2, ?3, ?4, '2024-01-01 00:00:00', ?5, '2024-01-01 00:00:00')");
    q.bind(1, row.name).bind(2, row.description).bind(3, row.organization).bind(4, row.contact);
    if (row.imported.empty()) q.bindNull(5);
    else q.bind(5, row.imported);
    q.run();
}

void writeForeignDatabase(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + path);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("foreign schema: " + text);
}

std::string corpusFolder() {
    const std::filesystem::path path = QLMIB_SHARED_DIR "/mibs";
    return std::filesystem::is_directory(path) ? std::filesystem::canonical(path).string() : std::string();
}

}  // namespace qlmib::test
