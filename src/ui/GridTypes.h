#pragma once
// The grid's numeric settings, with the numbers of the original platform's
// grid so that hosts may pass them unchanged.

#include <cstdint>

namespace qlmib::ui {

// Sort codes of GridModel::setSort and ColSort.
enum SortSettings : std::int16_t {
    SortNone = 0,
    SortGenericAscending = 1,   // numbers as numbers, other texts ignoring case
    SortGenericDescending = 2,
    SortNumericAscending = 3,   // the leading number of each text
    SortNumericDescending = 4,
    SortStringNoCaseAscending = 5,
    SortStringNoCaseDescending = 6,
    SortStringAscending = 7,
    SortStringDescending = 8,
    SortCustom = 9,             // the Compare event decides
    SortUseColSort = 10,        // each column by its own ColSort
};

enum AlignmentSettings : std::int16_t {
    AlignLeftTop = 0,
    AlignLeftCenter = 1,
    AlignLeftBottom = 2,
    AlignCenterTop = 3,
    AlignCenterCenter = 4,
    AlignCenterBottom = 5,
    AlignRightTop = 6,
    AlignRightCenter = 7,
    AlignRightBottom = 8,
    AlignGeneral = 9,  // texts left, numbers right
};

// The Setting argument of GridModel::getCell/setCell.
enum CellProperties : std::int32_t {
    CellText = 0,
    CellTextStyle = 1,
    CellAlignment = 2,
    CellPicture = 3,
    CellPictureAlignment = 4,
    CellChecked = 5,
    CellBackColor = 6,
    CellForeColor = 7,
    CellFloodPercent = 8,
    CellFloodColor = 9,
    CellFont = 10,
    CellFontName = 11,
    CellFontSize = 12,
    CellFontBold = 13,
    CellFontItalic = 14,
    CellFontUnderline = 15,
    CellFontStrikethru = 16,
    CellFontWidth = 17,
    CellValue = 18,
    CellTextDisplay = 19,
    CellData = 20,
    CellCustomFormat = 21,
    CellLeft = 22,
    CellTop = 23,
    CellWidth = 24,
    CellHeight = 25,
    CellVariantValue = 26,
    CellRefresh = 27,
    CellSort = 28,
};

enum RedrawSettings : std::int16_t {
    RedrawNone = 0,      // views hold back painting
    RedrawDirect = 1,
    RedrawBuffered = 2,
};

// State argument of BeforeCollapse/AfterCollapse: the state a node is going to.
enum OutlineState : std::int16_t {
    OutlineExpanded = 0,
    OutlineCollapsed = 2,
};

enum OutlineBarSettings : std::int16_t {
    OutlineBarNone = 0,
    OutlineBarComplete = 1,
    OutlineBarSimple = 2,
};

enum FocusRectSettings : std::int16_t {
    FocusRectNone = 0,
    FocusRectLight = 1,
    FocusRectHeavy = 2,
};

enum HighLightSettings : std::int16_t {
    HighLightNever = 0,
    HighLightAlways = 1,
    HighLightWithFocus = 2,
};

enum AutoSizeSettings : std::int16_t {
    AutoSizeColWidth = 0,
    AutoSizeRowHeight = 1,
};

enum EditableSettings : std::int16_t {
    EditableNone = 0,
    EditableKeyboard = 1,
    EditableKeyboardMouse = 2,
};

enum SelectionModeSettings : std::int16_t {
    SelectionFree = 0,
    SelectionByRow = 1,
    SelectionByColumn = 2,
    SelectionListBox = 3,
};

// What a user may do with the header row: a mask.
enum ExplorerBarSettings : std::int16_t {
    ExplorerBarNone = 0,
    ExplorerBarSort = 1,
    ExplorerBarMove = 2,
    ExplorerBarSortAndMove = 3,
};

// A block of cells; row1 <= row2 and col1 <= col2 once normalised.
struct CellRange {
    std::int32_t row1 = -1, col1 = -1, row2 = -1, col2 = -1;
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

}  // namespace qlmib::ui
