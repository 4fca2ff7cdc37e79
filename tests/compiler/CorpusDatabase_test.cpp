// The whole shared corpus compiled and imported into a new database, as
// `qlmib build-db` does it, and the rows read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include <qlmib/common/Error.h>
#include <qlmib/compiler/DatabaseBuilder.h>
#include <qlmib/compiler/MibxWriter.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/OID.h>

#include "MibTextFixture.h"

namespace qlmib::test {
namespace {

namespace fs = std::filesystem;
using compiler::BuildReport;

class CorpusDatabaseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const auto corpus = corpusFolder();
        if (corpus.empty()) return;
        home_ = new TestHome(false);
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(corpus)) files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        compiler::DatabaseBuilder builder({home_->databasePath(), false, {{corpus}, false}});
        report_ = new BuildReport(builder.build(files));
    }
    static void TearDownTestSuite() {
        delete report_;
        delete home_;
        report_ = nullptr;
        home_ = nullptr;
    }
    void SetUp() override {
        if (!report_) GTEST_SKIP() << "the MIB corpus ../shared/mibs is absent";
    }

    static std::int64_t count(const std::string& sql, const std::string& parameter) {
        auto q = home_->db().prepare(sql);
        q.bind(1, parameter);
        return q.step() ? q.int64(0) : -1;
    }

    static inline TestHome* home_ = nullptr;
    static inline BuildReport* report_ = nullptr;
};

TEST_F(CorpusDatabaseTest, EveryCompiledModuleImportsWithoutErrorsAndWhole) {
    ASSERT_EQ(report_->imports.size(), report_->compile.dependencyOrder().size());
    EXPECT_EQ(report_->errors, 0);
    EXPECT_EQ(report_->duplicates, 0);
    for (const auto* module : report_->compile.dependencyOrder()) {
        const auto written = std::count_if(module->objects.begin(), module->objects.end(),
                                           [](const auto& o) { return compiler::IsMibxElementName(o.name); });
        EXPECT_EQ(count("SELECT Count(*) FROM Tree WHERE MIB = ?1", module->name), written) << module->name;
        EXPECT_EQ(count("SELECT Count(*) FROM MIBs WHERE Name = ?1", module->name), 1) << module->name;
    }
    for (const auto& imported : report_->imports) EXPECT_TRUE(imported.errors.empty()) << imported.module;
}

TEST_F(CorpusDatabaseTest, ImportsComeAfterWhatTheyImport) {
    std::vector<std::string> order;
    for (const auto& imported : report_->imports) order.push_back(imported.module);
    auto position = [&](const std::string& name) { return std::find(order.begin(), order.end(), name) - order.begin(); };
    EXPECT_LT(position("SNMPv2-SMI"), position("SNMPv2-TC"));
    EXPECT_LT(position("SNMPv2-TC"), position("IF-MIB"));
    EXPECT_LT(position("IANAifType-MIB"), position("IF-MIB"));
    EXPECT_LT(position("RFC-1212"), position("RFC1213-MIB"));
}

TEST_F(CorpusDatabaseTest, ObjectsReadBackAsTheModulesDefineThem) {
    OID o;
    o.setFullName("ifInOctets");
    EXPECT_EQ(o.getOID(), "1.3.6.1.2.1.2.2.1.10");
    EXPECT_EQ(o.getTypeString(), "Counter32");
    EXPECT_EQ(o.getTypeInteger(), 65);
    EXPECT_EQ(o.getAccessString(), "read-only");
    EXPECT_EQ(o.getStatusString(), "current");
    OID parent;
    parent.setOID(o.getParentOID());
    EXPECT_EQ(parent.getName(), "ifEntry");
    EXPECT_EQ(o.getLongName(), "iso.org.dod.internet.mgmt.mib-2.interfaces.ifTable.ifEntry.ifInOctets");

    o.setFullName("IF-MIB:ifAdminStatus");
    EXPECT_EQ(o.EnumList(), "#1;up(1)|#2;down(2)|#3;testing(3)");
    EXPECT_EQ(o.getAccessString(), "read-write");

    o.setFullName("ifTable");
    EXPECT_EQ(o.getTypeString(), "SEQUENCE");
    o.setFullName("hrSWRunEntry");
    EXPECT_EQ(o.getTypeString(), "HrSWRunEntry");
    o.setFullName("IF-MIB:ifType");
    // The enumeration is named after the descriptor, which RFC1213-MIB shares:
    // its labels (1 to 32) win, being imported later; the rest are IANAifType's.
    EXPECT_EQ(o.EnumName(161), "ieee8023adLag") << "labels inherited from IANAifType";
    EXPECT_EQ(o.getTypeInteger(), 2);
}

TEST_F(CorpusDatabaseTest, TypesDefinedByModulesGiveTheirObjectsACode) {
    EXPECT_GT(report_->typesAdded, 0);
    OID o;
    o.setFullName("hrSWRunName");  // InternationalDisplayString of HOST-RESOURCES-MIB
    EXPECT_EQ(o.getTypeString(), "InternationalDisplayString");
    EXPECT_EQ(o.getTypeInteger(), 4);
    EXPECT_EQ(count("SELECT Count(*) FROM Tree WHERE TypeI = 0 AND TypeS NOT IN ('', 'SEQUENCE', 'TRAP') "
                    "AND lower(TypeS) <> lower(Name) AND ?1 = ?1",
                    ""),
              0)
        << "every object with a value type has a type code";
}

TEST(DatabaseBuilder, ExistingFileIsReplacedOnlyWhenForced) {
    TestHome home(false);
    const auto folder = home.folder() / "mibs";
    fs::create_directories(folder);
    std::ofstream(folder / "TINY-MIB.txt") << R"(TINY-MIB DEFINITIONS ::= BEGIN
tiny OBJECT IDENTIFIER ::= { iso org(3) dod(6) internet(1) private(4) enterprises(1) 99999 }
END
)";
    const auto target = home.folder() / "target.cfg";
    std::ofstream(target) << "keep me";
    compiler::DatabaseBuilder refused({target, false, {{folder}, true}});
    EXPECT_THROW(refused.build({(folder / "TINY-MIB.txt").string()}), Error);
    EXPECT_EQ(std::ifstream(target).rdbuf()->sgetc(), 'k') << "the old file stays";

    compiler::DatabaseBuilder nothing({target, true, {{folder}, true}});
    EXPECT_THROW(nothing.build({(folder / "NO-SUCH-MIB").string()}), Error);
    EXPECT_EQ(std::ifstream(target).rdbuf()->sgetc(), 'k') << "a build that fails leaves the old file";

    compiler::DatabaseBuilder forced({target, true, {{folder}, true}});
    const auto report = forced.build({(folder / "TINY-MIB.txt").string()});
    EXPECT_EQ(report.errors, 0);
    auto db = Database::open(target.string());
    auto q = db->prepare("SELECT OID FROM Tree WHERE Name = 'tiny'");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.text(0), "1.3.6.1.4.1.99999");
    for (const auto& entry : fs::directory_iterator(home.folder()))
        EXPECT_EQ(entry.path().string().find(".building-"), std::string::npos) << "no leftovers";
}

}  // namespace
}  // namespace qlmib::test
