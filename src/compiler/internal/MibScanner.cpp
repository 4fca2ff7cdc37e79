#include "internal/MibScanner.h"

#include <algorithm>

namespace qlmib::compiler {
namespace {

struct Token {
    std::string_view text;  // empty for a quoted string
    int line = 0;
    bool end = false;
};

bool isWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// Splits MIB text into words and punctuation the way libsmi's lexer does:
// "--" comments run to the next "--" or the end of the line, strings are
// skipped whole, and MACRO bodies up to END are not tokens at all.
class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}

    Token next() {
        skipBlanks();
        if (pos_ >= text_.size()) return {{}, line_, true};
        const size_t start = pos_;
        const char c = text_[pos_];
        if (c == '"' || c == '\'') {
            skipQuoted(c);
            return {{}, line_};
        }
        if (isWordChar(c)) {
            while (pos_ < text_.size() && isWordChar(text_[pos_]) && !atComment()) ++pos_;
            const auto word = text_.substr(start, pos_ - start);
            if (word == "MACRO") skipMacroBody();
            return {word, line_};
        }
        if (text_.substr(pos_, 3) == "::=") pos_ += 3;
        else ++pos_;
        return {text_.substr(start, pos_ - start), line_};
    }

private:
    bool atComment() const { return text_.substr(pos_, 2) == "--"; }

    void advance() {
        if (text_[pos_] == '\n') ++line_;
        ++pos_;
    }

    void skipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f') {
                advance();
            } else if (atComment()) {
                pos_ += 2;
                while (pos_ < text_.size() && text_[pos_] != '\n' && !atComment()) ++pos_;
                if (atComment()) pos_ += 2;
            } else {
                return;
            }
        }
    }

    void skipQuoted(char quote) {
        advance();
        while (pos_ < text_.size() && text_[pos_] != quote) advance();
        if (pos_ < text_.size()) ++pos_;
        // '0A'H and '0101'B carry a radix letter after the quote.
        if (quote == '\'' && pos_ < text_.size() && isWordChar(text_[pos_])) ++pos_;
    }

    void skipMacroBody() {
        while (pos_ < text_.size() && text_.substr(pos_, 3) != "END") advance();
        pos_ = std::min(text_.size(), pos_ + 3);
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
};

bool isUpperWord(std::string_view word) { return !word.empty() && word[0] >= 'A' && word[0] <= 'Z'; }

void readImports(Tokens& tokens, ScannedModule& module) {
    std::vector<std::string> names;
    int depth = 0;
    for (Token t = tokens.next(); !t.end && t.text != ";"; t = tokens.next()) {
        if (t.text == "{") ++depth;
        else if (t.text == "}") --depth;
        else if (depth > 0 || t.text.empty() || t.text == ",") continue;
        else if (t.text == "FROM") {
            const Token source = tokens.next();
            if (source.end) return;
            module.imports.emplace_back(std::string(source.text), std::move(names));
            names.clear();
        } else if (isWordChar(t.text[0])) {
            names.emplace_back(t.text);
        }
    }
}

}  // namespace

std::vector<ScannedModule> ScanModules(std::string_view text) {
    std::vector<ScannedModule> modules;
    Tokens tokens(text);
    std::string_view previous;  // the last word outside braces
    int depth = 0;
    for (Token t = tokens.next(); !t.end; t = tokens.next()) {
        if (t.text == "{") {
            ++depth;
        } else if (t.text == "}") {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (depth == 0 && t.text == "DEFINITIONS" && isUpperWord(previous)) {
            ScannedModule module{std::string(previous), {}};
            if (tokens.next().text == "::=" && tokens.next().text == "BEGIN") {
                Token first = tokens.next();
                if (first.text == "IMPORTS") readImports(tokens, module);
                modules.push_back(std::move(module));
            }
            previous = {};
        } else if (depth == 0 && !t.text.empty() && isWordChar(t.text[0])) {
            previous = t.text;
        }
    }
    return modules;
}

std::string DefinitionNameAt(std::string_view text, int line) {
    static constexpr std::string_view kMacros[] = {
        "OBJECT-TYPE",        "OBJECT-IDENTITY",   "OBJECT",       "NOTIFICATION-TYPE",  "TRAP-TYPE",
        "MODULE-IDENTITY",    "OBJECT-GROUP",      "NOTIFICATION-GROUP", "MODULE-COMPLIANCE", "AGENT-CAPABILITIES"};
    Tokens tokens(text);
    std::string_view previous, found;
    for (Token t = tokens.next(); !t.end && t.line <= line; t = tokens.next()) {
        const bool macro = std::find(std::begin(kMacros), std::end(kMacros), t.text) != std::end(kMacros);
        if (macro && !previous.empty() && previous[0] >= 'a' && previous[0] <= 'z') found = previous;
        previous = t.text;
    }
    return std::string(found);
}

std::string SyntaxNameAt(std::string_view text, int line) {
    Tokens tokens(text);
    Token t = tokens.next();
    while (!t.end && t.line < line) t = tokens.next();
    for (; !t.end && t.text != "::="; t = tokens.next()) {
        if (t.text != "SYNTAX") continue;
        const Token type = tokens.next();
        if (type.text == "OCTET") return "OCTET-STRING";
        if (type.text == "OBJECT") return "OBJECT-IDENTIFIER";
        return !type.text.empty() && isWordChar(type.text[0]) ? std::string(type.text) : std::string();
    }
    return "";
}

}  // namespace qlmib::compiler
