#pragma once
// The rich-text box component: a document of formatted runs with a
// selection, read out as plain text and as RTF. Positions count characters
// (code points); a CR LF line break is two characters. A toolkit view shows
// the runs and reports input through the User* calls. Thread affinity: the
// thread that created it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/common/Event.h"
#include "qlmib/ui/Color.h"

namespace qlmib::ui {

struct TextFormat {
    Color color = kBlack;
    bool bold = false;
    std::int16_t size = 8;  // points
    bool underline = false;
    std::string fontName = "MS Sans Serif";
    friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

struct TextRun {
    std::string text;
    TextFormat format;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

class RichTextDocument {
public:
    explicit RichTextDocument(std::string fontName = "MS Sans Serif", std::int16_t fontSize = 8);
    RichTextDocument(const RichTextDocument&) = delete;
    RichTextDocument& operator=(const RichTextDocument&) = delete;

    // The box's font: the format of text set without one, and the font of every AddMessage run.
    const TextFormat& getBaseFormat() const { return base_; }
    void setFontName(std::string_view name);

    // Empties the document.
    void Clear();
    // Appends one run in the box's font: the text, then its colour, bold,
    // size and underline.
    void AddMessage(std::string_view Message, Color color = kBlack, bool Bold = false, std::int16_t FontSize = 8,
                    bool Underline = false);
    void Append(std::string_view text, const TextFormat& format);

    const std::vector<TextRun>& Runs() const { return runs_; }
    void setRuns(std::vector<TextRun> runs);

    // The concatenated run texts.
    std::string getText() const;
    // Replaces the document by one run in the base format.
    void setText(std::string_view text);
    std::string getTextRTF() const;
    // Replaces the document by what the RTF describes.
    void setTextRTF(std::string_view rtf);
    std::int32_t Length() const { return length_; }

    std::int32_t getSelStart() const { return selStart_; }
    void setSelStart(std::int32_t start);  // also empties the selection
    std::int32_t getSelLength() const { return selLength_; }
    void setSelLength(std::int32_t length);
    std::string getSelText() const;
    std::string getSelRTF() const;
    // The runs of a character range, cut at its ends.
    std::vector<TextRun> RunsIn(std::int32_t start, std::int32_t length) const;

    // A locked box takes no typing; views enforce it.
    bool getLocked() const { return locked_; }
    void setLocked(bool locked) { locked_ = locked; }

    // Raises KeyPress; returns KeyAscii as the handlers left it (0: swallowed).
    std::int16_t UserKeyPress(std::int16_t keyAscii);
    void UserMouseDown(std::int16_t button, std::int16_t shift, float x, float y);

    Event<> Changed;    // text or formats
    Event<> SelChange;  // selection or insertion point
    Event<std::int16_t& /*KeyAscii*/> KeyPress;
    Event<std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/> MouseDown;

private:
    void clampSelection();

    TextFormat base_;
    std::vector<TextRun> runs_;
    std::int32_t length_ = 0;  // characters
    std::int32_t selStart_ = 0, selLength_ = 0;
    bool locked_ = false;
};

}  // namespace qlmib::ui
