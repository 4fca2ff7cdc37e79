#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include <qlmib/ui/RichTextDocument.h>
#include <qlmib/ui/Rtf.h>

namespace qlmib::ui {
namespace {

TextFormat style(Color color, bool bold, std::int16_t size, bool underline, std::string font = "MS Sans Serif") {
    return {color, bold, size, underline, std::move(font)};
}

// A document like the tree details: a title, label and value runs, non-ASCII text.
void composeSample(RichTextDocument& doc) {
    doc.AddMessage("IF-MIB:ifAdminStatus\r\n\r\n", Color(64, 128, 64), true, 10, true);
    doc.AddMessage("OID \t", Color(64, 64, 255), true);
    doc.AddMessage("1.3.6.1.2.1.2.2.1.7\r\n");
    doc.AddMessage("Status \t", Color(64, 64, 255), true);
    doc.AddMessage("current {braces} and \\backslash\\\r\n");
    doc.AddMessage("\r\nCafé Ω — 中文 description.\r\n");
}

TEST(RichTextDocument, AddMessageDefaultsAndMergesEqualRuns) {
    RichTextDocument doc;
    doc.AddMessage("plain ");
    doc.AddMessage("again");
    doc.AddMessage("title", Color(0, 0, 255), true, 10, true);
    EXPECT_EQ(doc.Runs(), (std::vector<TextRun>{{"plain again", style(kBlack, false, 8, false)},
                                                {"title", style(Color(0, 0, 255), true, 10, true)}}));
    EXPECT_EQ(doc.getSelStart(), doc.Length()) << "the insertion point ends after the text";
    doc.Clear();
    EXPECT_EQ(doc.Length(), 0);
}

TEST(RichTextDocument, RangesCountCharactersNotBytes) {
    RichTextDocument doc;
    doc.AddMessage("Café ", kBlack, true);
    doc.AddMessage("中文\r\nend");
    EXPECT_EQ(doc.Length(), 12);
    struct Case {
        std::int32_t start, length;
        std::string text;
        std::size_t runs;
    };
    const Case cases[] = {
        {3, 4, "é 中文", 2}, {0, 5, "Café ", 1}, {7, 2, "\r\n", 1}, {9, 100, "end", 1}, {20, 3, "", 0}, {2, 0, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        const auto runs = doc.RunsIn(c.start, c.length);
        std::string text;
        for (const auto& r : runs) text += r.text;
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(runs.size(), c.runs);
    }
    doc.setSelStart(3);
    doc.setSelLength(4);
    EXPECT_EQ(doc.getSelText(), "é 中文");
    doc.setSelLength(1000);
    EXPECT_EQ(doc.getSelLength(), 9) << "clamped to the end";
}

TEST(Rtf, OurOwnDocumentsComeBackRunForRunWithCharactersOfEveryPlane) {
    const std::vector<std::vector<TextRun>> documents = {
        {},
        {{"just text", style(kBlack, false, 8, false)}},
        {{"Title\r\n\r\n", style(Color(0, 0, 255), true, 10, false)},
         {"MIB \t", style(Color(64, 64, 128), true, 10, false)},
         {"SNMPv2-MIB\r\n", style(Color(0, 128, 0), true, 10, false)},
         {"tabs\tand ; semicolons", style(kBlack, false, 8, false)}},
        {{" leading blank", style(kBlack, false, 8, true)}, {"12 digits after", style(kBlack, true, 12, false)}},
        {{"other font", style(Color(1, 2, 3), false, 9, false, "Courier New")}, {"Ünïcödé ✓", style(kBlack, false, 8, false)}},
        {{"a😀b", style(kBlack, false, 8, false)}},
    };
    for (size_t i = 0; i < documents.size(); ++i) {
        SCOPED_TRACE(i);
        RichTextDocument doc;
        doc.setRuns(documents[i]);
        RichTextDocument back;
        back.setTextRTF(doc.getTextRTF());
        EXPECT_EQ(back.Runs(), doc.Runs());
    }
    RichTextDocument emoji;
    emoji.AddMessage("a😀b");
    EXPECT_NE(emoji.getTextRTF().find("a\\u-10179\\'3f\\u-8704\\'3fb"), std::string::npos) << "a surrogate pair";
}

TEST(RtfReader, ForeignRtf) {
    const struct {
        const char* name;
        std::string rtf;
        const char* text;
    } cases[] = {
        {"code page escapes", R"({\rtf1\ansi \'93quoted\'94 caf\'e9})", "\u201Cquoted\u201D caf\u00E9"},
        {"two fallback characters after \\u under \\uc2", R"({\rtf1\uc2 x\u8364\'80\'80y})", "x\u20ACy"},
        {"skipped destinations", R"({\rtf1{\*\generator Riched20;}{\info{\title T}}{\stylesheet{\s0 Normal;}}body})",
         "body"},
        {"pictures and binary data", "{\\rtf1 a{\\pict\\pngblip 89504e47}b\\bin3 {}xc}", "abc"},
        {"lines, tabs and symbols", R"({\rtf1 a\line b\tab c\~d\emdash e\par})", "a\r\nb\tc\u00A0d\u2014e\r\n"},
        {"unbalanced closing braces", "{\\rtf1 a}}}b", "ab"},
        {"unclosed groups and a cut escape", "{\\rtf1 {{a\\'4", "a"},
        {"a cut control word", "{\\rtf1 a\\", "a"},
        {"\\u beyond 16 bits wraps as a 16-bit unit", R"({\rtf1 \u65601?})", "A"},
        {"a lone low surrogate half", R"({\rtf1 a\u-9216?b})", "a\uFFFDb"},
        {"not RTF at all", "plain text", "plain text"},
        {"empty", "", ""},
        {"deep nesting that must not overflow", "{\\rtf1 " + std::string(200000, '{') + "deep" + std::string(200000, '}'),
         "deep"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        for (const auto& run : ReadRtf(c.rtf)) text += run.text;
        EXPECT_EQ(text, c.text);
    }
}

TEST(RtfReader, FormattingOfAWordProcessorsRtf) {
    const auto runs = ReadRtf(
        R"({\rtf1\ansi\deff1{\fonttbl{\f0\froman Times;}{\f1\fswiss Arial;}}{\colortbl;\red255\green0\blue0;})"
        R"(\pard\plain\fs20 normal {\b\cf1 bold red} \ul under\ul0 {\f0 times}})");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0], (TextRun{"normal ", style(kBlack, false, 10, false, "Arial")}));
    EXPECT_EQ(runs[1], (TextRun{"bold red", style(Color(255, 0, 0), true, 10, false, "Arial")}));
    EXPECT_EQ(runs[2].text, " ");
    EXPECT_EQ(runs[3], (TextRun{"under", style(kBlack, false, 10, true, "Arial")}));
    EXPECT_EQ(runs[4].format.fontName, "Times");
}

// Plain text as a real RTF reader gives it back, words only: pandoc joins
// blank runs and drops empty paragraphs.
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::string pandocPlainText(const std::string& rtf) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto input = dir / ("qlmib-rtf-" + std::to_string(::getpid()) + ".rtf");
    std::ofstream(input, std::ios::binary) << rtf;
    const std::string command = "pandoc -f rtf -t plain --wrap=none '" + input.string() + "'";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        EXPECT_EQ(::pclose(pipe), 0) << command;
    } else {
        ADD_FAILURE() << "cannot run " << command;
    }
    std::filesystem::remove(input);
    return out;
}

