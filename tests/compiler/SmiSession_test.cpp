#include <gtest/gtest.h>

#include <qlmib/common/Error.h>

#include "internal/SmiSession.h"

namespace qlmib::compiler {
namespace {

TEST(SmiSessionTest, OneSessionAtATimeAndAFreshOneAfterIt) {
    {
        SmiSession session("", false);
        try {
            SmiSession second("", false);
            FAIL() << "a second live session must be refused";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), ERR_INVALID_CALL);
        }
        EXPECT_EQ(session.load("QLTEST-NOT-ANYWHERE-MIB"), "");
        ASSERT_EQ(session.diagnostics().size(), 1u) << "the failed lookup is reported once";
        EXPECT_NE(session.diagnostics()[0].message.find("QLTEST-NOT-ANYWHERE-MIB"), std::string::npos);
    }
    SmiSession next("", false);
    EXPECT_TRUE(next.diagnostics().empty()) << "nothing carries over from the last session";
}

}  // namespace
}  // namespace qlmib::compiler
