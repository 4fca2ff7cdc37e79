#include "Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace qlmib {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads the number at the start of `text`; `end` receives the index just past
// it (0 when there is none).
double scanNumber(std::string_view text, size_t& end) {
    end = 0;
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
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
    // Find the longest prefix with the shape of a number first: from_chars
    // alone would also take "inf" and "nan", and rejects a leading "+".
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || negative)) ++i;
    const size_t start = i;
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
    double value = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond a double's range: 0 for a tiny magnitude, infinity for a huge one.
        const std::string_view number = text.substr(start, end - start);
        const size_t exponent = number.find_first_of("eE");
        const bool tiny = exponent == std::string_view::npos ? (number[0] == '0' || number[0] == '.')
                                                             : number[exponent + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
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
    while (end < text.size() && isBlank(text[end])) ++end;
    if (end != text.size()) return std::nullopt;
    return value;
}

std::string NumberText(double value) {
    if (value == 0) return "0";  // also turns -0 into 0
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    // Fifteen significant digits in scientific form, then laid out without the exponent.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    const bool negative = text[0] == '-';
    const size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(negative ? 1 : 0, e - (negative ? 1 : 0)))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    std::string out = negative ? "-" : "";
    const int pointAt = exponent + 1;  // digits before the decimal point
    if (pointAt <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-pointAt), '0');
        out += digits;
    } else if (static_cast<size_t>(pointAt) >= digits.size()) {
        out += digits;
        out.append(static_cast<size_t>(pointAt) - digits.size(), '0');
    } else {
        out += digits.substr(0, static_cast<size_t>(pointAt));
        out += '.';
        out += digits.substr(static_cast<size_t>(pointAt));
    }
    return out;
}

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) return NumberText(value);
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

}  // namespace qlmib
