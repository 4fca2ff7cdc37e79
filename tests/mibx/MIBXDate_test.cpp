// Dates as MIB-X files give them and as the module list reads them back.

#include <gtest/gtest.h>

#include <qlmib/mibx/MIBXDate.h>
#include <qlmib/mibx/ManageMIBsDates.h>

namespace qlmib {
namespace {

TEST(MIBXDate, ConvertsTheFormsWritersUseAndNothingElse) {
    const std::pair<const char*, const char*> cases[] = {
        {"2024-05-01", "2024-05-01 00:00:00"},
        {"2024-05-01 10:11:12", "2024-05-01 10:11:12"},
        {"\n 2024-02-29T23:59:59Z\n", "2024-02-29 23:59:59"},
        {"202402291530Z", "2024-02-29 15:30:00"},
        {"9905311200Z", "1999-05-31 12:00:00"},
    };
    for (const auto& [text, stored] : cases) EXPECT_EQ(ConvertMIBXDate(text), stored) << text;
    for (const char* text : {"", "yesterday", "2023-02-29", "2024-04-31", "2024-13-01", "2024-05-01 24:00:00",
                             "2024-05-01 10:11:60", "2024-05-01_10:11:12", "2024-05-01 10:11", "2024-5-1", "20240501",
                             "0050-01-01"})
        EXPECT_EQ(ConvertMIBXDate(text), kZeroDate) << text;
}

TEST(DateValue, ReadsTheDatabaseFormAndItsLooserSpellings) {
    const std::pair<const char*, const char*> cases[] = {
        {"2024-05-01 10:11:12", "2024-05-01 10:11:12"}, {"2024-5-1 9:08:07", "2024-05-01 09:08:07"},
        {"2024-02-29T23:59:59Z", "2024-02-29 23:59:59"}, {"2024-05-01 10:11", "2024-05-01 10:11:00"},
        {"2024-05-01", "2024-05-01 00:00:00"},           {"1899-12-30 00:00:00", "1899-12-30 00:00:00"},
        {"1850-06-15 12:00:00", "1850-06-15 12:00:00"},  // before day zero
    };
    for (const auto& [stored, shown] : cases) {
        const auto value = DateValue(stored);
        ASSERT_TRUE(value) << stored;
        EXPECT_EQ(DateValueText(*value), shown) << stored;
    }
    for (const char* stored : {"2023-02-29 00:00:00", "2024-13-01", "2024-05-01 24:00:00", "2024-05-01 10:60",
                               "2024-05-01 10", "2024-05-01 10:11:12 x", "24-05-01", "199905311200Z", ""})
        EXPECT_FALSE(DateValue(stored)) << stored;
    EXPECT_LT(*DateValue("2024-9-5 08:00:00"), *DateValue("2024-10-01 07:00:00")) << "values order by time";
}

}  // namespace
}  // namespace qlmib
