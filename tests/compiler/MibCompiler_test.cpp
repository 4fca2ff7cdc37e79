#include <gtest/gtest.h>

#include <algorithm>

#include "MibTextFixture.h"

namespace qlmib::test {
namespace {

using compiler::NamedNumber;

class MibCompilerTest : public MibTextFixture {};

TEST_F(MibCompilerTest, AModuleWithAMissingImportStillCompiles) {
    write("missing.mib", module("QLTEST-MISSING-MIB", "    FancyType, fancyRoot FROM QLTEST-NOWHERE-MIB",
                                scalar("qlFancy", "FancyType", 1) + scalar("qlPlain", "Integer32", 2) +
                                    scalar("qlUnder", "Integer32", 3, "fancyRoot")));
    const auto report = compile({(home_.folder() / "missing.mib").string()});

    ASSERT_TRUE(report.allSucceeded()) << report.modules[0].error;
    const auto& compiled = report.modules[0].module;
    ASSERT_TRUE(findObject(compiled, "qlFancy"));
    EXPECT_EQ(findObject(compiled, "qlFancy")->syntax, "FancyType") << "an unresolved type keeps its name";
    EXPECT_EQ(findObject(compiled, "qlFancy")->oid, "1.3.6.1.4.1.99990.1");
    EXPECT_EQ(findObject(compiled, "qlPlain")->syntax, "Integer32");
    EXPECT_FALSE(findObject(compiled, "qlUnder")) << "no OID can be had under a parent that is missing";

    ASSERT_EQ(report.missingModules.size(), 1u);
    const auto& missing = report.missingModules[0];
    EXPECT_EQ(missing.name, "QLTEST-NOWHERE-MIB");
    EXPECT_EQ(missing.importers, std::vector<std::string>{"QLTEST-MISSING-MIB"});
    EXPECT_EQ(missing.names, (std::vector<std::string>{"FancyType", "fancyRoot"}));
}

TEST_F(MibCompilerTest, AModuleIsFoundByWhatItsFileDefines) {
    const std::string tc =
        "QlLevel ::= TEXTUAL-CONVENTION\n    STATUS current\n    DESCRIPTION \"Levels.\"\n"
        "    SYNTAX INTEGER { low(1), high(2) }\n";
    write("odd-name.my", module("QLTEST-TYPES-MIB", "    TEXTUAL-CONVENTION FROM SNMPv2-TC",
                                tc + scalar("qlTypesLevel", "QlLevel", 1, "qlTypes"), "", "qlTypes", 99991));
    write("user.mib", module("QLTEST-USER-MIB", "    QlLevel FROM QLTEST-TYPES-MIB", scalar("qlLevel", "QlLevel", 1)));

    const auto report = compile({(home_.folder() / "user.mib").string(), "QLTEST-TYPES-MIB"});

    ASSERT_TRUE(report.allSucceeded()) << report.modules[1].error;
    EXPECT_TRUE(report.missingModules.empty());
    const auto* level = findObject(report.modules[0].module, "qlLevel");
    ASSERT_TRUE(level);
    EXPECT_EQ(level->syntax, "QlLevel");
    EXPECT_EQ(level->enums, (std::vector<NamedNumber>{{"low", 1}, {"high", 2}})) << "inherited from the TC";

    const auto& types = report.modules[1].module;
    EXPECT_EQ(types.name, "QLTEST-TYPES-MIB");
    EXPECT_EQ(std::filesystem::path(types.file).filename(), "odd-name.my");
    ASSERT_EQ(types.textualConventions.size(), 1u);
    EXPECT_EQ(types.textualConventions[0].name, "QlLevel");
    EXPECT_EQ(types.textualConventions[0].baseType, "INTEGER");
    EXPECT_EQ(types.textualConventions[0].code, 2);
}

TEST_F(MibCompilerTest, NamesThatCannotBeXmlElementNamesAreReportedAndSkipped) {
    write("names.mib", module("QLTEST-NAMES-MIB", "",
                              scalar("xmlThing", "Integer32", 1) +
                                  scalar("qlMode", "INTEGER { on(1), xmlOff(2), off(3) }", 2)));
    const auto report = compile({(home_.folder() / "names.mib").string()});

    ASSERT_TRUE(report.allSucceeded()) << report.modules[0].error;
    const auto& result = report.modules[0];
    ASSERT_EQ(result.skipped.size(), 2u);
    EXPECT_NE(result.skipped[0].find("xmlThing"), std::string::npos);
    EXPECT_NE(result.skipped[1].find("xmlOff"), std::string::npos);
    EXPECT_FALSE(findObject(result.module, "xmlThing"));
    const auto* mode = findObject(result.module, "qlMode");
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->enums, (std::vector<NamedNumber>{{"on", 1}, {"off", 3}}));
}

TEST_F(MibCompilerTest, BadRequestsFailAloneAndLoseNothingElse) {
    write("broken.mib", module("QLTEST-BROKEN-MIB", "", "qlBroken OBJECT-TYPE\n    SYNTAX INTEGER { 10mbit(1) }\n"
                                                        "    MAX-ACCESS read-only\n    STATUS current\n"
                                                        "    DESCRIPTION \"x\"\n    ::= { qlTest 1 }\n"));
    write("good.mib", module("QLTEST-GOOD-MIB", "", scalar("qlGood", "Integer32", 1, "qlGoodRoot"), "", "qlGoodRoot", 99992));
    write("empty.txt", "no module here\n");
    const auto report = compile({(home_.folder() / "broken.mib").string(), "QLTEST-NO-SUCH-MIB",
                                 (home_.folder() / "empty.txt").string(), (home_.folder() / "good.mib").string()});

    ASSERT_EQ(report.modules.size(), 4u);
    EXPECT_FALSE(report.allSucceeded());
    EXPECT_FALSE(report.modules[0].ok);
    EXPECT_NE(report.modules[0].error.find("syntax errors"), std::string::npos) << report.modules[0].error;
    EXPECT_FALSE(report.modules[1].ok);
    EXPECT_NE(report.modules[1].error.find("QLTEST-NO-SUCH-MIB"), std::string::npos);
    EXPECT_FALSE(report.modules[2].ok);
    ASSERT_TRUE(report.modules[3].ok) << report.modules[3].error;
    EXPECT_TRUE(findObject(report.modules[3].module, "qlGood"));
    const bool syntaxErrorReported = std::any_of(report.diagnostics.begin(), report.diagnostics.end(), [](auto& d) {
        return d.file.ends_with("broken.mib") && d.line > 0 && d.severity <= 1;
    });
    EXPECT_TRUE(syntaxErrorReported);
}

TEST_F(MibCompilerTest, LastUpdatedIsTheNewestRevisionAndNotificationsAreTraps) {
    const std::string revisions =
        "    REVISION \"201901010000Z\"\n    DESCRIPTION \"Old.\"\n"
        "    REVISION \"202401150000Z\"\n    DESCRIPTION \"New.\"\n"
        "    REVISION \"202001010000Z\"\n    DESCRIPTION \"Middle.\"\n";
    const std::string trap =
        "qlEvent NOTIFICATION-TYPE\n    OBJECTS { qlValue }\n    STATUS current\n"
        "    DESCRIPTION \"Something happened.\"\n    ::= { qlTest 0 1 }\n";
    write("dates.mib", module("QLTEST-DATES-MIB", "", scalar("qlValue", "Integer32", 1) + trap, revisions));
    const auto report = compile({(home_.folder() / "dates.mib").string()});

    ASSERT_TRUE(report.allSucceeded()) << report.modules[0].error;
    const auto& compiled = report.modules[0].module;
    EXPECT_EQ(compiled.lastUpdated, "2024-01-15 00:00:00");
    const auto* event = findObject(compiled, "qlEvent");
    ASSERT_TRUE(event);
    EXPECT_EQ(event->syntax, "TRAP");
    EXPECT_EQ(event->oid, "1.3.6.1.4.1.99990.0.1");
    EXPECT_EQ(event->access, "");
    EXPECT_EQ(event->status, "current");
}

}  // namespace
}  // namespace qlmib::test
