// The whole shared corpus compiled and imported into a new database, as
// `qlmib build-db` does it, and read back from the compile and the database.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include <qlmib/common/Error.h>
#include <qlmib/compiler/DatabaseBuilder.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>
#include <qlmib/mibdata/OIDTypes.h>
#include <qlmib/mibdata/TextNumbers.h>

#include "MibTextFixture.h"

namespace qlmib::test {
namespace {

namespace fs = std::filesystem;

class CorpusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const auto corpus = corpusFolder();
        if (corpus.empty()) return;
        home_ = new TestHome;
        builtinTypes_ = new OIDTypes;  // read before the build replaces the database
        CloseSharedDatabase();
        files_.clear();
        for (const auto& entry : fs::directory_iterator(corpus)) files_.push_back(entry.path().string());
        std::sort(files_.begin(), files_.end());
        compiler::DatabaseBuilder builder({home_->databasePath(), true, {{corpus}, false}});
        report_ = new compiler::BuildReport(builder.build(files_));
    }
    static void TearDownTestSuite() {
        delete report_;
        delete builtinTypes_;
        delete home_;
        report_ = nullptr, builtinTypes_ = nullptr, home_ = nullptr;
    }
    void SetUp() override {
        if (!report_) GTEST_SKIP() << "the MIB corpus ../shared/mibs is absent";
    }

    static const compiler::CompiledModule& module(const std::string& name) {
        for (const auto& r : report_->compile.modules) {
            if (r.ok && r.module.name == name) return r.module;
        }
        throw std::runtime_error(name + " did not compile");
    }
    template <typename... Parameters>
    static std::int64_t count(const std::string& sql, const Parameters&... parameters) {
        auto q = home_->db().prepare(sql);
        int index = 0;
        (q.bind(++index, parameters), ...);
        return q.step() ? q.int64(0) : -1;
    }

    static inline TestHome* home_ = nullptr;
    static inline OIDTypes* builtinTypes_ = nullptr;
    static inline compiler::BuildReport* report_ = nullptr;
    static inline std::vector<std::string> files_;
};

TEST_F(CorpusTest, EveryModuleCompilesAndImportsWholeAfterItsImportsWithParentsFirst) {
    ASSERT_EQ(report_->compile.modules.size(), files_.size());
    for (const auto& r : report_->compile.modules) EXPECT_TRUE(r.ok) << r.request << ": " << r.error;
    EXPECT_TRUE(report_->compile.missingModules.empty()) << report_->compile.missingModules[0].name;
    EXPECT_EQ(report_->errors, 0);
    EXPECT_EQ(report_->duplicates, 0);
    EXPECT_GT(module("RFC1213-MIB").objects.size(), 150u) << "RFC1213-MIB needs RFC-1212 and RFC1158-MIB";
    EXPECT_EQ(module("IF-MIB").imports, (std::vector<std::string>{"SNMPv2-SMI", "SNMPv2-TC", "SNMPv2-CONF",
                                                                  "SNMPv2-MIB", "IANAifType-MIB"}));

    const auto order = report_->compile.dependencyOrder();
    ASSERT_EQ(report_->imports.size(), files_.size());
    std::set<std::string> placed;
    for (size_t i = 0; i < order.size(); ++i) {
        const auto& m = *order[i];
        SCOPED_TRACE(m.name);
        EXPECT_EQ(report_->imports[i].module, m.name);
        EXPECT_TRUE(report_->imports[i].errors.empty());
        for (const auto& imported : m.imports) EXPECT_TRUE(imported == m.name || placed.count(imported)) << imported;
        placed.insert(m.name);
        EXPECT_EQ(count("SELECT Count(*) FROM Tree WHERE MIB = ?1", m.name), std::ssize(m.objects));
        EXPECT_EQ(count("SELECT Count(*) FROM MIBs WHERE Name = ?1", m.name), 1);
        std::set<std::string> own, seen;
        for (const auto& o : m.objects) own.insert(o.oid);
        for (const auto& o : m.objects) {
            const auto parent = o.oid.substr(0, o.oid.rfind('.'));
            EXPECT_TRUE(parent == o.oid || !own.count(parent) || seen.count(parent)) << o.name << " before its parent";
            seen.insert(o.oid);
        }
    }
}

