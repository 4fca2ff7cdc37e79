#include "RichTextDocument.h"

#include <algorithm>

#include "Rtf.h"
#include "Utf8.h"

namespace qlmib::ui {

RichTextDocument::RichTextDocument(std::string fontName, std::int16_t fontSize) {
    base_.fontName = std::move(fontName);
    base_.size = fontSize;
}

void RichTextDocument::setFontName(std::string_view name) { base_.fontName.assign(name); }

void RichTextDocument::Clear() { setRuns({}); }

void RichTextDocument::AddMessage(std::string_view Message, Color color, bool Bold, std::int16_t FontSize,
                                  bool Underline) {
    TextFormat format;
    format.color = color;
    format.bold = Bold;
    format.size = FontSize;
    format.underline = Underline;
    format.fontName = base_.fontName;
    Append(Message, format);
}

void RichTextDocument::Append(std::string_view text, const TextFormat& format) {
    if (text.empty()) return;
    if (!runs_.empty() && runs_.back().format == format) {
        runs_.back().text.append(text);
    } else {
        runs_.push_back({std::string(text), format});
    }
    length_ += static_cast<std::int32_t>(CodePointCount(text));
    // The insertion point follows the end of the text, with nothing selected.
    selStart_ = length_;
    selLength_ = 0;
    Changed();
    SelChange();
}

void RichTextDocument::setRuns(std::vector<TextRun> runs) {
    runs_.clear();
    length_ = 0;
    for (auto& run : runs) {
        if (run.text.empty()) continue;
        length_ += static_cast<std::int32_t>(CodePointCount(run.text));
        if (!runs_.empty() && runs_.back().format == run.format) runs_.back().text += run.text;
        else runs_.push_back(std::move(run));
    }
    selStart_ = selLength_ = 0;
    Changed();
    SelChange();
}

std::string RichTextDocument::getText() const {
    std::string text;
    for (const auto& run : runs_) text += run.text;
    return text;
}

void RichTextDocument::setText(std::string_view text) {
    std::vector<TextRun> runs;
    runs.push_back({std::string(text), base_});
    setRuns(std::move(runs));
}

std::string RichTextDocument::getTextRTF() const { return WriteRtf(runs_, base_); }

void RichTextDocument::setTextRTF(std::string_view rtf) { setRuns(ReadRtf(rtf)); }

void RichTextDocument::clampSelection() {
    const auto length = Length();
    selStart_ = std::clamp(selStart_, 0, length);
    selLength_ = std::clamp(selLength_, 0, length - selStart_);
}

void RichTextDocument::setSelStart(std::int32_t start) {
    selStart_ = start;
    selLength_ = 0;
    clampSelection();
    SelChange();
}

void RichTextDocument::setSelLength(std::int32_t length) {
    selLength_ = length;
    clampSelection();
    SelChange();
}

std::vector<TextRun> RichTextDocument::RunsIn(std::int32_t start, std::int32_t length) const {
    std::vector<TextRun> out;
    if (length <= 0) return out;
    auto from = static_cast<std::size_t>(std::max(start, 0));
    auto count = static_cast<std::size_t>(length);
    for (const auto& run : runs_) {
        if (count == 0) break;
        const std::size_t runLength = CodePointCount(run.text);
        if (from >= runLength) {
            from -= runLength;
            continue;
        }
        const std::size_t take = std::min(count, runLength - from);
        const std::size_t begin = ByteOffsetOfCodePoint(run.text, from);
        const std::size_t end = begin + ByteOffsetOfCodePoint(std::string_view(run.text).substr(begin), take);
        out.push_back({run.text.substr(begin, end - begin), run.format});
        count -= take;
        from = 0;
    }
    return out;
}

std::string RichTextDocument::getSelText() const {
    std::string text;
    for (const auto& run : RunsIn(selStart_, selLength_)) text += run.text;
    return text;
}

std::string RichTextDocument::getSelRTF() const { return WriteRtf(RunsIn(selStart_, selLength_), base_); }

std::int16_t RichTextDocument::UserKeyPress(std::int16_t keyAscii) {
    KeyPress(keyAscii);
    return keyAscii;
}

void RichTextDocument::UserMouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
    MouseDown(button, shift, x, y);
}

}  // namespace qlmib::ui
