#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string_view>
#include <utility>

#include "Rtf.h"
#include "Utf8.h"
#include "internal/Cp1252.h"

namespace qlmib::ui {
namespace {

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState {
    Destination destination = Destination::Text;
    int font = 0;
    int color = 0;  // 0: automatic (black)
    bool bold = false;
    bool underline = false;
    int halfPoints = 24;
    int unicodeSkip = 1;  // \ucN
};

bool skippedDestination(std::string_view word) {
    static constexpr std::string_view kSkipped[] = {
        "stylesheet", "info",      "pict",      "object",          "header",     "headerl",     "headerr",
        "headerf",    "footer",    "footerl",   "footerr",         "footerf",    "listtable",   "listoverridetable",
        "rsidtbl",    "generator", "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl",
        "filetbl",    "revtbl",    "fldinst",   "pntext",          "pntxta",     "pntxtb",      "mmathPr",
        "xe",         "tc",        "bkmkstart", "bkmkend",         "footnote",   "annotation",  "atnid"};
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

class Reader {
public:
    explicit Reader(std::string_view rtf) : rtf_(rtf) {}

    std::vector<TextRun> read() {
        stack_.push_back(GroupState{});
        while (at_ < rtf_.size()) {
            const char c = rtf_[at_];
            if (c == '{') {
                ++at_;
                stack_.push_back(stack_.back());
                pendingSkip_ = 0;
                groupStart_ = true;
                continue;
            }
            const bool atGroupStart = std::exchange(groupStart_, false);
            if (c == '}') {
                ++at_;
                closeGroup();
                pendingSkip_ = 0;
            } else if (c == '\\') {
                controlSequence(atGroupStart);
            } else if (c == '\r' || c == '\n') {
                ++at_;
            } else {
                ++at_;
                text(static_cast<unsigned char>(c));
            }
        }
        return std::move(runs_);
    }

private:
    GroupState& state() { return stack_.back(); }

    void closeGroup() {
        if (state().destination == Destination::FontTable && !fontName_.empty()) commitFont();
        if (stack_.size() > 1) stack_.pop_back();
    }

    void controlSequence(bool atGroupStart) {
        ++at_;  // the backslash
        if (at_ >= rtf_.size()) return;
        const char c = rtf_[at_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++at_;
            controlSymbol(c);
            return;
        }
        const std::size_t start = at_;
        while (at_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[at_]))) ++at_;
        const std::string_view word = rtf_.substr(start, at_ - start);
        bool hasParameter = false;
        long parameter = 0;
        const std::size_t numberStart = at_;
        if (at_ < rtf_.size() && (rtf_[at_] == '-' || std::isdigit(static_cast<unsigned char>(rtf_[at_])))) {
            ++at_;
            while (at_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[at_])) && at_ - numberStart < 10)
                ++at_;
            const std::string digits(rtf_.substr(numberStart, at_ - numberStart));
            parameter = std::strtol(digits.c_str(), nullptr, 10);
            hasParameter = digits != "-";
        }
        if (at_ < rtf_.size() && rtf_[at_] == ' ') ++at_;
        controlWord(word, hasParameter, parameter, atGroupStart);
    }

    void controlSymbol(char c) {
        switch (c) {
            case '\\':
            case '{':
            case '}': text(static_cast<unsigned char>(c)); break;
            case '~': emit(0xA0); break;
            case '_': emit('-'); break;
            case '*': state().destination = Destination::Skip; break;
            case '\'': {
                if (at_ + 2 > rtf_.size()) {
                    at_ = rtf_.size();
                    return;
                }
                const std::string hex(rtf_.substr(at_, 2));
                at_ += 2;
                char* end = nullptr;
                const long value = std::strtol(hex.c_str(), &end, 16);
                if (end == hex.c_str() + 2) text(static_cast<unsigned char>(value));
                break;
            }
            case '\r':
            case '\n': emit('\r'), emit('\n'); break;
            default: break;  // \- and \| and the like show nothing
        }
    }

    void controlWord(std::string_view word, bool hasParameter, long parameter, bool atGroupStart) {
        auto& s = state();
        const bool on = !hasParameter || parameter != 0;
        if (word == "bin") {
            at_ = std::min(rtf_.size(), at_ + static_cast<std::size_t>(std::max(parameter, 0L)));
        } else if (word == "fonttbl") {
            s.destination = Destination::FontTable;
        } else if (word == "colortbl") {
            s.destination = Destination::ColorTable;
            colors_.clear();
            resetColor();
        } else if (atGroupStart && skippedDestination(word)) {
            s.destination = Destination::Skip;
        } else if (s.destination == Destination::FontTable) {
            if (word == "f") fontIndex_ = static_cast<int>(parameter);
        } else if (s.destination == Destination::ColorTable) {
            const auto channel = static_cast<int>(std::clamp(parameter, 0L, 255L));
            if (word == "red") red_ = channel, hasColor_ = true;
            else if (word == "green") green_ = channel, hasColor_ = true;
            else if (word == "blue") blue_ = channel, hasColor_ = true;
        } else if (s.destination == Destination::Text) {
            textWord(word, hasParameter, parameter, on);
        }
    }

    void textWord(std::string_view word, bool hasParameter, long parameter, bool on) {
        auto& s = state();
        if (word == "par" || word == "line" || word == "sect" || word == "row" || word == "page") {
            emit('\r'), emit('\n');
        } else if (word == "tab" || word == "cell") {
            emit('\t');
        } else if (word == "b") {
            s.bold = on;
        } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "ulth") {
            s.underline = on;
        } else if (word == "ulnone") {
            s.underline = false;
        } else if (word == "plain") {
            s.bold = s.underline = false;
            s.halfPoints = 24;
            s.font = defaultFont_;
            s.color = 0;
        } else if (word == "fs" && hasParameter) {
            s.halfPoints = static_cast<int>(std::clamp(parameter, 2L, 3276L));
        } else if (word == "cf" && hasParameter) {
            s.color = static_cast<int>(parameter);
        } else if (word == "f" && hasParameter) {
            s.font = static_cast<int>(parameter);
        } else if (word == "deff" && hasParameter) {
            defaultFont_ = s.font = static_cast<int>(parameter);
        } else if (word == "uc" && hasParameter) {
            s.unicodeSkip = static_cast<int>(std::clamp(parameter, 0L, 10L));
        } else if (word == "u" && hasParameter) {
            // \uN is a signed 16-bit UTF-16 unit; writers put larger values
            // nowhere, so they wrap as a 16-bit reader would take them.
            unicode(static_cast<char32_t>(static_cast<std::uint16_t>(parameter)));
            pendingSkip_ = s.unicodeSkip;
        } else if (word == "emdash") {
            emit(0x2014);
        } else if (word == "endash") {
            emit(0x2013);
        } else if (word == "bullet") {
            emit(0x2022);
        } else if (word == "lquote") {
            emit(0x2018);
        } else if (word == "rquote") {
            emit(0x2019);
        } else if (word == "ldblquote") {
            emit(0x201C);
        } else if (word == "rdblquote") {
            emit(0x201D);
        }
    }

    // A character of the text, or its replacement under \ucN.
    void text(unsigned char byte) {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        switch (state().destination) {
            case Destination::Text: emit(cp1252::Decode(byte)); break;
            case Destination::FontTable:
                if (byte == ';') commitFont();
                else emit(cp1252::Decode(byte));
                break;
            case Destination::ColorTable:
                if (byte == ';') {
                    colors_.push_back(hasColor_ ? Color(red_, green_, blue_) : kBlack);
                    resetColor();
                }
                break;
            case Destination::Skip: break;
        }
    }

    void unicode(char32_t unit) {
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            // A low half without its high half has no character: U+FFFD.
            emit(highSurrogate_ ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00) : 0xFFFD);
        } else {
            emit(unit);
        }
        highSurrogate_ = 0;
    }

    void emit(char32_t c) {
        if (state().destination == Destination::FontTable) AppendUtf8(fontName_, c);
        if (state().destination != Destination::Text) return;
        const auto& s = state();
        TextFormat format;
        format.bold = s.bold;
        format.underline = s.underline;
        format.size = static_cast<std::int16_t>(s.halfPoints / 2);
        if (s.color >= 0 && static_cast<std::size_t>(s.color) < colors_.size())
            format.color = colors_[static_cast<std::size_t>(s.color)];
        if (const auto font = fonts_.find(s.font); font != fonts_.end()) format.fontName = font->second;
        if (runs_.empty() || !(runs_.back().format == format)) runs_.push_back({std::string(), std::move(format)});
        AppendUtf8(runs_.back().text, c);
    }

    void commitFont() {
        auto name = fontName_;
        while (!name.empty() && name.front() == ' ') name.erase(name.begin());
        fonts_[fontIndex_] = name;
        fontName_.clear();
    }

    void resetColor() {
        red_ = green_ = blue_ = 0;
        hasColor_ = false;
    }

    std::string_view rtf_;
    std::size_t at_ = 0;
    std::vector<GroupState> stack_;
    std::vector<TextRun> runs_;
    std::map<int, std::string> fonts_;
    std::vector<Color> colors_;  // \cfN is colors_[N]; entry 0 is usually "automatic"
    int fontIndex_ = 0, defaultFont_ = 0;
    std::string fontName_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool hasColor_ = false;
    int pendingSkip_ = 0;
    char32_t highSurrogate_ = 0;
    bool groupStart_ = false;
};

}  // namespace

std::vector<TextRun> ReadRtf(std::string_view rtf) { return Reader(rtf).read(); }

}  // namespace qlmib::ui
