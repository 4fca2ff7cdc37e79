#include "CommonFunctions.h"

#include <cmath>
#include <cstdio>

#include "TextNumbers.h"
#include "qlmib/common/Error.h"

namespace qlmib {

std::string FormatQuantity(double Amount, const std::string& Unit, bool Binary) {
    const double base = Binary ? 1024.0 : 1000.0;
    const double a = std::fabs(Amount);
    struct Row {
        bool applies;
        int power;
        int decimals;
        const char* prefix;
    };
    const Row rows[] = {
        {a >= 1e15, 5, 1, " Peta"}, {a >= 1e12, 4, 1, " T"}, {a >= 1e9, 3, 1, " G"},
        {a > 9e6, 2, 0, " M"},      {a >= 1e6, 2, 2, " M"},  {a > 50000, 1, 0, " K"},
        {a > 9600, 1, 1, " K"},     {true, 0, 0, " "},
    };
    for (const auto& row : rows) {
        if (!row.applies) continue;
        return FixedText(Amount / std::pow(base, row.power), row.decimals) + row.prefix + Unit;
    }
    return {};  // not reached: the last row always applies
}

std::string FormatTimeSpan(std::int64_t Days, std::int64_t Hours, std::int64_t Minutes, std::int64_t Seconds) {
    std::int64_t total = Days * 86400 + Hours * 3600 + Minutes * 60 + Seconds;
    std::string out;
    auto add = [&](std::int64_t n, const char* unit) {
        if (!out.empty()) out += ", ";
        out += std::to_string(n);
        out += unit;
    };
    if (total > 86400) {
        add(total / 86400, " days");
        total %= 86400;
    }
    if (total > 3600) {
        add(total / 3600, " hours");
        total %= 3600;
    }
    if (total > 60) {
        add(total / 60, " minutes");
        total %= 60;
    }
    if (total > 0) add(total, " seconds");
    return out;
}

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

}  // namespace

std::string FormatDateTime(int year, int month, int day, std::int64_t hours, std::int64_t minutes,
                           std::int64_t seconds) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > kDays[month - 1] + (month == 2 && isLeap(year) ? 1 : 0))
        throw Error(ERR_TYPE_MISMATCH, "Type mismatch");
    std::int64_t total = daysFromCivil(year, month, day) * 86400 + hours * 3600 + minutes * 60 + seconds;
    std::int64_t days = total / 86400, rest = total % 86400;
    if (rest < 0) rest += 86400, --days;
    std::int64_t y;
    unsigned m, d;
    civilFromDays(days, y, m, d);
    char buffer[64];
    if (rest == 0) {
        std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(y), m,
                      d, static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                      static_cast<long long>(rest % 60));
    }
    return buffer;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace qlmib
