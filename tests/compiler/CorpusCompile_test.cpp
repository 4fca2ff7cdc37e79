// The whole shared corpus compiled once, and its MIB-X documents read back
// the way the importer and the MIB-X tree read them.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include <qlmib/compiler/MibCompiler.h>
#include <qlmib/compiler/MibxWriter.h>
#include <qlmib/mibdata/OIDTypes.h>
#include <qlmib/mibdata/TextNumbers.h>

#include "MibTextFixture.h"

namespace qlmib::test {
namespace {

namespace fs = std::filesystem;
using compiler::CompileReport;
using compiler::CompiledModule;

class CorpusCompileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const auto corpus = corpusFolder();
        if (corpus.empty()) return;
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(corpus)) files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        fileCount_ = files.size();
        report_ = new CompileReport(compiler::MibCompiler({{corpus}, false}).compile(files));
    }
    static void TearDownTestSuite() {
        delete report_;
        report_ = nullptr;
    }
    void SetUp() override {
        if (!report_) GTEST_SKIP() << "the MIB corpus ../shared/mibs is absent";
    }

    static const CompiledModule& module(const std::string& name) {
        for (const auto& r : report_->modules) {
            if (r.ok && r.module.name == name) return r.module;
        }
        throw std::runtime_error(name + " did not compile");
    }

    static inline CompileReport* report_ = nullptr;
    static inline size_t fileCount_ = 0;
};

TEST_F(CorpusCompileTest, EveryModuleCompilesWithEveryImportFound) {
    ASSERT_EQ(report_->modules.size(), fileCount_);
    for (const auto& r : report_->modules) EXPECT_TRUE(r.ok) << r.request << ": " << r.error;
    EXPECT_TRUE(report_->missingModules.empty()) << report_->missingModules[0].name;
    EXPECT_GT(module("RFC1213-MIB").objects.size(), 150u) << "RFC1213-MIB needs RFC-1212 and RFC1158-MIB";
    for (const auto& d : report_->diagnostics) EXPECT_LE(d.severity, 3) << d.message;
}

struct SpotCheck {
    const char *module, *name, *oid, *syntax, *access, *status;
};

TEST_F(CorpusCompileTest, ObjectsCarryTheirOidSyntaxAccessAndStatus) {
    const SpotCheck cases[] = {
        {"IF-MIB", "ifInOctets", "1.3.6.1.2.1.2.2.1.10", "Counter32", "read-only", "current"},
        {"IF-MIB", "ifTable", "1.3.6.1.2.1.2.2", "SEQUENCE", "not-accessible", "current"},
        {"IF-MIB", "ifEntry", "1.3.6.1.2.1.2.2.1", "IfEntry", "not-accessible", "current"},
        {"IF-MIB", "ifSpecific", "1.3.6.1.2.1.2.2.1.22", "OBJECT-IDENTIFIER", "read-only", "deprecated"},
        {"IF-MIB", "ifAdminStatus", "1.3.6.1.2.1.2.2.1.7", "INTEGER", "read-write", "current"},
        {"IF-MIB", "ifStackStatus", "1.3.6.1.2.1.31.1.2.1.3", "RowStatus", "read-create", "current"},
        {"IF-MIB", "linkDown", "1.3.6.1.6.3.1.1.5.3", "TRAP", "", "current"},
        {"IF-MIB", "interfaces", "1.3.6.1.2.1.2", "", "", ""},
        {"IF-MIB", "ifGeneralGroup", "1.3.6.1.2.1.31.2.1.1", "", "", "deprecated"},
        {"HOST-RESOURCES-MIB", "hrSWRunEntry", "1.3.6.1.2.1.25.4.2.1", "HrSWRunEntry", "not-accessible", "current"},
        {"RFC1213-MIB", "ifIndex", "1.3.6.1.2.1.2.2.1.1", "INTEGER", "read-only", "mandatory"},
        {"RFC1213-MIB", "ipRouteDest", "1.3.6.1.2.1.4.21.1.1", "IpAddress", "read-write", "mandatory"},
        {"SNMPv2-MIB", "sysUpTime", "1.3.6.1.2.1.1.3", "TimeTicks", "read-only", "current"},
        {"SNMPv2-MIB", "sysORID", "1.3.6.1.2.1.1.9.1.2", "OBJECT-IDENTIFIER", "read-only", "current"},
        {"HOST-RESOURCES-MIB", "hrSWRunName", "1.3.6.1.2.1.25.4.2.1.2", "InternationalDisplayString", "read-only",
         "current"},
        {"IP-MIB", "ipAddressSpinLock", "1.3.6.1.2.1.4.33", "TestAndIncr", "read-write", "current"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.module) + "::" + c.name);
        const auto* object = findObject(module(c.module), c.name);
        ASSERT_TRUE(object);
        EXPECT_EQ(object->oid, c.oid);
        EXPECT_EQ(object->syntax, c.syntax);
        EXPECT_EQ(object->access, c.access);
        EXPECT_EQ(object->status, c.status);
    }
}

std::map<std::string, std::int64_t> enumsOf(const compiler::MibObject& object) {
    std::map<std::string, std::int64_t> numbers;
    for (const auto& n : object.enums) numbers[n.label] = n.value;
    return numbers;
}

TEST_F(CorpusCompileTest, EnumsComeInlineOrThroughTextualConventions) {
    using Numbers = std::map<std::string, std::int64_t>;
    EXPECT_EQ(enumsOf(*findObject(module("IF-MIB"), "ifAdminStatus")), (Numbers{{"up", 1}, {"down", 2}, {"testing", 3}}));
    EXPECT_EQ(enumsOf(*findObject(module("IF-MIB"), "ifPromiscuousMode")), (Numbers{{"true", 1}, {"false", 2}}));
    const auto ifType = enumsOf(*findObject(module("IF-MIB"), "ifType"));
    EXPECT_GT(ifType.size(), 200u);
    EXPECT_EQ(ifType.at("other"), 1);
    EXPECT_EQ(ifType.at("ethernetCsmacd"), 6);
    EXPECT_EQ(ifType.at("softwareLoopback"), 24);
    EXPECT_TRUE(findObject(module("IF-MIB"), "ifInOctets")->enums.empty());
}

