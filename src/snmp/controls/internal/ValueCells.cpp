#include "ValueCells.h"

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/CommonFunctions.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/mibdata/Parser.h"
#include "qlmib/mibdata/Vocabulary.h"
#include "qlmib/ui/GridModel.h"

namespace qlmib::live {

bool IsFailure(std::string_view error) { return error != kAnswerOK && error != kBeingSet; }

void ShowValue(ui::GridModel& grid, std::int32_t row, std::int32_t col, std::string_view text, std::string_view error,
               std::int32_t access) {
    if (IsFailure(error)) {
        grid.setTextMatrix(row, col, TrimBlanks(error));
        grid.setCellForeColor(row, col, kErrorColor);
        return;
    }
    grid.setTextMatrix(row, col, text);
    if (error == kBeingSet) {
        grid.setCellForeColor(row, col, kBeingSetColor);
    } else if (access == ACCESS_RW) {
        grid.setCellForeColor(row, col, kReadWriteColor);
        grid.setCellBackColor(row, col, kReadWriteBackColor);
    } else {
        grid.setCellForeColor(row, col, std::nullopt);
    }
}

std::string ParsedText(const OID& object, std::string_view value, std::string_view hexValue) {
    try {
        return ParseValue(object, value, hexValue);
    } catch (const Error&) {
        // A services value beyond 16 bits or an impossible date: show it as received.
        return std::string(value);
    }
}

std::string HexOf(std::string_view octets) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex(octets.size() * 2, '0');
    for (size_t i = 0; i < octets.size(); ++i) {
        const auto c = static_cast<unsigned char>(octets[i]);
        hex[2 * i] = kDigits[c >> 4];
        hex[2 * i + 1] = kDigits[c & 15];
    }
    return hex;
}

}  // namespace qlmib::live
