#include <algorithm>
#include <cstdio>

#include "Rtf.h"
#include "Utf8.h"
#include "internal/Cp1252.h"

namespace qlmib::ui {
namespace {

template <class T>
std::size_t indexOf(std::vector<T>& table, const T& value) {
    const auto it = std::find(table.begin(), table.end(), value);
    if (it != table.end()) return static_cast<std::size_t>(it - table.begin());
    table.push_back(value);
    return table.size() - 1;
}

void appendHex(std::string& out, unsigned byte) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\'%02x", byte & 0xFF);
    out += hex;
}

void appendUnicode(std::string& out, char32_t c) {
    // \u takes a signed 16-bit number. The code-page character after it, for
    // readers without Unicode, is written as an escape: some readers take a
    // plain '?' there for the delimiter and then skip the next character.
    const int fallback = cp1252::Encode(c);
    const auto word = [&](unsigned unit) {
        out += "\\u" + std::to_string(unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit));
        appendHex(out, fallback < 0 ? '?' : static_cast<unsigned>(fallback));
    };
    if (c > 0xFFFF) {
        c -= 0x10000;
        word(0xD800 + static_cast<unsigned>(c >> 10));
        word(0xDC00 + static_cast<unsigned>(c & 0x3FF));
    } else {
        word(static_cast<unsigned>(c));
    }
}

void appendText(std::string& out, std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const char32_t c = NextCodePoint(text, at);
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '{': out += "\\{"; break;
            case '}': out += "\\}"; break;
            case '\t': out += "\\tab "; break;
            case '\r':
                if (at < text.size() && text[at] == '\n') ++at;
                out += "\\par\r\n";
                break;
            case '\n': out += "\\par\r\n"; break;
            default:
                if (c >= 0x80) {
                    appendUnicode(out, c);
                } else if (c < 0x20) {
                    appendHex(out, static_cast<unsigned>(c));
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
}

}  // namespace

std::string WriteRtf(const std::vector<TextRun>& runs, const TextFormat& base) {
    std::vector<std::string> fonts{base.fontName};
    std::vector<Color> colors;
    for (const auto& run : runs) {
        indexOf(fonts, run.format.fontName);
        indexOf(colors, run.format.color);
    }

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
        appendText(out, fonts[i]);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const auto& c : colors) {
        out += "\\red" + std::to_string(c.red) + "\\green" + std::to_string(c.green) + "\\blue" +
               std::to_string(c.blue) + ';';
    }
    out += "}\r\n\\viewkind4\\uc1\\pard\\f0\\fs" + std::to_string(base.size * 2);

    // What the reader's state is at this point; only changes are written.
    std::size_t font = 0, color = 0;
    bool bold = false, underline = false;
    int size = base.size;
    bool delimit = true;  // a control word was written last
    for (const auto& run : runs) {
        if (run.text.empty()) continue;
        const auto& f = run.format;
        std::string words;
        if (const auto i = indexOf(fonts, f.fontName); i != font) font = i, words += "\\f" + std::to_string(i);
        if (const auto i = indexOf(colors, f.color) + 1; i != color) color = i, words += "\\cf" + std::to_string(i);
        if (f.bold != bold) bold = f.bold, words += bold ? "\\b" : "\\b0";
        if (f.underline != underline) underline = f.underline, words += underline ? "\\ul" : "\\ulnone";
        if (f.size != size) size = f.size, words += "\\fs" + std::to_string(size * 2);
        if (!words.empty() || delimit) out += words + ' ';
        delimit = false;
        appendText(out, run.text);
    }
    out += "}";
    return out;
}

}  // namespace qlmib::ui
