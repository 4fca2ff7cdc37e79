#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/CommonFunctions.h>
#include <qlmib/mibdata/TextNumbers.h>

#include "ScopedLocale.h"

namespace qlmib {
namespace {

struct NumberCase {
    const char* text;
    double expected;
};

// Number texts never depend on the process locale: every case runs under a
// comma-decimal locale too.
using NumberTexts = test::UnderLocale<::testing::Test>;
INSTANTIATE_TEST_SUITE_P(Locales, NumberTexts, ::testing::ValuesIn(test::kNumberLocales));

TEST_P(NumberTexts, LeadingNumberReadsTheNumberAtTheStart) {
    const NumberCase cases[] = {
        {"42", 42},        {"-7", -7},          {"+3", 3},        {"3.25abc", 3.25}, {"1e3", 1000},
        {"2E-2x", 0.02},   {"1e", 1},           {"  12", 12},     {"abc", 0},        {"", 0},
        {"&HFF", 255},     {"&h0a", 10},        {"&H", 0},        {".5", 0.5},       {"-", 0},
        {"12.34.56", 12.34}, {"7 seconds", 7}, {"3,25", 3},      {"inf", 0},        {"nan", 0},
        {"Infiniband", 0},  {"-infinity", 0},    {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}, {"1e-999", 0},
        {"18446744073709551615", 18446744073709551615.0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.expected) << c.text;
}

TEST_P(NumberTexts, WholeNumberAcceptsOnlyATextThatIsANumber) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"42", 42},       {" -7 ", -7},          {"1e3", 1000},         {"&HFF", 255},
        {"2.5", 2.5},     {"12abc", std::nullopt}, {"", std::nullopt},  {"  ", std::nullopt},
        {"abc", std::nullopt}, {"&H", std::nullopt}, {"1 2", std::nullopt}, {"-", std::nullopt},
        {"1e", std::nullopt}, {"inf", std::nullopt}, {"NaN", std::nullopt}, {"3,25", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(WholeNumber(text), expected) << '"' << text << '"';
}

TEST(RoundToInt, HalvesGoToTheEvenNeighbourAndOutOfRangeOverflows) {
    EXPECT_EQ(RoundToInt64(4294967296.5), 4294967296);
    EXPECT_EQ(RoundToInt64(-0x1p63), INT64_MIN);
    EXPECT_THROW(RoundToInt64(0x1p63), Error);  // INT64_MAX rounds up to 2^63 as a double
    EXPECT_THROW(RoundToInt64(NAN), Error);
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

TEST_P(NumberTexts, NumberTextIsTheShortestFormWithFifteenDigitsAndNoExponent) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"}, {-0.0, "0"}, {100, "100"}, {1.5, "1.5"}, {-0.25, "-0.25"}, {69.5, "69.5"},
        {0.1 + 0.2, "0.3"}, {123456789012345.0, "123456789012345"}, {1.0 / 3, "0.333333333333333"},
        {1e20, "100000000000000000000"}, {-1.5e16, "-15000000000000000"}, {1e-7, "0.0000001"},
        {18446744073709551615.0, "18446744073709600000"}, {999999999999999.4, "999999999999999"},
        {1234.5, "1234.5"},
    };
    for (auto [in, out] : cases) EXPECT_EQ(NumberText(in), out) << in;
}

TEST_P(NumberTexts, FixedTextHasExactlyTheDecimalsAsked) {
    const struct {
        double value;
        int decimals;
        const char* expected;
    } cases[] = {
        {0.42, 2, "0.42"}, {9.6, 1, "9.6"}, {1234.5, 0, "1234"}, {-0.001, 2, "0.00"}, {2.5, 2, "2.50"},
        {1e20, 1, "100000000000000000000.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FixedText(c.value, c.decimals), c.expected) << c.value;
}

TEST_P(NumberTexts, FormatQuantityChoosesPrefixByDecimalThresholds) {
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