TEST_F(CorpusCompileTest, TextualConventionsAgreeWithTheTypeCatalogue) {
    TestHome home;
    OIDTypes catalogue;
    size_t compared = 0;
    for (const auto& r : report_->modules) {
        for (const auto& tc : r.module.textualConventions) {
            const auto entry = catalogue.Item(tc.name);
            if (!entry || tc.name == "BITS") continue;
            SCOPED_TRACE(r.module.name + "::" + tc.name);
            EXPECT_EQ(UpperAscii(tc.baseType), entry->getRootType());
            EXPECT_EQ(tc.code, entry->getValue());
            ++compared;
        }
    }
    EXPECT_GT(compared, 40u);
    const auto& tcs = module("SNMPv2-TC").textualConventions;
    const auto timeStamp = std::find_if(tcs.begin(), tcs.end(), [](auto& t) { return t.name == "TimeStamp"; });
    ASSERT_NE(timeStamp, tcs.end());
    EXPECT_EQ(timeStamp->baseType, "TimeTicks");
    EXPECT_EQ(timeStamp->code, 67);
}

TEST_F(CorpusCompileTest, DependencyOrderPutsEveryImportFirst) {
    const auto order = report_->dependencyOrder();
    EXPECT_EQ(order.size(), fileCount_);
    std::set<std::string> placed;
    for (const auto* m : order) {
        for (const auto& imported : m->imports) {
            if (imported != m->name) {
                EXPECT_TRUE(placed.count(imported)) << imported << " after " << m->name;
            }
        }
        placed.insert(m->name);
    }
}

bool numericOid(const std::string& oid) { return std::regex_match(oid, std::regex(R"(\d+(\.\d+)*)")); }

// Reads a written file as the importer and the MIB-X tree do:
// every TREE child is an element with OID and SYNTAX, and a parent defined
// in the same file comes before its children.
void checkDocument(const fs::path& path, const CompiledModule& compiled) {
    SCOPED_TRACE(path.string());
    pugi::xml_document doc;
    const auto loaded = doc.load_file(path.c_str());
    ASSERT_TRUE(loaded) << loaded.description();
    EXPECT_STREQ(doc.select_node("/MIBX/VERSION").node().text().get(), "Quellon.Net MIB-X 1.0");
    EXPECT_STREQ(doc.select_node("/MIBX/MODULE/NAME").node().text().get(), compiled.name.c_str());
    const std::regex date(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
    EXPECT_TRUE(std::regex_match(doc.select_node("/MIBX/COMPILED").node().text().get(), date));
    if (auto updated = doc.select_node("/MIBX/MODULE/LAST-UPDATED").node()) {
        EXPECT_TRUE(std::regex_match(updated.text().get(), date));
    }
    const std::set<std::string> accesses{"read-only",       "read-write",     "read-create",
                                         "not-accessible",  "accessible-for-notify"};
    const std::set<std::string> statuses{"current", "deprecated", "obsolete", "mandatory", "optional"};
    const auto tree = doc.select_node("/MIBX/TREE").node();
    ASSERT_TRUE(tree);
    std::set<std::string> seen, names;
    std::set<std::string> ownOids;
    for (const auto& o : compiled.objects) ownOids.insert(o.oid);
    size_t count = 0;
    for (auto object : tree.children()) {
        ++count;
        ASSERT_EQ(object.type(), pugi::node_element);
        const std::string name = object.name();
        EXPECT_TRUE(compiler::IsMibxElementName(name)) << name;
        const std::string oid = object.child("OID").text().get();
        EXPECT_TRUE(numericOid(oid)) << name << " " << oid;
        EXPECT_TRUE(object.child("SYNTAX")) << name;
        if (auto access = object.child("ACCESS")) {
            EXPECT_TRUE(accesses.count(access.text().get())) << name;
        }
        if (auto status = object.child("STATUS")) {
            EXPECT_TRUE(statuses.count(status.text().get())) << name;
        }
        for (auto label : object.child("ENUMS").children()) {
            EXPECT_TRUE(std::regex_match(label.text().get(), std::regex(R"(-?\d+)"))) << name;
        }
        const auto dot = oid.rfind('.');
        if (dot != std::string::npos && ownOids.count(oid.substr(0, dot))) {
            EXPECT_TRUE(seen.count(oid.substr(0, dot))) << name << " comes before its parent";
        }
        seen.insert(oid);
        EXPECT_TRUE(names.insert(name).second) << name << " is written twice";
    }
    EXPECT_EQ(count, compiled.objects.size());
}

TEST_F(CorpusCompileTest, WrittenFilesReadBackWithParentsBeforeChildren) {
    TestHome home(false);
    for (const auto& r : report_->modules) {
        checkDocument(compiler::WriteMibxFile(r.module, home.folder(), 1700000000), r.module);
    }
    const auto* inOctets = findObject(module("IF-MIB"), "ifInOctets");
    const auto& objects = module("IF-MIB").objects;
    const auto at = [&](const char* name) {
        return std::find_if(objects.begin(), objects.end(), [&](auto& o) { return o.name == name; });
    };
    ASSERT_TRUE(inOctets);
    EXPECT_LT(at("ifEntry"), at("ifInOctets"));
    EXPECT_LT(at("ifTable"), at("ifEntry"));
}

}  // namespace
}  // namespace qlmib::test
