#include "ManageMIBsDates.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace qlmib {
namespace {

namespace chrono = std::chrono;

constexpr chrono::sys_days kDayZero{chrono::year(1899) / chrono::December / 30};
constexpr long long kSecondsPerDay = 86400;

// A field of minDigits to maxDigits decimal digits at `at`, which moves past it.
std::optional<int> field(std::string_view text, size_t& at, size_t minDigits, size_t maxDigits) {
    int value = 0;
    size_t count = 0;
    while (at < text.size() && count < maxDigits && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at++] - '0');
        ++count;
    }
    if (count < minDigits) return std::nullopt;
    return value;
}

bool skip(std::string_view text, size_t& at, char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

}  // namespace

std::optional<double> DateValue(std::string_view text) {
    size_t at = 0;
    const auto y = field(text, at, 4, 4);
    if (!y || !skip(text, at, '-')) return std::nullopt;
    const auto m = field(text, at, 1, 2);
    if (!m || !skip(text, at, '-')) return std::nullopt;
    const auto d = field(text, at, 1, 2);
    if (!d) return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (skip(text, at, ' ') || skip(text, at, 'T')) {
        const auto h = field(text, at, 1, 2);
        if (!h || !skip(text, at, ':')) return std::nullopt;
        const auto mi = field(text, at, 1, 2);
        if (!mi) return std::nullopt;
        std::optional<int> s = 0;
        if (skip(text, at, ':')) s = field(text, at, 1, 2);
        if (!s) return std::nullopt;
        hour = *h, minute = *mi, second = *s;
    }
    skip(text, at, 'Z');
    if (at != text.size() || hour > 23 || minute > 59 || second > 59) return std::nullopt;
    const chrono::year_month_day date{chrono::year(*y), chrono::month(static_cast<unsigned>(*m)),
                                      chrono::day(static_cast<unsigned>(*d))};
    if (!date.ok()) return std::nullopt;
    const auto days = (chrono::sys_days(date) - kDayZero).count();
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
}

std::string DateValueText(double value) {
    const auto total = std::llround(value * kSecondsPerDay);
    auto days = total / kSecondsPerDay, rest = total % kSecondsPerDay;
    if (rest < 0) rest += kSecondsPerDay, --days;
    const chrono::year_month_day date{kDayZero + chrono::days(days)};
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02lld:%02lld:%02lld", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()), rest / 3600, rest / 60 % 60,
                  rest % 60);
    return text;
}

}  // namespace qlmib
