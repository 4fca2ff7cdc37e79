#pragma once
// The original platform's numeric codes for keyboard and mouse input, mouse
// pointers and drag effects. Events carry these numbers unchanged.

#include <cstdint>

namespace qlmib::ui {

// KeyAscii of a KeyPress event: the character typed, or one of these.
enum KeyAsciiCode : std::int16_t {
    AsciiCtrlA = 1,
    AsciiCtrlB = 2,
    AsciiCtrlC = 3,
    AsciiBackspace = 8,
    AsciiTab = 9,
    AsciiReturn = 13,
    AsciiEscape = 27,
    AsciiSpace = 32,
};

// KeyCode of a KeyDown event.
enum KeyCodeValue : std::int16_t {
    KeyBack = 8,
    KeyTab = 9,
    KeyReturn = 13,
    KeyShift = 16,
    KeyControl = 17,
    KeyMenu = 18,
    KeyEscape = 27,
    KeySpace = 32,
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyArrowLeft = 37,
    KeyArrowUp = 38,
    KeyArrowRight = 39,
    KeyArrowDown = 40,
    KeyInsert = 45,
    KeyDelete = 46,
    KeyA = 65,
    KeyC = 67,
    KeyF2 = 113,
    KeyF5 = 116,
};

// The Shift argument of keyboard and mouse events: a mask.
enum ShiftState : std::int16_t {
    ShiftMask = 1,
    CtrlMask = 2,
    AltMask = 4,
};

// The Button argument of mouse events: a mask.
enum MouseButton : std::int16_t {
    LeftButton = 1,
    RightButton = 2,
    MiddleButton = 4,
};

enum MousePointer : std::int16_t {
    PointerDefault = 0,
    PointerArrow = 1,
    PointerCrosshair = 2,
    PointerIbeam = 3,
    PointerIcon = 4,
    PointerSize = 5,
    PointerSizeNESW = 6,
    PointerSizeNS = 7,
    PointerSizeNWSE = 8,
    PointerSizeWE = 9,
    PointerUpArrow = 10,
    PointerHourglass = 11,
    PointerNoDrop = 12,
    PointerArrowHourglass = 13,
    PointerArrowQuestion = 14,
    PointerSizeAll = 15,
    PointerCustom = 99,
};

// Allowed and performed effects of a drag: a mask.
enum DropEffect : std::int32_t {
    DropEffectNone = 0,
    DropEffectCopy = 1,
    DropEffectMove = 2,
};

}  // namespace qlmib::ui
