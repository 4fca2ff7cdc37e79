#include <gtest/gtest.h>

#include <algorithm>

#include "MibTextFixture.h"

namespace qlmib::test {
namespace {

using compiler::NamedNumber;

class MibCompilerTest : public MibTextFixture {};

// One compile of five requests: a module that imports from a missing module
// and from a module in a file not named after it, and holds names that cannot
// be XML element names; a broken module; an unknown name; a file without a
// module; and the module of the oddly named file, by its name.
TEST_F(MibCompilerTest, AModuleWithMissingImportsOrBadNamesCompilesWhileBadRequestsFailAlone) {
    write("odd-name.my", module("QLTEST-TYPES-MIB", "    TEXTUAL-CONVENTION FROM SNMPv2-TC",
                                "QlLevel ::= TEXTUAL-CONVENTION\n    STATUS current\n    DESCRIPTION \"Levels.\"\n"
                                "    SYNTAX INTEGER { low(1), high(2) }\n",
                                "", "qlTypes", 99991));
    const std::string revisions =
        "    REVISION \"201901010000Z\"\n    DESCRIPTION \"Old.\"\n"
        "    REVISION \"202401150000Z\"\n    DESCRIPTION \"New.\"\n"
        "    REVISION \"202001010000Z\"\n    DESCRIPTION \"Middle.\"\n";
    write("missing.mib", module("QLTEST-MISSING-MIB",
                                "    FancyType, fancyRoot FROM QLTEST-NOWHERE-MIB\n"
                                "    QlLevel FROM QLTEST-TYPES-MIB",
                                scalar("qlFancy", "FancyType", 1) + scalar("qlPlain", "Integer32", 2) +
                                    scalar("qlUnder", "Integer32", 3, "fancyRoot") + scalar("xmlThing", "Integer32", 4) +
                                    scalar("qlMode", "INTEGER { on(1), xmlOff(2), off(3) }", 5) +
                                    scalar("qlLevel", "QlLevel", 6),
                                revisions));
    write("broken.mib", module("QLTEST-BROKEN-MIB", "", "qlBroken OBJECT-TYPE\n    SYNTAX INTEGER { 10mbit(1) }\n"
                                                        "    MAX-ACCESS read-only\n    STATUS current\n"
                                                        "    DESCRIPTION \"x\"\n    ::= { qlBrokenRoot 1 }\n",
                                "", "qlBrokenRoot", 99992));
    write("empty.txt", "no module here\n");
    const auto report = compile({(home_.folder() / "missing.mib").string(), (home_.folder() / "broken.mib").string(),
                                 "QLTEST-NO-SUCH-MIB", (home_.folder() / "empty.txt").string(), "QLTEST-TYPES-MIB"});

    ASSERT_EQ(report.modules.size(), 5u);
    ASSERT_TRUE(report.modules[0].ok) << report.modules[0].error;
    const auto& compiled = report.modules[0].module;
    ASSERT_TRUE(findObject(compiled, "qlFancy"));
    EXPECT_EQ(findObject(compiled, "qlFancy")->syntax, "FancyType") << "an unresolved type keeps its name";
    EXPECT_EQ(findObject(compiled, "qlFancy")->oid, "1.3.6.1.4.1.99990.1");
    EXPECT_EQ(findObject(compiled, "qlPlain")->syntax, "Integer32");
    EXPECT_FALSE(findObject(compiled, "qlUnder")) << "no OID can be had under a parent that is missing";
    EXPECT_EQ(compiled.lastUpdated, "2024-01-15 00:00:00") << "the newest revision";
    ASSERT_TRUE(findObject(compiled, "qlLevel"));
    EXPECT_EQ(findObject(compiled, "qlLevel")->syntax, "QlLevel");
    EXPECT_EQ(findObject(compiled, "qlLevel")->enums, (std::vector<NamedNumber>{{"low", 1}, {"high", 2}}))
        << "inherited from the textual convention of the module in odd-name.my";

    const auto& skipped = report.modules[0].skipped;
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_NE(skipped[0].find("xmlThing"), std::string::npos);
    EXPECT_NE(skipped[1].find("xmlOff"), std::string::npos);
    EXPECT_FALSE(findObject(compiled, "xmlThing"));
    ASSERT_TRUE(findObject(compiled, "qlMode"));
    EXPECT_EQ(findObject(compiled, "qlMode")->enums, (std::vector<NamedNumber>{{"on", 1}, {"off", 3}}));

    ASSERT_EQ(report.missingModules.size(), 1u);
    const auto& missing = report.missingModules[0];
    EXPECT_EQ(missing.name, "QLTEST-NOWHERE-MIB");
    EXPECT_EQ(missing.importers, std::vector<std::string>{"QLTEST-MISSING-MIB"});
    EXPECT_EQ(missing.names, (std::vector<std::string>{"FancyType", "fancyRoot"}));

    EXPECT_FALSE(report.modules[1].ok);
    EXPECT_NE(report.modules[1].error.find("syntax errors"), std::string::npos) << report.modules[1].error;
    EXPECT_TRUE(std::any_of(report.diagnostics.begin(), report.diagnostics.end(), [](auto& d) {
        return d.file.ends_with("broken.mib") && d.line > 0 && d.severity <= 1;
    }));
    EXPECT_FALSE(report.modules[2].ok);
    EXPECT_NE(report.modules[2].error.find("QLTEST-NO-SUCH-MIB"), std::string::npos);
    EXPECT_FALSE(report.modules[3].ok);
    ASSERT_TRUE(report.modules[4].ok) << report.modules[4].error;
    EXPECT_EQ(std::filesystem::path(report.modules[4].module.file).filename(), "odd-name.my");
}

}  // namespace
}  // namespace qlmib::test
