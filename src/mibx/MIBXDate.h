#pragma once
// Dates as the MIB database stores them: ISO-8601 text "YYYY-MM-DD HH:MM:SS".

#include <string>
#include <string_view>

namespace qlmib {

// What a date that does not convert is stored as.
inline constexpr std::string_view kZeroDate = "1899-12-30 00:00:00";

// A date of a MIB-X file in database form. Accepts "YYYY-MM-DD", with or
// without a time "HH:MM:SS" after a blank or "T", and SMI's "YYYYMMDDHHMM" and
// "YYMMDDHHMM" (19YY); each may end in "Z". Anything else, or a day that does
// not exist, gives kZeroDate.
std::string ConvertMIBXDate(std::string_view text);

// The current local date and time in database form.
std::string CurrentDateText();

}  // namespace qlmib
