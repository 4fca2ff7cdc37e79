#pragma once
// Conversions between the models' units and types and Qt's: twips and
// pixels, UTF-8 text, colours, fonts, input codes and pointers.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>
#include <Qt>
#include <cstdint>
#include <string>
#include <string_view>

#include "qlmib/ui/Color.h"
#include "qlmib/ui/FontMetrics.h"

namespace qlmib::ui::qt {

// Twips per device-independent pixel at the primary screen's logical DPI.
double TwipsPerPixel();
int ToPixels(std::int32_t twips);
std::int32_t ToTwips(int pixels);

// Bytes that are not UTF-8 read as Latin-1, as everywhere in the library.
QString ToQString(std::string_view text);
std::string ToStd(const QString& text);

QColor ToQColor(Color color);
QFont ToQFont(const Font& font);

// The Shift mask and Button mask of the input events.
std::int16_t ShiftOf(Qt::KeyboardModifiers modifiers);
std::int16_t ButtonOf(Qt::MouseButton button);
// The KeyAscii of a key press: the character typed, or the control code of
// Ctrl+letter; 0 when the key types nothing.
std::int16_t KeyAsciiOf(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// A pointer code as a Qt cursor shape; PointerCustom as the drag cursor.
Qt::CursorShape CursorOf(std::int16_t pointer);

}  // namespace qlmib::ui::qt
