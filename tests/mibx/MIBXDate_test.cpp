#include <gtest/gtest.h>

#include <regex>

#include <qlmib/mibx/MIBXDate.h>

namespace qlmib {
namespace {

TEST(MIBXDate, ConvertsTheFormsWritersUse) {
    const struct {
        const char* text;
        const char* stored;
    } cases[] = {
        {"2024-05-01", "2024-05-01 00:00:00"},
        {"2024-05-01 10:11:12", "2024-05-01 10:11:12"},
        {"2024-05-01T10:11:12", "2024-05-01 10:11:12"},
        {"2024-05-01T10:11:12Z", "2024-05-01 10:11:12"},
        {"\n  2024-02-29 23:59:59\n", "2024-02-29 23:59:59"},
        {"202402291530Z", "2024-02-29 15:30:00"},
        {"9905311200Z", "1999-05-31 12:00:00"},
        {"0001010000Z", "1900-01-01 00:00:00"},
        {"200001010000", "2000-01-01 00:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(ConvertMIBXDate(c.text), c.stored) << c.text;
}

TEST(MIBXDate, AnythingElseIsTheZeroDate) {
    const char* const cases[] = {
        "",
        "yesterday",
        "2023-02-29",           // not a leap year
        "2024-13-01",
        "2024-04-31",
        "2024-05-01 24:00:00",
        "2024-05-01 10:60:00",
        "2024-05-01 10:11:60",
        "2024-05-01_10:11:12",
        "2024/05/01",
        "2024-5-1",
        "202405011230ZZ",
        "20240501",             // a date alone is not an SMI form
        "-024-05-01",
        "0050-01-01",           // no year before 100
        "2024-05-01 10:11",
    };
    for (const char* text : cases) EXPECT_EQ(ConvertMIBXDate(text), kZeroDate) << text;
}

TEST(MIBXDate, CurrentDateHasTheStoredForm) {
    EXPECT_TRUE(std::regex_match(CurrentDateText(), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
}

}  // namespace
}  // namespace qlmib
