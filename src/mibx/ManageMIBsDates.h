#pragma once
// The import times of the module list: dates as the MIB database stores them,
// read as date values so that they sort by time rather than by text.

#include <optional>
#include <string>
#include <string_view>

namespace qlmib {

// The date of "YYYY-MM-DD HH:MM:SS" as days since 1899-12-30 (the original
// platform's day zero) with the time of day as the fraction. Also takes
// one-digit month, day and time fields, "T" for the blank, a time without
// seconds, no time at all, and a final "Z". None for anything else or for a
// day that does not exist.
std::optional<double> DateValue(std::string_view text);

// A date value as "YYYY-MM-DD HH:MM:SS", to the nearest second.
std::string DateValueText(double value);

}  // namespace qlmib
