#include "MIBXDate.h"

#include <ctime>
#include <cstdio>
#include <optional>

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/CommonFunctions.h"
#include "qlmib/mibx/MIBXDocument.h"

namespace qlmib {
namespace {

struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// `count` decimal digits at `at`, or nothing.
std::optional<int> digits(std::string_view text, size_t at, size_t count) {
    if (at + count > text.size()) return std::nullopt;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Reads the fields at the given positions, each of two digits but the year;
// a negative position leaves the field 0.
std::optional<DateTime> fields(std::string_view text, size_t yearDigits, const int (&at)[6]) {
    int values[6] = {};
    for (int i = 0; i < 6; ++i) {
        if (at[i] < 0) continue;
        const auto v = digits(text, static_cast<size_t>(at[i]), i == 0 ? yearDigits : 2);
        if (!v) return std::nullopt;
        values[i] = *v;
    }
    return DateTime{values[0], values[1], values[2], values[3], values[4], values[5]};
}

std::optional<DateTime> parse(std::string_view text) {
    switch (text.size()) {
    case 10:
        if (text[4] == '-' && text[7] == '-') return fields(text, 4, {0, 5, 8, -1, -1, -1});
        if (auto d = fields(text, 2, {0, 2, 4, 6, 8, -1})) {
            d->year += 1900;  // SMI's two-digit years are of the 1900s
            return d;
        }
        return std::nullopt;
    case 12:
        return fields(text, 4, {0, 4, 6, 8, 10, -1});
    case 19:
        if (text[4] != '-' || text[7] != '-' || (text[10] != ' ' && text[10] != 'T') || text[13] != ':' ||
            text[16] != ':')
            return std::nullopt;
        return fields(text, 4, {0, 5, 8, 11, 14, 17});
    default:
        return std::nullopt;
    }
}

}  // namespace

std::string ConvertMIBXDate(std::string_view text) {
    text = TrimXMLSpace(text);
    if (!text.empty() && text.back() == 'Z') text.remove_suffix(1);
    const auto d = parse(text);
    if (!d || d->hour > 23 || d->minute > 59 || d->second > 59) return std::string(kZeroDate);
    std::string date;
    // FormatDateTime knows the calendar: it rejects a day that does not exist.
    if (!IgnoringErrors([&] { date = FormatDateTime(d->year, d->month, d->day, 0, 0, 0); }))
        return std::string(kZeroDate);
    char time[40];
    std::snprintf(time, sizeof time, " %02d:%02d:%02d", d->hour, d->minute, d->second);
    return date + time;
}

std::string CurrentDateText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace qlmib
