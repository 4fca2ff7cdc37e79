#include <gtest/gtest.h>

#include <qlmib/mibx/SeenHashes.h>

#include <cstddef>

namespace qlmib {
namespace {

// Every hash noted is met again across each growth of the table, hashes
// alike in their low bits included, and 0 is a hash like the others.
TEST(SeenHashesTest, EveryHashIsMetAgainAfterTheTableGrowsAndAfterClearNone) {
    constexpr std::size_t kCount = 5000;
    const auto hash = [](std::size_t i) { return i << 20; };  // all alike in their low 20 bits
    SeenHashes seen;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < kCount; ++i) ASSERT_FALSE(seen.noteAgain(hash(i))) << pass << " " << i;
        for (std::size_t i = 0; i < kCount; ++i) ASSERT_TRUE(seen.noteAgain(hash(i))) << pass << " " << i;
        EXPECT_FALSE(seen.noteAgain(12345));
        EXPECT_TRUE(seen.noteAgain(12345));
        seen.clear();
    }
}

}  // namespace
}  // namespace qlmib
