// `qlmib compile` end to end: the lines it prints, the files it writes and
// its exit status.
#include <gtest/gtest.h>

#include "CommandRun.h"
#include "MibTextFixture.h"

namespace qlmib::test {
namespace {

class CompileCommandTest : public MibTextFixture {
protected:
    // Runs qlmib compile on the request names; returns the exit status, the output in `out`.
    int run(const std::vector<std::string>& requests, std::string& out) {
        std::vector<std::string> arguments = {"compile", "-p", home_.folder().string(), "-p", corpus_, "-o",
                                              (home_.folder() / "mibx").string()};
        arguments.insert(arguments.end(), requests.begin(), requests.end());
        const auto result = runQlmib(home_.folder(), arguments);
        out = result.out + result.err;
        return result.status;
    }
};

TEST_F(CompileCommandTest, WritesEachModuleAndFailsWhenOneFails) {
    write("good.mib", module("QLTEST-GOOD-MIB", "    Fancy FROM QLTEST-ABSENT-MIB",
                             scalar("qlGood", "Integer32", 1) + scalar("qlFancy", "Fancy", 2)));
    std::string out;
    EXPECT_EQ(run({"QLTEST-GOOD-MIB"}, out), 0) << out;
    EXPECT_NE(out.find("QLTEST-GOOD-MIB: written "), std::string::npos) << out;
    EXPECT_NE(out.find("QLTEST-GOOD-MIB.mibx (3 objects)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  QLTEST-ABSENT-MIB not found; imported by QLTEST-GOOD-MIB: Fancy\n"), std::string::npos)
        << out;
    EXPECT_TRUE(std::filesystem::exists(home_.folder() / "mibx" / "QLTEST-GOOD-MIB.mibx"));

    EXPECT_EQ(run({"QLTEST-GOOD-MIB", "QLTEST-NO-SUCH-MIB"}, out), 1) << out;
    EXPECT_NE(out.find("QLTEST-NO-SUCH-MIB: failed: "), std::string::npos) << out;
    EXPECT_EQ(out.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace qlmib::test
