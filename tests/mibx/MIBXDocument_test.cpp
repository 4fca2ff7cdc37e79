#include <gtest/gtest.h>

#include <qlmib/mibx/MIBXDocument.h>

#include <sys/stat.h>

#include <thread>

#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::MibxFixture;

std::string utf16le(std::string_view ascii) {
    std::string out("\xFF\xFE", 2);
    for (char c : ascii) out += {c, '\0'};
    return out;
}

// The parser reports an offset into its UTF-8 buffer; the message must count
// lines and characters of the file as written.
TEST_F(MibxFixture, DocumentParseErrorsGiveLineAndColumn) {
    const struct {
        std::string content, error;
    } cases[] = {
        {"<a>\n<b></c>", "Start-end tags mismatch at line 2, column 6"},
        {"\xEF\xBB\xBF<a>\r\n\r\n<b></c>", "Start-end tags mismatch at line 3, column 6"},
        {"<a>\r<b>\xC3\xA9\xE2\x82\xAC</c>", "Start-end tags mismatch at line 2, column 8"},
        {"<?xml version='1.0' encoding='ISO-8859-1'?>\n<a>\xE9\xE9<b></c>", "Start-end tags mismatch at line 2, column 11"},
        {utf16le("<a>\n<b></c>"), "Start-end tags mismatch at line 2, column 6"},
        {"", "No document element found at line 1, column 1"},
    };
    MIBXDocument document;
    for (const auto& c : cases) {
        EXPECT_FALSE(document.load(write("bad.xml", c.content)));
        EXPECT_EQ(document.loadError(), c.error) << c.content;
    }
    EXPECT_FALSE(document.load((home.folder() / "missing.xml").string()));
    EXPECT_EQ(document.loadError(), "No such file or directory");
    EXPECT_FALSE(document.load(home.folder().string()));
    EXPECT_EQ(document.loadError(), "Is a directory");
}

TEST_F(MibxFixture, DocumentNodesSelectionAndTextEvenOfDeepNesting) {
    MIBXDocument document;
    ASSERT_TRUE(document.load(write("old.xml", "<MIBX><VERSION/></MIBX>")));
    ASSERT_TRUE(document.load(write("kinds.xml",
                                    "<MIBX><?MODULE x?><MODULE><DESCRIPTION>first</DESCRIPTION></MODULE>"
                                    "<MODULE><NAME>SECOND</NAME></MODULE><TREE>\n  <a><OID>1</OID><ENUMS/></a>\n"
                                    "  <!-- note -->\n  <?OID 1.3?>\n  loose <![CDATA[raw]]></TREE></MIBX>")));
    EXPECT_FALSE(document.select("MIBX/VERSION")) << "a load replaces the file before";
    EXPECT_EQ(document.select("MIBX/MODULE/NAME").text(), "SECOND") << "a MODULE without NAME is passed over";

    const auto tree = document.select("MIBX/TREE");
    std::vector<std::string> nodes;
    for (const auto child : tree.children()) nodes.push_back(std::string(child.name()) + "=" + child.text());
    EXPECT_EQ(nodes, (std::vector<std::string>{"a=1", "#comment= note ", "OID=1.3", "#text=\n  loose ",
                                               "#cdata-section=raw"}))
        << "layout white space is no node; comments and PIs are";
    EXPECT_EQ(tree.text(), "1\n  loose raw") << "an element's text skips comments and PIs";

    // Text of deep nesting needs no deep stack.
    constexpr int kDepth = 200000;
    std::string content;
    for (int i = 0; i < kDepth; ++i) content += "<d>";
    content += "core";
    for (int i = 0; i < kDepth; ++i) content += "</d>";
    ASSERT_TRUE(document.load(write("deep.xml", content)));
    EXPECT_EQ(document.select("d").text(), "core");
}

// Text before an element's first child is a text node like any other: first
// among the children, part of the element's text, a reason for hasChildNodes.
TEST_F(MibxFixture, DocumentTextBeforeTheFirstChildIsAChildNode) {
    const struct {
        std::string element;
        std::vector<std::string> children;
        std::string text;
        bool hasChildNodes;
    } cases[] = {
        {"<e>only</e>", {"#text=only"}, "only", true},
        {"<e>lead<a>in</a>tail</e>", {"#text=lead", "a=in", "#text=tail"}, "leadintail", true},
        {"<e>a<!--c-->b<?p q?></e>", {"#text=a", "#comment=c", "#text=b", "p=q"}, "ab", true},
        {"<e><![CDATA[c]]>after</e>", {"#cdata-section=c", "#text=after"}, "cafter", true},
        {"<e>x<a>y<b>z</b></a></e>", {"#text=x", "a=yz"}, "xyz", true},
        {"<e> \n </e>", {}, "", false},
        {"<e/>", {}, "", false},
    };
    MIBXDocument document;
    for (const auto& c : cases) {
        ASSERT_TRUE(document.load(write("text.xml", "<r>" + c.element + "</r>"))) << c.element;
        const auto element = document.select("r/e");
        std::vector<std::string> children;
        for (const auto child : element.children()) {
            children.push_back(std::string(child.name()) + "=" + child.text());
            if (child.name() == "#text") {
                EXPECT_FALSE(child.hasChildNodes() || child.select("a")) << c.element;
            }
        }
        EXPECT_EQ(children, c.children) << c.element;
        EXPECT_EQ(element.text(), c.text) << c.element;
        std::string joined;
        EXPECT_EQ(element.textView(joined), c.text) << c.element;
        EXPECT_EQ(element.hasChildNodes(), c.hasChildNodes) << c.element;
    }
}

// The read buffer is kept from file to file: a smaller file after a larger
// one is read whole and alone, and a file whose size is not known before
// (a pipe) grows the buffer without losing what was read.
TEST_F(MibxFixture, DocumentReadsEachFileWholeWhateverCameBefore) {
    const auto element = [](char fill, size_t size) { return "<r><e>" + std::string(size, fill) + "</e></r>"; };
    const auto pipe = (home.folder() / "pipe.xml").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    MIBXDocument document;
    const struct {
        char fill;
        size_t size;
        bool throughPipe;
    } loads[] = {{'a', 300000, false}, {'b', 10, false}, {'c', 200000, true}, {'d', 5, true}};
    for (const auto& load : loads) {
        const auto content = element(load.fill, load.size);
        std::string path;
        std::thread writer;
        if (load.throughPipe) {
            path = pipe;
            writer = std::thread([&] { std::ofstream(pipe, std::ios::binary) << content; });
        } else {
            path = write("plain.xml", content);
        }
        const bool loaded = document.load(path);
        if (writer.joinable()) writer.join();
        ASSERT_TRUE(loaded) << load.fill << " " << document.loadError();
        EXPECT_EQ(document.select("r/e").text(), std::string(load.size, load.fill));
    }
}

}  // namespace
}  // namespace qlmib
