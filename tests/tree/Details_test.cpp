#include <gtest/gtest.h>

#include <qlmib/mibdata/OID.h>
#include <qlmib/tree/Details.h>
#include <qlmib/ui/Rtf.h>

#include "MibFixture.h"

namespace qlmib {
namespace {

class DetailsTest : public test::MibFixture {
protected:
    OID object(const char* oid) {
        OID o;
        o.setOID(oid);
        return o;
    }
    ui::RichTextDocument doc;
};

TEST_F(DetailsTest, TreeDetailsOfAnEnumeratedObject) {
    ComposeTreeDetails(doc, object("1.3.6.1.2.1.2.2.1.7"));
    EXPECT_EQ(doc.getText(),
              "IF-MIB:ifAdminStatus\r\n\r\n"
              "OID \t1.3.6.1.2.1.2.2.1.7\r\n"
              "Type \tINTEGER\r\n"
              "Units \tstates\r\n"
              "Access \tread-write\r\n"
              "Status \tcurrent\r\n"
              "\r\nThe desired state of the interface.\r\n"
              "\r\nPossible Values :\r\n"
              "    up(1)\r\n"
              "    down(2)\r\n"
              "    testing(3)\r\n");
    const auto& runs = doc.Runs();
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].format, (ui::TextFormat{ui::Color(64, 128, 64), true, 10, true, "MS Sans Serif"}));
    EXPECT_EQ(runs[1], (ui::TextRun{"OID \t", {ui::Color(64, 64, 255), true, 8, false, "MS Sans Serif"}}));
    EXPECT_EQ(runs[2].format, (ui::TextFormat{ui::kBlack, false, 8, false, "MS Sans Serif"}));
}

TEST_F(DetailsTest, ShortDetailsLeaveOutUnitsAndValues) {
    ComposeTreeDetails(doc, object("1.3.6.1.2.1.2.2.1.7"), DetailsLayout::ShortTree);
    const auto text = doc.getText();
    EXPECT_EQ(text.find("Units"), std::string::npos);
    EXPECT_EQ(text.find("Possible Values"), std::string::npos);
    EXPECT_NE(text.find("Access \tread-write\r\nStatus \tcurrent\r\n\r\nThe desired"), std::string::npos);
}

TEST_F(DetailsTest, NotEnumeratedOrUnknownObjects) {
    ComposeTreeDetails(doc, object("1.3.6.1.2.1.1.1"));
    EXPECT_EQ(doc.getText().find("Possible Values :"), std::string::npos);
    const std::string ending = "Status \tcurrent\r\n\r\nA textual description of the entity.\r\n";
    EXPECT_EQ(doc.getText().substr(doc.getText().size() - ending.size()), ending);

    ComposeTreeDetails(doc, object("2.999"));
    EXPECT_EQ(doc.getText(),
              "\r\n\r\nOID \t\r\nType \t\r\nUnits \t\r\nAccess \tunknown\r\nStatus \tunknown\r\n\r\n\r\n")
        << "labels stay; values are what an empty object gives";
}

TEST_F(DetailsTest, ComposingStartsFromAnEmptyDocument) {
    doc.AddMessage("left over");
    ComposeTreeDetails(doc, object("1.3.6.1.2.1.1.1"));
    EXPECT_EQ(doc.getText().rfind("SNMPv2-MIB:sysDescr\r\n\r\n", 0), 0u);
}

TEST(EnumValues, OneLinePerItem) {
    struct Case {
        const char* list;
        const char* text;
    };
    const Case cases[] = {
        {"#1;up(1)|#2;down(2)", "    up(1)\r\n    down(2)\r\n"},
        {"plain|#3;a;b", "    plain\r\n    a;b\r\n"},
        {"", ""},
        {"|", "    \r\n    \r\n"},
    };
    for (const auto& c : cases) {
        ui::RichTextDocument doc;
        AddEnumValues(doc, c.list);
        EXPECT_EQ(doc.getText(), c.text) << c.list;
    }
}

TEST_F(DetailsTest, ValueDetailsWithTheFourValueCases) {
    struct Case {
        const char* raw;
        const char* parsed;
        const char* valueLines;  // between the Status line and the description
    };
    const Case cases[] = {
        {"1", "1", "Value \t1\r\n"},
        {"1", "", "Value \t1\r\n\r\n"},
        {"1", "up(1)", "Value \t1\r\n  \tup(1)\r\n\r\n"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.raw) + "/" + c.parsed);
        ComposeValueDetails(doc, "Agent 10.0.0.1", object("1.3.6.1.2.1.2.2.1.7.3"), c.raw, c.parsed);
        EXPECT_EQ(doc.getText(),
                  std::string("Agent 10.0.0.1\r\n\r\n"
                              "MIB \tIF-MIB\r\n"
                              "Name \tifAdminStatus.3\r\n"
                              "\r\n"
                              "iso.org.dod.internet.mgmt.mib-2.interfaces.ifTable.ifEntry.ifAdminStatus.3\r\n\r\n"
                              "OID \t1.3.6.1.2.1.2.2.1.7.3\r\n"
                              "Type \tINTEGER\r\n"
                              "Units \tstates\r\n"
                              "Access \tread-write\r\n"
                              "Status \tcurrent\r\n") +
                      c.valueLines +
                      "\r\nThe desired state of the interface.\r\n"
                      "\r\nPossible Values :\r\n    up(1)\r\n    down(2)\r\n    testing(3)\r\n");
    }
    const auto& runs = doc.Runs();
    EXPECT_EQ(runs[0].format.color, ui::Color(0, 0, 255));
    EXPECT_EQ(runs[1], (ui::TextRun{"MIB \t", {ui::Color(64, 64, 128), true, 10, false, "MS Sans Serif"}}));
    EXPECT_EQ(runs[2].format, (ui::TextFormat{ui::Color(0, 128, 0), true, 10, false, "MS Sans Serif"}));
}

TEST_F(DetailsTest, ValueDetailsOfAnUnknownObjectShowTheTitleAlone) {
    ComposeValueDetails(doc, "Title", object("2.999"), "raw", "parsed");
    EXPECT_EQ(doc.getText(), "Title\r\n\r\n");
    ComposeValueDetails(doc, "", object("2.999"), "raw", "parsed");
    EXPECT_EQ(doc.getText(), "");
}

TEST_F(DetailsTest, TheRtfCarriesTheSameRuns) {
    ComposeTreeDetails(doc, object("1.3.6.1.2.1.2.2.1.7"));
    EXPECT_EQ(ui::ReadRtf(doc.getTextRTF()), doc.Runs());
}

}  // namespace
}  // namespace qlmib
