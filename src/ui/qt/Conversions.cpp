#include "Conversions.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "qlmib/ui/InputCodes.h"
#include "qlmib/ui/Utf8.h"

namespace qlmib::ui::qt {

double TwipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int ToPixels(std::int32_t twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel())); }

std::int32_t ToTwips(int pixels) { return static_cast<std::int32_t>(std::lround(pixels * TwipsPerPixel())); }

QString ToQString(std::string_view text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextCodePoint(text, at);
        if (c < 0x10000) {
            out.append(QChar(static_cast<char16_t>(c)));
        } else {
            const char32_t v = c - 0x10000;
            out.append(QChar(static_cast<char16_t>(0xD800 + (v >> 10))));
            out.append(QChar(static_cast<char16_t>(0xDC00 + (v & 0x3FF))));
        }
    }
    return out;
}

std::string ToStd(const QString& text) { return text.toStdString(); }

QColor ToQColor(Color color) { return QColor(color.red, color.green, color.blue); }

QFont ToQFont(const Font& font) {
    QFont f(QString::fromStdString(font.Name));
    f.setPointSize(font.Size > 0 ? font.Size : 8);
    f.setBold(font.Bold);
    return f;
}

std::int16_t ShiftOf(Qt::KeyboardModifiers modifiers) {
    std::int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ShiftMask;
    if (modifiers & Qt::ControlModifier) shift |= CtrlMask;
    if (modifiers & Qt::AltModifier) shift |= AltMask;
    return shift;
}

std::int16_t ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return LeftButton;
        case Qt::RightButton: return RightButton;
        case Qt::MiddleButton: return MiddleButton;
        default: return 0;
    }
}

std::int16_t KeyAsciiOf(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::int16_t>(key - Qt::Key_A + 1);
    switch (key) {
        case Qt::Key_Backspace: return AsciiBackspace;
        case Qt::Key_Tab: return AsciiTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return AsciiReturn;
        case Qt::Key_Escape: return AsciiEscape;
        default: break;
    }
    if (text.size() != 1) return 0;
    const char16_t c = text.front().unicode();
    // KeyAscii is the character's code in the Latin-1 range the original platform typed in.
    return c >= 0x20 && c < 0x100 ? static_cast<std::int16_t>(c) : 0;
}

Qt::CursorShape CursorOf(std::int16_t pointer) {
    switch (pointer) {
        case PointerCrosshair: return Qt::CrossCursor;
        case PointerIbeam: return Qt::IBeamCursor;
        case PointerSize:
        case PointerSizeAll: return Qt::SizeAllCursor;
        case PointerSizeNESW: return Qt::SizeBDiagCursor;
        case PointerSizeNS: return Qt::SizeVerCursor;
        case PointerSizeNWSE: return Qt::SizeFDiagCursor;
        case PointerSizeWE: return Qt::SizeHorCursor;
        case PointerUpArrow: return Qt::UpArrowCursor;
        case PointerHourglass: return Qt::WaitCursor;
        case PointerNoDrop: return Qt::ForbiddenCursor;
        case PointerArrowHourglass: return Qt::BusyCursor;
        case PointerArrowQuestion: return Qt::WhatsThisCursor;
        case PointerCustom: return Qt::DragCopyCursor;
        default: return Qt::ArrowCursor;
    }
}

}  // namespace qlmib::ui::qt