TEST_F(CorpusTest, ObjectsCompileAndReadBackAsTheirModulesDefineThem) {
    const struct {
        const char *module, *name, *oid, *syntax, *access, *status;
        int code;  // the type code in the database
    } cases[] = {
        {"IF-MIB", "ifInOctets", "1.3.6.1.2.1.2.2.1.10", "Counter32", "read-only", "current", 65},
        {"IF-MIB", "ifTable", "1.3.6.1.2.1.2.2", "SEQUENCE", "not-accessible", "current", 0},
        {"IF-MIB", "ifEntry", "1.3.6.1.2.1.2.2.1", "IfEntry", "not-accessible", "current", 0},
        {"IF-MIB", "ifSpecific", "1.3.6.1.2.1.2.2.1.22", "OBJECT-IDENTIFIER", "read-only", "deprecated", 6},
        {"IF-MIB", "ifAdminStatus", "1.3.6.1.2.1.2.2.1.7", "INTEGER", "read-write", "current", 2},
        {"IF-MIB", "ifStackStatus", "1.3.6.1.2.1.31.1.2.1.3", "RowStatus", "read-create", "current", 2},
        {"IF-MIB", "linkDown", "1.3.6.1.6.3.1.1.5.3", "TRAP", "", "current", 0},
        {"IF-MIB", "interfaces", "1.3.6.1.2.1.2", "", "", "", 0},
        {"IF-MIB", "ifGeneralGroup", "1.3.6.1.2.1.31.2.1.1", "", "", "deprecated", 0},
        {"HOST-RESOURCES-MIB", "hrSWRunEntry", "1.3.6.1.2.1.25.4.2.1", "HrSWRunEntry", "not-accessible", "current", 0},
        {"RFC1213-MIB", "ifIndex", "1.3.6.1.2.1.2.2.1.1", "INTEGER", "read-only", "mandatory", 2},
        {"HOST-RESOURCES-MIB", "hrSWRunName", "1.3.6.1.2.1.25.4.2.1.2", "InternationalDisplayString", "read-only",
         "current", 4},
    };
    OID o;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.module) + "::" + c.name);
        const auto* object = findObject(module(c.module), c.name);
        ASSERT_TRUE(object);
        EXPECT_EQ(object->oid, c.oid);
        EXPECT_EQ(object->syntax, c.syntax);
        EXPECT_EQ(object->access, c.access);
        EXPECT_EQ(object->status, c.status);
        o.setFullName(std::string(c.module) + ":" + c.name);
        EXPECT_EQ(o.getOID(), c.oid);
        EXPECT_EQ(o.getTypeString(), c.syntax);
        EXPECT_EQ(o.getTypeInteger(), c.code);
    }
    const auto& ifMib = module("IF-MIB");

    using Enums = std::vector<compiler::NamedNumber>;
    EXPECT_EQ(findObject(ifMib, "ifAdminStatus")->enums, (Enums{{"up", 1}, {"down", 2}, {"testing", 3}}));
    EXPECT_EQ(findObject(ifMib, "ifPromiscuousMode")->enums, (Enums{{"true", 1}, {"false", 2}})) << "from TruthValue";
    const auto& ifType = findObject(ifMib, "ifType")->enums;
    EXPECT_GT(ifType.size(), 200u);
    EXPECT_THAT(ifType, testing::IsSupersetOf<Enums>({{"other", 1}, {"ethernetCsmacd", 6}, {"softwareLoopback", 24}}));
    EXPECT_TRUE(findObject(ifMib, "ifInOctets")->enums.empty());

    o.setFullName("ifInOctets");
    EXPECT_EQ(o.getLongName(), "iso.org.dod.internet.mgmt.mib-2.interfaces.ifTable.ifEntry.ifInOctets");
    EXPECT_EQ(o.getAccessString() + "|" + o.getStatusString(), "read-only|current");
    o.setFullName("IF-MIB:ifAdminStatus");
    EXPECT_EQ(o.EnumList(), "#1;up(1)|#2;down(2)|#3;testing(3)");
    EXPECT_EQ(o.getAccessString(), "read-write");
    o.setFullName("IF-MIB:ifType");
    // The enumeration is named after the descriptor, which RFC1213-MIB shares:
    // its labels (1 to 32) win, being imported later; the rest are IANAifType's.
    EXPECT_EQ(o.EnumName(161), "ieee8023adLag") << "labels inherited from IANAifType";
}

TEST_F(CorpusTest, TextualConventionsAgreeWithTheTypeCatalogueAndGiveEveryObjectACode) {
    size_t compared = 0;
    for (const auto& r : report_->compile.modules) {
        for (const auto& tc : r.module.textualConventions) {
            const auto entry = builtinTypes_->Item(tc.name);
            if (!entry || tc.name == "BITS") continue;
            SCOPED_TRACE(r.module.name + "::" + tc.name);
            EXPECT_EQ(UpperAscii(tc.baseType), entry->getRootType());
            EXPECT_EQ(tc.code, entry->getValue());
            ++compared;
        }
    }
    EXPECT_GT(compared, 40u);
    EXPECT_GT(report_->typesAdded, 0);
    EXPECT_EQ(count("SELECT Count(*) FROM Tree WHERE TypeI = ?1 AND TypeS NOT IN (?2, ?3, ?4) "
                    "AND lower(TypeS) <> lower(Name)",
                    0, "", "SEQUENCE", "TRAP"),
              0)
        << "every object with a value type has a type code";
}

TEST(DatabaseBuilder, ExistingFileIsReplacedOnlyWhenForcedAndOnlyByACompleteBuild) {
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

    compiler::DatabaseBuilder forced({target, true, {{folder}, true}});
    EXPECT_THROW(forced.build({(folder / "NO-SUCH-MIB").string()}), Error);
    EXPECT_EQ(std::ifstream(target).rdbuf()->sgetc(), 'k') << "a build that fails leaves the old file";

    EXPECT_EQ(forced.build({(folder / "TINY-MIB.txt").string()}).errors, 0);
    auto db = Database::open(target.string());
    auto q = db->prepare("SELECT OID FROM Tree WHERE Name = ?1");
    ASSERT_TRUE(q.bind(1, "tiny").step());
    EXPECT_EQ(q.text(0), "1.3.6.1.4.1.99999");
    for (const auto& entry : fs::directory_iterator(home.folder()))
        EXPECT_EQ(entry.path().string().find(".building-"), std::string::npos) << "no leftovers";
}

}  // namespace
}  // namespace qlmib::test
