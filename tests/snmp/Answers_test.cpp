// OIDs between net-snmp's arcs and dotted text.
#include <gtest/gtest.h>

#include <string>

#include "internal/Answers.h"

namespace qlmib::snmp::internal {
namespace {

std::string repeated(const std::string& arc, size_t count) {
    std::string text = arc;
    for (size_t i = 1; i < count; ++i) text += "." + arc;
    return text;
}

TEST(OidText, WritesEveryArcOfWhatParseOidReads) {
    const std::string widest = "4294967295";
    for (const std::string text : {std::string("0.0"), std::string("1.3.6.1.2.1.1.1.0"), widest + ".0." + widest,
                                   // longer than the stack buffer: written in pieces
                                   repeated(widest, MAX_OID_LEN), repeated("7", MAX_OID_LEN)}) {
        const auto arcs = ParseOid(text);
        ASSERT_TRUE(arcs) << text;
        EXPECT_EQ(OidText(arcs->data(), arcs->size()), text);
    }
    EXPECT_EQ(OidText(nullptr, 0), "");
}

}  // namespace
}  // namespace qlmib::snmp::internal
