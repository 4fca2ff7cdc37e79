#include <gtest/gtest.h>

#include <array>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/CommonFunctions.h>
#include <qlmib/mibdata/TextNumbers.h>

namespace qlmib {
namespace {

struct NumberCase {
    const char* text;
    double expected;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    const NumberCase cases[] = {
        {"42", 42},        {"-7", -7},          {"+3", 3},        {"3.25abc", 3.25}, {"1e3", 1000},
        {"2E-2x", 0.02},   {"1e", 1},           {"  12", 12},     {"abc", 0},        {"", 0},
        {"&HFF", 255},     {"&h0a", 10},        {"&H", 0},        {".5", 0.5},       {"-", 0},
        {"12.34.56", 12.34}, {"7 seconds", 7},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.expected) << c.text;
}

TEST(WholeNumber, AcceptsOnlyATextThatIsANumber) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"42", 42},       {" -7 ", -7},          {"1e3", 1000},         {"&HFF", 255},
        {"2.5", 2.5},     {"12abc", std::nullopt}, {"", std::nullopt},  {"  ", std::nullopt},
        {"abc", std::nullopt}, {"&H", std::nullopt}, {"1 2", std::nullopt}, {"-", std::nullopt},
        {"1e", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(WholeNumber(text), expected) << '"' << text << '"';
}

TEST(RoundToInt, HalvesGoToTheEvenNeighbourAndOutOfRangeOverflows) {
    const std::pair<double, int> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {2.4, 2}, {2.6, 3}, {-0.4, 0}};
    for (auto [in, out] : cases) EXPECT_EQ(RoundToInt32(in), out) << in;
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    try {
        RoundToInt16(32768);
        FAIL() << "no overflow";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_OVERFLOW);
    }
    EXPECT_THROW(RoundToInt32(3e9), Error);
}

TEST(NumberText, ShortestFormWithFifteenDigits) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"}, {-0.0, "0"}, {100, "100"}, {1.5, "1.5"}, {-0.25, "-0.25"}, {69.5, "69.5"},
        {0.1 + 0.2, "0.3"}, {123456789012345.0, "123456789012345"}, {1.0 / 3, "0.333333333333333"},
    };
    for (auto [in, out] : cases) EXPECT_EQ(NumberText(in), out) << in;
}

TEST(FormatQuantity, ChoosesPrefixByDecimalThresholds) {
    const struct {
        double amount;
        bool binary;
        const char *unit, *expected;
    } cases[] = {
        {100000000, false, "bps", "100 Mbps"}, {10000000, false, "bps", "10 Mbps"},
        {9000000, false, "bps", "9.00 Mbps"},  {1544000, false, "bps", "1.54 Mbps"},
        {64000, false, "bps", "64 Kbps"},      {9601, false, "bps", "9.6 Kbps"},
        {9600, false, "bps", "9600 bps"},      {0, false, "bps", "0 bps"},
        {1024, true, "bytes", "1024 bytes"},   {102400, true, "bytes", "100 Kbytes"},
        {2000000, true, "bytes", "1.91 Mbytes"}, {1e9, false, "bps", "1.0 Gbps"},
        {2.5e12, false, "bps", "2.5 Tbps"},    {3e15, false, "bps", "3.0 Petabps"},
        {-64000, false, "bps", "-64 Kbps"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatQuantity(c.amount, c.unit, c.binary), c.expected) << c.amount;
}

TEST(FormatTimeSpan, PartsAreShownOnlyAboveTheirSize) {
    const std::pair<std::array<int, 4>, const char*> cases[] = {
        {{0, 0, 0, 0}, ""},          {{0, 0, 0, 1}, "1 seconds"}, {{0, 0, 0, 60}, "60 seconds"},
        {{0, 0, 0, 3600}, "60 minutes"}, {{0, 0, 0, 86400}, "24 hours"}, {{2, 0, 0, 0}, "2 days"},
        {{0, 0, 2, 0}, "2 minutes"},
        {{0, 0, 0, 90061}, "1 days, 1 hours, 1 minutes, 1 seconds"},
        {{1, 1, 1, 1}, "1 days, 1 hours, 1 minutes, 1 seconds"},
    };
    for (const auto& [dhms, expected] : cases)
        EXPECT_EQ(FormatTimeSpan(dhms[0], dhms[1], dhms[2], dhms[3]), expected) << dhms[3];
}

TEST(FormatDateTime, WritesIsoFormAndLeavesOutMidnight) {
    EXPECT_EQ(FormatDateTime(2024, 2, 29, 13, 5, 9), "2024-02-29 13:05:09");
    EXPECT_EQ(FormatDateTime(2024, 3, 1, 0, 0, 0), "2024-03-01");
    EXPECT_EQ(FormatDateTime(2023, 12, 31, 23, 59, 60), "2024-01-01");  // seconds roll over into the next day
    EXPECT_THROW(FormatDateTime(2023, 2, 29, 0, 0, 0), Error);
    EXPECT_THROW(FormatDateTime(2023, 13, 1, 0, 0, 0), Error);
    EXPECT_THROW(FormatDateTime(0, 1, 1, 0, 0, 0), Error);
}

}  // namespace
}  // namespace qlmib
