// Where compiled objects land: never under a made-up arc, one row speaking
// for an OID that several modules define, and arcs and named numbers over
// their whole range.
#include <gtest/gtest.h>

#include <qlmib/compiler/DatabaseBuilder.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>

#include "MibTextFixture.h"

namespace qlmib::test {
namespace {

class PlacementTest : public MibTextFixture {
protected:
    // Builds the test's own database from `files`, in request order.
    void build(const std::vector<std::string>& files) {
        compiler::BuildOptions options{home_.databasePath(), true, {}};
        options.compile.searchPath = {home_.folder(), corpus_};
        options.compile.useDefaultPath = false;
        CloseSharedDatabase();
        compiler::DatabaseBuilder(options).build(files);
        CloseSharedDatabase();
    }

    // An SMIv1 module defining `name` at mib-2 `arc`.
    static std::string smiV1(const std::string& module, const std::string& name, int arc) {
        return module + " DEFINITIONS ::= BEGIN\nIMPORTS mib-2 FROM RFC1213-MIB OBJECT-TYPE FROM RFC-1212;\n" + name +
               " OBJECT-TYPE\n    SYNTAX INTEGER\n    ACCESS read-only\n    STATUS mandatory\n"
               "    DESCRIPTION \"v1\"\n    ::= { mib-2 " + std::to_string(arc) + " }\nEND\n";
    }
    // An SMIv2 module last updated on `date` defining `name` at mib-2 `arc`.
    static std::string smiV2(const std::string& module, const std::string& name, int arc, const std::string& date) {
        return module + " DEFINITIONS ::= BEGIN\nIMPORTS MODULE-IDENTITY, OBJECT-TYPE, Integer32, mib-2 FROM SNMPv2-SMI;\n" +
               name + "Module MODULE-IDENTITY\n    LAST-UPDATED \"" + date + "\"\n    ORGANIZATION \"QL\"\n"
               "    CONTACT-INFO \"nobody\"\n    DESCRIPTION \"v2\"\n    REVISION \"" + date +
               "\"\n    DESCRIPTION \"Only.\"\n    ::= { mib-2 9999 " + module.substr(module.size() - 1) + " }\n" +
               name + " OBJECT-TYPE\n    SYNTAX Integer32\n    MAX-ACCESS read-only\n    STATUS current\n"
               "    DESCRIPTION \"v2\"\n    ::= { mib-2 " + std::to_string(arc) + " }\nEND\n";
    }
};

TEST_F(PlacementTest, ObjectsWhoseOIDDoesNotResolveAreReportedAndLeftOut) {
    const auto file = write("v1.mib", "QLTEST-V1-MIB DEFINITIONS ::= BEGIN\n"
                                      "IMPORTS enterprises FROM RFC1155-SMI TRAP-TYPE FROM RFC-1215\n"
                                      "        qlFar FROM QLTEST-NOWHERE-MIB;\n"
                                      "qlNull OBJECT IDENTIFIER ::= { 0 0 }\n"
                                      "qlKnown OBJECT IDENTIFIER ::= { enterprises 99994 }\n"
                                      "qlOrphan OBJECT IDENTIFIER ::= { qlUndefined 1 }\n"
                                      "qlImported OBJECT IDENTIFIER ::= { qlFar 2 }\n"
                                      "qlTrap TRAP-TYPE\n    ENTERPRISE qlNobody\n    DESCRIPTION \"t\"\n    ::= 3\n"
                                      "END\n");
    const auto report = compile({file.string()});
    ASSERT_TRUE(report.modules[0].ok) << report.modules[0].error;
    const auto& result = report.modules[0];
    const std::vector<compiler::UnresolvedObject> expected = {
        {"qlOrphan", "qlUndefined"}, {"qlImported", "qlFar"}, {"qlTrap", "qlNobody"}};
    for (const auto& u : expected) {
        EXPECT_NE(std::find(result.unresolved.begin(), result.unresolved.end(), u), result.unresolved.end()) << u.name;
    }
    EXPECT_EQ(result.unresolved.size(), expected.size());
    std::vector<std::string> written;
    for (const auto& object : result.module.objects) written.push_back(object.name + " " + object.oid);
    EXPECT_EQ(written, (std::vector<std::string>{"qlNull 0.0", "qlKnown 1.3.6.1.4.1.99994"}));
}

TEST_F(PlacementTest, ALookupByOIDTakesTheNewestModuleThenTheLastImported) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> modules;  // file text by module, in import order
        std::string speaker;
    };
    const std::vector<Case> cases = {
        {"SMIv1 only: the last imported",
         {{"QLTEST-A", smiV1("QLTEST-A", "qlA", 9990)}, {"QLTEST-B", smiV1("QLTEST-B", "qlB", 9990)}},
         "QLTEST-B"},
        {"SMIv2 before SMIv1, whatever the order",
         {{"QLTEST-C", smiV2("QLTEST-C", "qlC", 9990, "200001010000Z")}, {"QLTEST-D", smiV1("QLTEST-D", "qlD", 9990)}},
         "QLTEST-C"},
        {"the newest LAST-UPDATED before the last imported",
         {{"QLTEST-E", smiV2("QLTEST-E", "qlE", 9990, "202301010000Z")},
          {"QLTEST-F", smiV2("QLTEST-F", "qlF", 9990, "201001010000Z")}},
         "QLTEST-E"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> files;
        for (const auto& [name, text] : c.modules) files.push_back(write(name + ".mib", text).string());
        build(files);
        OID object;
        object.setOID("1.3.6.1.2.1.9990.0");
        EXPECT_EQ(object.getMIB(), c.speaker);
        auto rows = SharedDatabase().prepare("SELECT Count(*) FROM Tree WHERE OID = ?1 AND \"Primary\" = -1");
        rows.bind(1, "1.3.6.1.2.1.9990").step();
        EXPECT_EQ(rows.int64(0), 2) << "every row the library adds is primary, written as -1";
    }
}

TEST_F(PlacementTest, ArcsAndNamedNumbersOverTheirWholeRange) {
    const auto file = write("wide.mib", module("QLTEST-WIDE-MIB", "",
                                               "qlWide OBJECT-TYPE\n    SYNTAX INTEGER { bottom(-2147483648), "
                                               "top(2147483647) }\n    MAX-ACCESS read-only\n    STATUS current\n"
                                               "    DESCRIPTION \"wide\"\n    ::= { qlTest 4294967295 }\n"));
    build({file.string()});
    OID object;
    object.setOID("1.3.6.1.4.1.99990.4294967295.0");
    EXPECT_EQ(object.getName(), "qlWide.0");
    EXPECT_EQ(object.EnumString(-2147483647 - 1), "bottom(-2147483648)");
    EXPECT_EQ(object.EnumString(2147483647), "top(2147483647)");
    auto index = SharedDatabase().prepare("SELECT \"Index\" FROM Tree WHERE Name = 'qlWide'");
    ASSERT_TRUE(index.step());
    EXPECT_EQ(index.int64(0), 4294967295);
}

}  // namespace
}  // namespace qlmib::test
