#pragma once
// The one reader and writer of numbers in texts. Neither uses the process
// locale: a host may set one with a comma as decimal point, and "3.25" must
// still read as 3.25 and 3.25 still be written "3.25".

#include <optional>
#include <string>
#include <string_view>

namespace qlmib {

// The number at the start of a text: optional blanks, sign, digits, decimal
// point and exponent, or "&H" and hex digits. No number gives 0; words such as
// "inf" or "nan" are not numbers.
double LeadingNumber(std::string_view text);

// The number that the whole text holds (blanks around it allowed, same forms
// as LeadingNumber), or none when anything else is left over ("12abc", "").
std::optional<double> WholeNumber(std::string_view text);

// Shortest decimal text with at most 15 significant digits, no exponent, no
// grouping and no trailing zeros ("1.5", "100", "-0.25", 1e20 as
// "100000000000000000000").
std::string NumberText(double value);

// Fixed-point text with exactly `decimals` decimals and at least one digit
// before the point ("0.42", "9.6"); a value that rounds to zero has no sign.
std::string FixedText(double value, int decimals);

}  // namespace qlmib
