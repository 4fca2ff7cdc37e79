#include <gtest/gtest.h>

#include <vector>

#include <qlmib/mibx/MIBXDocument.h>

#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::MibxFixture;

std::vector<std::string> childNames(MIBXNode node) {
    std::vector<std::string> names;
    for (const auto child : node.children()) names.emplace_back(child.name());
    return names;
}

struct ParseErrorCase {
    const char* label;
    std::string content;
    std::string error;
};

std::string utf16le(std::string_view ascii) {
    std::string out("\xFF\xFE", 2);
    for (char c : ascii) out += {c, '\0'};
    return out;
}

class DocumentParseError : public MibxFixture, public ::testing::WithParamInterface<ParseErrorCase> {};

// The parser reports an offset; the position must count lines and characters
// of the file as written, whatever its encoding and line ends.
TEST_P(DocumentParseError, GivesLineAndColumn) {
    MIBXDocument document;
    EXPECT_FALSE(document.load(write("bad.xml", GetParam().content)));
    EXPECT_EQ(document.loadError(), GetParam().error);
    EXPECT_FALSE(document.select("a")) << "a failed load leaves nothing to select";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentParseError,
    ::testing::Values(
        ParseErrorCase{"lf", "<a>\n<b></c>", "Start-end tags mismatch at line 2, column 6"},
        ParseErrorCase{"crlf", "<a>\r\n\r\n<b></c>", "Start-end tags mismatch at line 3, column 6"},
        ParseErrorCase{"cr", "<a>\r<b></c>", "Start-end tags mismatch at line 2, column 6"},
        ParseErrorCase{"bom", "\xEF\xBB\xBF<a>\n<b></c>", "Start-end tags mismatch at line 2, column 6"},
        ParseErrorCase{"utf8", "<a>\xC3\xA9\xE2\x82\xAC<b></c>", "Start-end tags mismatch at line 1, column 11"},
        ParseErrorCase{"latin1", "<?xml version='1.0' encoding='ISO-8859-1'?>\n<a>\xE9\xE9<b></c>",
                       "Start-end tags mismatch at line 2, column 11"},
        ParseErrorCase{"utf16", utf16le("<a>\n<b></c>"), "Start-end tags mismatch at line 2, column 6"},
        ParseErrorCase{"empty", "", "No document element found at line 1, column 1"},
        ParseErrorCase{"open", "<MIBX><TREE>", "Start-end tags mismatch at line 1, column 12"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MibxFixture, DocumentThatCannotBeReadSaysWhy) {
    MIBXDocument document;
    EXPECT_FALSE(document.load((home.folder() / "missing.xml").string()));
    EXPECT_EQ(document.loadError(), "No such file or directory");
    EXPECT_FALSE(document.load(home.folder().string()));
    EXPECT_EQ(document.loadError(), "Is a directory");
}

TEST_F(MibxFixture, DocumentNodesReadAsTheirDomNames) {
    MIBXDocument document;
    ASSERT_TRUE(document.load(write("kinds.xml",
                                    "<MIBX><TREE>\n  <a><OID>1</OID></a>\n  <!-- note -->\n  <?OID 1.3?>\n"
                                    "  loose <![CDATA[raw]]></TREE></MIBX>")));
    const auto tree = document.select("MIBX/TREE");
    EXPECT_EQ(childNames(tree), (std::vector<std::string>{"a", "#comment", "OID", "#text", "#cdata-section"}))
        << "layout white space is no node; comments and PIs are";
    std::vector<std::string> texts;
    for (const auto child : tree.children()) texts.push_back(child.text());
    EXPECT_EQ(texts, (std::vector<std::string>{"1", " note ", "1.3", "\n  loose ", "raw"}));
    EXPECT_EQ(tree.text(), "1\n  loose raw") << "an element's text skips comments and PIs";
}

TEST_F(MibxFixture, DocumentSelectsTheFirstElementAlongThePath) {
    MIBXDocument document;
    ASSERT_TRUE(document.load(write("select.xml",
                                    "<MIBX><?MODULE x?><MODULE><DESCRIPTION>first</DESCRIPTION></MODULE>"
                                    "<MODULE><NAME>SECOND</NAME></MODULE><MODULE><NAME>THIRD</NAME></MODULE>"
                                    "<TREE><e><OID>1.2</OID><ENUMS/></e></TREE></MIBX>")));
    EXPECT_EQ(document.select("MIBX/MODULE/NAME").text(), "SECOND") << "a MODULE without NAME is passed over";
    EXPECT_EQ(document.select("MIBX/MODULE").select("DESCRIPTION").text(), "first");
    EXPECT_FALSE(document.select("MIBX/TREE/")) << "an empty descriptor names nothing";
    EXPECT_FALSE(document.select("mibx")) << "names are compared with case";
    EXPECT_FALSE(document.select("MIBX/TREE/e/ENUMS").hasChildNodes());
    EXPECT_TRUE(document.select("MIBX/TREE/e").hasChildNodes());
    EXPECT_FALSE(MIBXNode().select("MIBX")) << "selecting from no node gives no node";
}

TEST_F(MibxFixture, DocumentTextOfDeepNestingNeedsNoDeepStack) {
    constexpr int kDepth = 200000;
    std::string content;
    for (int i = 0; i < kDepth; ++i) content += "<d>";
    content += "core";
    for (int i = 0; i < kDepth; ++i) content += "</d>";
    MIBXDocument document;
    ASSERT_TRUE(document.load(write("deep.xml", content)));
    EXPECT_EQ(document.select("d").text(), "core");
}

TEST_F(MibxFixture, DocumentLoadReplacesTheFileBefore) {
    MIBXDocument document;
    ASSERT_TRUE(document.load(write("one.xml", "<MIBX><VERSION>1</VERSION></MIBX>")));
    ASSERT_TRUE(document.load(write("two.xml", "<MIBX><TREE/></MIBX>")));
    EXPECT_FALSE(document.select("MIBX/VERSION"));
    EXPECT_TRUE(document.select("MIBX/TREE"));
}

TEST(MIBXText, TrimXMLSpaceDropsLayoutOnly) {
    EXPECT_EQ(TrimXMLSpace("\r\n\t 1.3.6 \n"), "1.3.6");
    EXPECT_EQ(TrimXMLSpace(" a b "), "a b");
    EXPECT_EQ(TrimXMLSpace(" \n "), "");
    EXPECT_EQ(TrimXMLSpace("\xC2\xA0x"), "\xC2\xA0x") << "a no-break space is content";
}

}  // namespace
}  // namespace qlmib
