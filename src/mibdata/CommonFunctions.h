#pragma once
// Formatters that the value parser uses and hosts may call.

#include <cstdint>
#include <string>
#include <string_view>

namespace qlmib {

// Amount with a decimal prefix chosen by its size: 1544000 bps as "1.54 Mbps";
// with Binary the divisor is 1024 (2000000 bytes as "1.91 Mbytes").
std::string FormatQuantity(double Amount, const std::string& Unit, bool Binary);

// "1 days, 1 hours, 1 minutes, 1 seconds"; a part is shown only when the rest
// is above its size, so exactly one hour reads "60 minutes" and 0 reads "".
// 64-bit, so that a Counter64 read as time ticks fits.
std::string FormatTimeSpan(std::int64_t Days, std::int64_t Hours, std::int64_t Minutes, std::int64_t Seconds);

// A calendar date plus hours, minutes and seconds (each may overflow into the
// next unit) as "YYYY-MM-DD HH:MM:SS", or "YYYY-MM-DD" at exactly midnight.
// Throws Error(ERR_TYPE_MISMATCH) when year, month and day make no date.
std::string FormatDateTime(int year, int month, int day, std::int64_t hours, std::int64_t minutes,
                           std::int64_t seconds);

// The text without the blanks at its start and end (tabs and line breaks stay).
std::string_view TrimBlanks(std::string_view text);

}  // namespace qlmib
