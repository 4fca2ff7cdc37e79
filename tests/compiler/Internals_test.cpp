#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <qlmib/common/Error.h>

#include "internal/DependencyOrder.h"
#include "internal/MibScanner.h"
#include "internal/SmiSession.h"
#include "internal/Wire.h"
#include "internal/WorkerProtocol.h"

namespace qlmib::compiler {
namespace {

using Imports = std::vector<std::pair<std::string, std::vector<std::string>>>;

TEST(MibScannerTest, FindsModulesAndTheirImports) {
    const char* text = R"(-- FAKE-MIB DEFINITIONS ::= BEGIN in a comment
FIRST-MIB DEFINITIONS ::= BEGIN
IMPORTS
    MODULE-IDENTITY, OBJECT-TYPE -- a comment -- , Integer32
        FROM SNMPv2-SMI
    DisplayString FROM SNMPv2-TC;
x OBJECT-TYPE
    DESCRIPTION "NOT-A-MIB DEFINITIONS ::= BEGIN FROM x"
    ::= { y 1 }
END
SECOND-MIB { iso 3 } DEFINITIONS ::= BEGIN
Thing MACRO ::= BEGIN "strange ' text" OTHER DEFINITIONS ::= BEGIN END
END
)";
    const auto modules = ScanModules(text);
    ASSERT_EQ(modules.size(), 2u);
    EXPECT_EQ(modules[0].name, "FIRST-MIB");
    EXPECT_EQ(modules[0].imports, (Imports{{"SNMPv2-SMI", {"MODULE-IDENTITY", "OBJECT-TYPE", "Integer32"}},
                                           {"SNMPv2-TC", {"DisplayString"}}}));
    EXPECT_EQ(modules[1].name, "SECOND-MIB");
    EXPECT_TRUE(modules[1].imports.empty());
}

TEST(MibScannerTest, BrokenTextEndsTheScanQuietly) {
    for (const char* text : {"", "A-MIB DEFINITIONS", "A-MIB DEFINITIONS ::= BEGIN IMPORTS x FROM", "\"open string",
                             "X MACRO ::= BEGIN never ends", "A-MIB DEFINITIONS ::= BEGIN IMPORTS a, b FROM"}) {
        EXPECT_NO_THROW(ScanModules(text)) << text;
    }
    EXPECT_EQ(ScanModules("A-MIB DEFINITIONS ::= BEGIN IMPORTS a FROM").size(), 1u);
}

TEST(DependencyOrderTest, ImportsComeFirstAndCyclesEnd) {
    const std::vector<std::string> names{"A", "B", "C", "D"};
    // A imports B and an outside module; B imports C; C imports B (a cycle); D stands alone.
    const auto order = DependencyOrder(names, {{"B", "OUTSIDE"}, {"C"}, {"B"}, {}});
    EXPECT_EQ(order, (std::vector<std::size_t>{2, 1, 0, 3}));
    EXPECT_TRUE(DependencyOrder({}, {}).empty());
}

TEST(SmiSessionTest, OneSessionAtATimeAndAFreshOneAfterIt) {
    {
        SmiSession session("", false);
        const auto number = [](const Error& e) { return e.Number(); };
        EXPECT_THAT([] { SmiSession second("", false); },
                    testing::Throws<Error>(testing::ResultOf(number, ERR_INVALID_CALL)))
            << "a second live session is refused";
        EXPECT_EQ(session.load("QLTEST-NOT-ANYWHERE-MIB"), "");
        ASSERT_EQ(session.diagnostics().size(), 1u) << "the failed lookup is reported once";
        EXPECT_NE(session.diagnostics()[0].message.find("QLTEST-NOT-ANYWHERE-MIB"), std::string::npos);
    }
    SmiSession next("", false);
    EXPECT_TRUE(next.diagnostics().empty()) << "nothing carries over from the last session";
}

}  // namespace
}  // namespace qlmib::compiler

namespace qlmib::compiler {
namespace {

// What a worker sends comes back whole, and a message cut anywhere (a worker
// killed mid-write) is refused rather than read as a shorter one.
TEST(WorkerProtocolTest, MessagesComeBackWholeAndCutOnesAreRefused) {
    TargetMessage sent;
    sent.result.request = "a.mib";
    sent.result.ok = true;
    sent.result.module.name = "A-MIB";
    sent.result.module.objects.push_back({"a", "1.3.6.1.4.1.1", "INTEGER", "read-only", "current",
                                              std::string("d\0x", 3), {{"low", -2147483648LL}}});
    sent.result.module.textualConventions.push_back({"Level", "INTEGER", 2});
    sent.result.unresolved.push_back({"t", "snmp"});
    sent.missing.push_back({"B-MIB", {"b"}});
    sent.diagnostics.push_back({"a.mib", 3, 1, "oops"});
    const std::string bytes = EncodeTarget(sent);

    const auto back = DecodeWorkerMessage(bytes);
    ASSERT_TRUE(back.target);
    EXPECT_EQ(back.target->result.module.objects[0].enums, sent.result.module.objects[0].enums);
    EXPECT_EQ(back.target->result.module.objects[0].description, std::string("d\0x", 3));
    EXPECT_EQ(back.target->result.unresolved, sent.result.unresolved);
    EXPECT_EQ(back.target->missing, sent.missing);
    EXPECT_EQ(back.target->diagnostics[0].message, "oops");
    EXPECT_EQ(back.target->result.module.textualConventions[0].code, 2);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_THROW(DecodeWorkerMessage(bytes.substr(0, cut)), Error) << "cut at " << cut;
    }

    std::string stream = Framed(bytes) + Framed(EncodeLoading({"B-MIB", "b.mib"}));
    std::string message;
    ASSERT_TRUE(TakeFramed(stream, message));
    EXPECT_EQ(message, bytes);
    stream.pop_back();
    EXPECT_FALSE(TakeFramed(stream, message)) << "half a frame waits for the rest";
}

}  // namespace
}  // namespace qlmib::compiler
