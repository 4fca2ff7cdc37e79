#pragma once
// The one place where numbers are read from texts and rounded; every
// conversion in the library goes through these.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qlmib {

// The number at the start of a text: optional blanks, sign, digits, decimal
// point and exponent, or "&H" and hex digits. No number gives 0.
double LeadingNumber(std::string_view text);

// The number that the whole text holds (blanks around it allowed, same forms
// as LeadingNumber), or none when anything else is left over ("12abc", "").
std::optional<double> WholeNumber(std::string_view text);

// Round to the nearest whole number, an exact half to the even neighbour.
// Throws Error(ERR_OVERFLOW) when the result does not fit.
std::int32_t RoundToInt32(double value);
std::int16_t RoundToInt16(double value);

// Shortest decimal text with at most 15 significant digits, no grouping and no
// trailing zeros ("1.5", "100", "-0.25").
std::string NumberText(double value);

// Fixed-point text with exactly `decimals` decimals and at least one digit
// before the point ("0.42", "9.6").
std::string FixedText(double value, int decimals);

// ASCII case folding, for keyword and key comparisons.
std::string UpperAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace qlmib
