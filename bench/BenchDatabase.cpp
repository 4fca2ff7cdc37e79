#include "BenchDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include <qlmib/mibdata/Database.h>

namespace qlmib::bench {
namespace {

void insert(Statement& q, const std::string& oid, const std::string& name, const std::string& mib,
            const std::string& type, int typeCode, const std::string& enumName) {
    const auto dot = oid.rfind('.');
    q.bind(1, oid).bind(2, name).bind(3, mib);
    q.bind(4, dot == std::string::npos ? std::string() : oid.substr(0, dot));
    q.bind(5, static_cast<std::int64_t>(std::stoll(oid.substr(dot == std::string::npos ? 0 : dot + 1))));
    q.bind(6, 1).bind(7, typeCode).bind(8, type).bind(9, "Generated object " + name + ".");
    q.bind(10, 5).bind(11, 1).bind(12, enumName);
    q.run();
    q.reset();
}

}  // namespace

void ensureBenchDatabase(const std::string& path) {
    if (std::filesystem::exists(path)) {
        auto db = Database::open(path);
        auto count = db->query(Query::TreeCount);
        if (count.step() && count.int64(0) >= kBenchRows) return;
        db.reset();
        std::filesystem::remove(path);
    }
    auto db = Database::create(path + ".part");
    Transaction tx(*db);
    auto q = db->prepare(
        "INSERT INTO Tree (OID, Name, MIB, ParentOID, \"Index\", \"Primary\", TypeI, TypeS, Description, Status, "
        "Access, Enum) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)");
    const char* path_[][2] = {{"1", "iso"},           {"1.3", "org"},          {"1.3.6", "dod"},
                              {"1.3.6.1", "internet"}, {"1.3.6.1.2", "mgmt"},   {"1.3.6.1.2.1", "mib-2"},
                              {"1.3.6.1.2.1.2", "interfaces"}, {"1.3.6.1.2.1.2.2", "ifTable"},
                              {"1.3.6.1.2.1.2.2.1", "ifEntry"}, {"1.3.6.1.4", "private"},
                              {"1.3.6.1.4.1", "enterprises"}};
    int rows = 0;
    for (auto& [oid, name] : path_) insert(q, oid, name, "SNMPv2-SMI", "", 0, ""), ++rows;
    insert(q, "1.3.6.1.2.1.2.2.1.10", "ifInOctets", "IF-MIB", "Counter32", 65, ""), ++rows;
    insert(q, "1.3.6.1.2.1.2.2.1.7", "ifAdminStatus", "IF-MIB", "INTEGER", 2, "ifAdminStatus"), ++rows;
    auto e = db->prepare("INSERT INTO Enums (Name, Value, Enum) VALUES (?1, ?2, ?3)");
    const char* labels[] = {"up", "down", "testing"};
    for (int i = 0; i < 3; ++i) {
        e.bind(1, "ifAdminStatus").bind(2, i + 1).bind(3, labels[i]).run();
        e.reset();
    }
    // Enterprise subtrees of 40 x 50 objects, each under its own module.
    for (int ent = 1; rows < kBenchRows; ++ent) {
        const std::string entOID = "1.3.6.1.4.1." + std::to_string(ent);
        const std::string mib = "ENTERPRISE" + std::to_string(ent) + "-MIB";
        insert(q, entOID, "ent" + std::to_string(ent), mib, "", 0, ""), ++rows;
        for (int group = 1; group <= 40 && rows < kBenchRows; ++group) {
            const std::string groupOID = entOID + "." + std::to_string(group);
            insert(q, groupOID, "e" + std::to_string(ent) + "g" + std::to_string(group), mib, "", 0, ""), ++rows;
            for (int leaf = 1; leaf <= 50 && rows < kBenchRows; ++leaf) {
                insert(q, groupOID + "." + std::to_string(leaf),
                       "e" + std::to_string(ent) + "g" + std::to_string(group) + "o" + std::to_string(leaf), mib,
                       "Counter32", 65, ""),
                    ++rows;
            }
        }
    }
    tx.commit();
    db.reset();
    std::filesystem::rename(path + ".part", path);
}

void useBenchHome() {
    static const bool ready = [] {
        const auto folder = std::filesystem::temp_directory_path() / "qlmib-bench-home";
        std::filesystem::create_directories(folder);
        ensureBenchDatabase((folder / "MIBs.cfg").string());
        setenv("QLMIB_HOME", folder.c_str(), 1);
        return true;
    }();
    (void)ready;
}

}  // namespace qlmib::bench
