#pragma once
// UTF-8 decoding with the library's rule for bytes that are not UTF-8: each
// such byte stands for the Latin-1 character of the same number.

#include <cstddef>
#include <string>
#include <string_view>

namespace qlmib::ui {

// Decodes the code point at text[at] and advances `at` past it.
char32_t NextCodePoint(std::string_view text, std::size_t& at);
void AppendUtf8(std::string& out, char32_t codePoint);
// Number of code points.
std::size_t CodePointCount(std::string_view text);
// Byte offset of code point number `index` (text.size() when past the end).
std::size_t ByteOffsetOfCodePoint(std::string_view text, std::size_t index);

}  // namespace qlmib::ui
