#include <gtest/gtest.h>

#include <qlmib/mibx/ManageMIBsDates.h>

namespace qlmib {
namespace {

TEST(DateValue, ReadsTheDatabaseFormAndItsLooserSpellings) {
    const struct {
        const char* stored;
        const char* shown;  // nullptr: no date
    } cases[] = {
        {"2024-05-01 10:11:12", "2024-05-01 10:11:12"},
        {"2024-5-1 9:08:07", "2024-05-01 09:08:07"},
        {"2024-02-29T23:59:59Z", "2024-02-29 23:59:59"},
        {"2024-05-01 10:11", "2024-05-01 10:11:00"},
        {"2024-05-01", "2024-05-01 00:00:00"},
        {"1899-12-30 00:00:00", "1899-12-30 00:00:00"},
        {"1850-06-15 12:00:00", "1850-06-15 12:00:00"},  // before day zero
        {"2023-02-29 00:00:00", nullptr},
        {"2024-13-01", nullptr},
        {"2024-05-01 24:00:00", nullptr},
        {"2024-05-01 10:60", nullptr},
        {"2024-05-01 10", nullptr},
        {"2024-05-01 10:11:12 x", nullptr},
        {"24-05-01", nullptr},
        {"199905311200Z", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto value = DateValue(c.stored);
        ASSERT_EQ(value.has_value(), c.shown != nullptr) << c.stored;
        if (value) {
            EXPECT_EQ(DateValueText(*value), c.shown) << c.stored;
        }
    }
}

}  // namespace
}  // namespace qlmib
