#include <gtest/gtest.h>

#include <qlmib/mibx/MIBXDate.h>

namespace qlmib {
namespace {

TEST(MIBXDate, ConvertsTheFormsWritersUseAndNothingElse) {
    const std::string zero(kZeroDate);
    const struct {
        const char* text;
        std::string stored;
    } cases[] = {
        {"2024-05-01", "2024-05-01 00:00:00"},
        {"2024-05-01 10:11:12", "2024-05-01 10:11:12"},
        {"\n 2024-02-29T23:59:59Z\n", "2024-02-29 23:59:59"},
        {"202402291530Z", "2024-02-29 15:30:00"},
        {"9905311200Z", "1999-05-31 12:00:00"},
        {"", zero},
        {"yesterday", zero},
        {"2023-02-29", zero},
        {"2024-04-31", zero},
        {"2024-13-01", zero},
        {"2024-05-01 24:00:00", zero},
        {"2024-05-01 10:11:60", zero},
        {"2024-05-01_10:11:12", zero},
        {"2024-05-01 10:11", zero},
        {"2024-5-1", zero},
        {"20240501", zero},
        {"0050-01-01", zero},
    };
    for (const auto& c : cases) EXPECT_EQ(ConvertMIBXDate(c.text), c.stored) << c.text;
}

}  // namespace
}  // namespace qlmib
