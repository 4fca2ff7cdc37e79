#pragma once
// How the live controls show one value in a grid cell.

#include <cstdint>
#include <string>
#include <string_view>

#include "qlmib/ui/Color.h"

namespace qlmib {
class OID;
namespace ui {
class GridModel;
}
}  // namespace qlmib

namespace qlmib::live {

// The Error of an answer without error, and of a value being set.
inline constexpr std::string_view kAnswerOK = "OK";
inline constexpr std::string_view kBeingSet = "Set";

inline constexpr ui::Color kErrorColor{255, 0, 0};
inline constexpr ui::Color kBeingSetColor{0, 128, 0};
inline constexpr ui::Color kReadWriteColor{0, 0, 255};
inline constexpr ui::Color kReadWriteBackColor{240, 240, 240};

bool IsFailure(std::string_view error);

// Shows `text` in cell (row, col) as the answer's Error says: a failure shows
// the error itself in red, a value being set is green, the value of a
// read-write object blue on light grey, any other value in the grid's colour.
void ShowValue(ui::GridModel& grid, std::int32_t row, std::int32_t col, std::string_view text, std::string_view error,
               std::int32_t access);

// The value parser's text, or the raw value when the parser cannot convert it.
std::string ParsedText(const OID& object, std::string_view value, std::string_view hexValue);

// Upper-case hex pairs of the octets, as the engine gives HexValue.
std::string HexOf(std::string_view octets);

}  // namespace qlmib::live