TEST(Rtf, OurRtfDescribesEachRunInItsTablesAndControlWordsAndPandocReadsItBack) {
    RichTextDocument doc;
    composeSample(doc);
    const std::string rtf = doc.getTextRTF();
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi", 0), 0u);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}"), std::string::npos) << rtf;
    // Colour 1 is the title's, 2 the labels', 3 black.
    EXPECT_NE(rtf.find("{\\colortbl ;\\red64\\green128\\blue64;\\red64\\green64\\blue255;\\red0\\green0\\blue0;}"),
              std::string::npos);
    // The title: colour 1, bold, underlined, 10 points (20 half-points).
    EXPECT_NE(rtf.find("\\cf1\\b\\ul\\fs20 IF-MIB:ifAdminStatus\\par"), std::string::npos) << rtf;
    // A label after the title switches underline off and the size back.
    EXPECT_NE(rtf.find("\\cf2\\ulnone\\fs16 OID \\tab "), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\cf3\\b0 1.3.6.1.2.1.2.2.1.7\\par"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("current \\{braces\\} and \\\\backslash\\\\"), std::string::npos);
    EXPECT_NE(rtf.find("Caf\\u233\\'e9"), std::string::npos) << "with the code page's character after it";
    EXPECT_NE(rtf.find("\\u8212\\'97"), std::string::npos) << "the dash is 0x97 in the code page";
    EXPECT_NE(rtf.find("\\u20013\\'3f\\u25991\\'3f"), std::string::npos) << "中文: a question mark";
    EXPECT_EQ(rtf.find_first_of("\x80\xff"), std::string::npos) << "nothing outside ASCII remains";
    EXPECT_EQ(words(pandocPlainText(rtf)), words(doc.getText()));

    doc.setSelStart(24);  // "OID \t1.3..."
    doc.setSelLength(9);
    EXPECT_EQ(words(pandocPlainText(doc.getSelRTF())), (std::vector<std::string>{"OID", "1.3."}));
}

}  // namespace
}  // namespace qlmib::ui
