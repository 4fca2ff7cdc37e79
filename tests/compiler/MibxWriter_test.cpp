#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <qlmib/common/Error.h>
#include <qlmib/compiler/MibxWriter.h>

namespace qlmib::compiler {
namespace {

TEST(MibxWriterTest, ElementNames) {
    const struct {
        const char* name;
        bool ok;
    } cases[] = {
        {"ifInOctets", true}, {"mib-2", true},     {"IfEntry", true},   {"a_b", true},       {"x", true},
        {"xm", true},         {"xmlThing", false}, {"XMLfoo", false},   {"XmL", false},      {"", false},
        {"10mbit", false},    {"-up", false},      {"a:b", false},      {"a b", false},      {"caf\xc3\xa9", false},
        {"_hidden", true},    {"v1.2", true},      {"a<b", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsMibxElementName(c.name), c.ok) << c.name;
}

CompiledModule sampleModule() {
    CompiledModule m;
    m.name = "QL-SAMPLE-MIB";
    m.description = "Caf\xe9 \x0c<&> \xc3\xa9 \"quoted\"";  // a Latin-1 byte, a form feed, markup, UTF-8
    m.objects = {
        {"qlRoot", "1.3.6.1.4.1.99990", "", "", "current", "", {}},
        {"qlMode", "1.3.6.1.4.1.99990.1", "INTEGER", "read-write", "current", "Mode.",
         {{"on", 1}, {"xmlOff", 2}, {"minus", -5}}},
        {"xmlBad", "1.3.6.1.4.1.99990.2", "Integer32", "read-only", "current", "", {}},
    };
    return m;
}

TEST(MibxWriterTest, DocumentIsWellFormedWhateverTheTextHolds) {
    const std::string text = MibxText(sampleModule(), 1705276800 + 3723);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(text.c_str())) << text;
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    EXPECT_STREQ(doc.select_node("/MIBX/VERSION").node().text().get(), "Quellon.Net MIB-X 1.0");
    EXPECT_STREQ(doc.select_node("/MIBX/COMPILED").node().text().get(), "2024-01-15 01:02:03") << "in UTC";
    EXPECT_FALSE(doc.select_node("/MIBX/MODULE/LAST-UPDATED")) << "no revision, no element";
    EXPECT_STREQ(doc.select_node("/MIBX/MODULE/DESCRIPTION").node().text().get(),
                 "Caf\xc3\xa9  <&> \xc3\xa9 \"quoted\"");

    const auto tree = doc.select_node("/MIBX/TREE").node();
    std::vector<std::string> names;
    for (auto child : tree.children()) names.push_back(child.name());
    EXPECT_EQ(names, (std::vector<std::string>{"qlRoot", "qlMode"}));
    EXPECT_TRUE(tree.child("qlRoot").child("SYNTAX")) << "SYNTAX is written even when empty";
    EXPECT_FALSE(tree.child("qlRoot").child("ACCESS"));
    const auto enums = tree.child("qlMode").child("ENUMS");
    EXPECT_STREQ(enums.child("on").text().get(), "1");
    EXPECT_STREQ(enums.child("minus").text().get(), "-5");
    EXPECT_FALSE(enums.child("xmlOff"));
}

TEST(MibxWriterTest, WritingIntoAMissingFolderFails) {
    const auto missing = std::filesystem::temp_directory_path() / "qlmib-missing" / "folder";
    EXPECT_THAT([&] { WriteMibxFile(sampleModule(), missing, 0); },
                testing::Throws<Error>(testing::ResultOf([](const Error& e) { return e.Number(); }, ERR_FILE)));
}

}  // namespace
}  // namespace qlmib::compiler
