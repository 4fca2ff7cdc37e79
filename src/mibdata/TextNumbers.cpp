#include "TextNumbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "qlmib/common/Error.h"

namespace qlmib {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

template <class Int>
Int roundChecked(double value) {
    if (std::isnan(value)) throw Error(ERR_OVERFLOW, "Overflow");
    const double r = std::nearbyint(value);  // default rounding mode: halves to even
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        throw Error(ERR_OVERFLOW, "Overflow");
    return static_cast<Int>(r);
}

// Reads the number at the start of `text`; `end` receives the index just past
// it (0 when there is none).
double scanNumber(std::string_view text, size_t& end) {
    end = 0;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i + 1 < text.size() && text[i] == '&' && upper(text[i + 1]) == 'H') {
        double value = 0;
        const size_t first = i + 2;
        for (i = first; i < text.size(); ++i) {
            const int d = hexDigit(text[i]);
            if (d < 0) break;
            value = value * 16 + d;
        }
        if (i > first) end = i;
        return value;
    }
    // Copy the longest prefix that has the shape of a number, then convert it.
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            end = j;
        }
    }
    char buffer[128];
    const size_t length = end - start;
    if (length < sizeof buffer) {
        text.copy(buffer, length, start);
        buffer[length] = '\0';
        return std::strtod(buffer, nullptr);
    }
    return std::strtod(std::string(text.substr(start, length)).c_str(), nullptr);
}

}  // namespace

double LeadingNumber(std::string_view text) {
    size_t end;
    return scanNumber(text, end);
}

std::optional<double> WholeNumber(std::string_view text) {
    size_t end;
    const double value = scanNumber(text, end);
    if (end == 0) return std::nullopt;
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
    if (end != text.size()) return std::nullopt;
    return value;
}

std::int32_t RoundToInt32(double value) { return roundChecked<std::int32_t>(value); }

std::int16_t RoundToInt16(double value) { return roundChecked<std::int16_t>(value); }

std::string NumberText(double value) {
    if (value == 0) return "0";  // also turns -0 into 0
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string FixedText(double value, int decimals) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    // A value that rounds to zero is written without its sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = upper(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

}  // namespace qlmib
