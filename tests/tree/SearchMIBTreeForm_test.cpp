// The search window as a user drives it: its three tabs, patterns and
// keywords (quotes included), the 500-hit limit, its messages, and showing a
// hit in the tree that opened it.

#include <gtest/gtest.h>

#include <memory>

#include <qlmib/mibdata/Globals.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/SearchMIBTreeForm.h>

#include "TreeControlFixture.h"

namespace qlmib {
namespace {

std::int64_t treeRows() {
    auto q = SharedDatabase().prepare("SELECT Count(*) FROM Tree");
    q.step();
    return q.int64(0);
}

class SearchTest : public test::TreeControlFixture {
protected:
    void SetUp() override {
        TreeControlFixture::SetUp();
        auto& db = home.db();
        Transaction tx(db);
        for (int n = 1; n <= 500; ++n) {
            auto number = std::to_string(n);
            number.insert(0, 3 - number.size(), '0');
            test::insertRow(db, {.oid = "1.3.6.1.4.1.7777." + std::to_string(n), .name = "bulk" + number,
                                 .mib = "BULK-MIB", .typeS = "Integer32", .description = "A bulk object."});
        }
        tx.commit();
        form.Search(nullptr, false);
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (std::int32_t i = 0; i < form.OIDList.getListCount(); ++i) out.push_back(form.OIDList.getList(i));
        return out;
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : toolkit.Messages()) out.push_back(m.Prompt);
        return out;
    }
    std::vector<std::string> searchByName(const std::string& pattern) {
        form.Tabs.setTab(SearchByName);
        form.TargetName.setText(pattern);
        form.Search_Button.Press();
        return lines();
    }
    std::vector<std::string> searchDescriptions(const std::string& keywords, const std::string& modules) {
        form.Tabs.setTab(SearchDescriptions);
        form.TargetKeywords.setText(keywords);
        form.TargetMIBs.setText(modules);
        form.Search_Button.Press();
        return lines();
    }

    SearchMIBTreeForm form{toolkit};
};

const std::string kSysDescr = "SNMPv2-MIB\tsysDescr\t1.3.6.1.2.1.1.1";
const std::string kAdminStatus = "IF-MIB\tifAdminStatus\t1.3.6.1.2.1.2.2.1.7";

TEST(CollapseWhitespace, EachRunOfBlanksAndTabsBecomesOneBlank) {
    const std::pair<const char*, const char*> cases[] = {
        {"a  b", "a b"}, {"a\t \tb", "a b"}, {"  a", "a"}, {"a  ", "a "}, {"", ""}, {"ab", "ab"}, {"\t", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(CollapseWhitespace(in), out) << '"' << in << '"';
}

TEST(HitLineOID, TheTextAfterTheLastTabTrimmed) {
    EXPECT_EQ(HitLineOID("IF-MIB\tifIndex\t 1.3.6.1 "), "1.3.6.1");
    EXPECT_EQ(HitLineOID("   Only first 500 matches shown ..."), "Only first 500 matches shown ...");
    EXPECT_EQ(HitLineOID(""), "");
}

TEST_F(SearchTest, TheWindowOpensOnTheNameTabWithItsInitialTexts) {
    EXPECT_EQ(form.getCaption(), "Search MIB Tree ...");
    EXPECT_EQ(form.Tabs.getTab(), SearchByName);
    EXPECT_EQ(form.Tabs.getTabCaption(2), "&Search Descriptions");
    EXPECT_EQ(form.TargetOID.getText(), "1.3.6.1");
    EXPECT_EQ(form.TargetName.getText(), "sys*");
    EXPECT_EQ(form.TargetMIBs.getText(), "Cisco*");
    EXPECT_EQ(form.TargetKeywords.getText(), "CPU");
    EXPECT_FALSE(form.Show_Button.getEnabled()) << "no tree to show a hit in";
    EXPECT_TRUE(form.OIDList.getVisible());
}

TEST_F(SearchTest, ANamePatternListsModuleThenNameAndShowsTheFirstHit) {
    EXPECT_EQ(searchByName("sys*"), (std::vector<std::string>{"RFC1213-MIB\tsysDescr\t1.3.6.1.2.1.1.1", kSysDescr,
                                                               "SNMPv2-MIB\tsysObjectID\t1.3.6.1.2.1.1.2",
                                                               "SNMPv2-MIB\tsystem\t1.3.6.1.2.1.1"}));
    EXPECT_EQ(form.HitCount(), 4);
    EXPECT_EQ(form.OIDList.getListIndex(), 0);
    EXPECT_EQ(form.OIDDetails.getOID(), "1.3.6.1.2.1.1.1");
    form.OIDList.setListIndex(2);
    EXPECT_EQ(form.OIDDetails.getOID(), "1.3.6.1.2.1.1.2");
    const auto& pointers = toolkit.PointerChanges();
    ASSERT_GE(pointers.size(), 2u);
    EXPECT_EQ(pointers[0], ui::PointerHourglass);
    EXPECT_EQ(toolkit.getMousePointer(), ui::PointerDefault);

    EXPECT_EQ(form.TargetName.UserKeyPress(ui::AsciiReturn), 0) << "Enter searches and is swallowed";
    EXPECT_EQ(lines().size(), 4u);
    EXPECT_TRUE(messages().empty());
}

TEST_F(SearchTest, QuotesInAPatternAreSearchedForAndChangeNoStatement) {
    EXPECT_EQ(searchByName("o'brien\"*"),
              std::vector<std::string>{"O'REILLY\"MIB\to'brien\"s\t1.3.6.1.4.1.9999.1.2.3.4"});
    EXPECT_EQ(searchDescriptions("\"quoted\"", "O'REILLY*"),
              std::vector<std::string>{"O'REILLY\"MIB\to'brien\"s\t1.3.6.1.4.1.9999.1.2.3.4"});
    const auto before = treeRows();
    for (const char* attack : {"x\" OR \"1\"=\"1", "x' OR '1'='1", "'; DELETE FROM Tree; --"}) {
        EXPECT_TRUE(searchByName(attack).empty()) << attack;
        EXPECT_TRUE(searchDescriptions(attack, attack).empty()) << attack;
    }
    EXPECT_EQ(treeRows(), before);
}

TEST_F(SearchTest, KeywordsMatchTheStartOfWordsOfTheDescriptions) {
    struct Case {
        const char* keywords;
        const char* modules;
        std::vector<std::string> hits;
    };
    const Case cases[] = {
        {"TEXTUAL", "", {kSysDescr}},
        {"textual,entity", "", {kSysDescr}},
        {"  textual \t\t  entity,", "", {kSysDescr}},
        {"extual", "", {}},
        {"des*state", "", {kAdminStatus}},
        {"interface", "IF-*", {kAdminStatus}},
        {"interface", "SNMP*", {}},
        {"A", "", {}},  // the first word of a description has no blank before it
        {"", "IF-*",
         {"IF-MIB\tifAdminStatus\t1.3.6.1.2.1.2.2.1.7", "IF-MIB\tifDescr\t1.3.6.1.2.1.2.2.1.2",
          "IF-MIB\tifEntry\t1.3.6.1.2.1.2.2.1", "IF-MIB\tifIndex\t1.3.6.1.2.1.2.2.1.1",
          "IF-MIB\tifNumber\t1.3.6.1.2.1.2.1", "IF-MIB\tifTable\t1.3.6.1.2.1.2.2",
          "IF-MIB\tinterfaces\t1.3.6.1.2.1.2"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(searchDescriptions(c.keywords, c.modules), c.hits) << c.keywords << " in " << c.modules;
}

TEST_F(SearchTest, FiveHundredHitsEndWithTheLimitLine) {
    const auto hits = searchByName("bulk*");
    ASSERT_EQ(hits.size(), 502u);
    EXPECT_EQ(form.HitCount(), 500);
    EXPECT_EQ(hits[0], "BULK-MIB\tbulk001\t1.3.6.1.4.1.7777.1");
    EXPECT_EQ(hits[499], "BULK-MIB\tbulk500\t1.3.6.1.4.1.7777.500");
    EXPECT_EQ(hits[500], "");
    EXPECT_EQ(hits[501], "   Only first 500 matches shown ...");
    EXPECT_EQ(searchDescriptions("bulk", "").size(), 502u) << "the description search has the same limit";
    EXPECT_EQ(searchByName("bulk0*").size(), 99u) << "no limit line below the limit";
}

TEST_F(SearchTest, EmptyFieldsAndMissesAreAnsweredInMessageBoxes) {
    form.OIDList.AddItem("stale");
    EXPECT_TRUE(searchByName("  ").empty());
    EXPECT_TRUE(searchDescriptions(" ", "  ").empty());
    EXPECT_TRUE(searchByName("nothing*").empty());
    EXPECT_EQ(messages(), (std::vector<std::string>{"Please, enter name of the OID to search for",
                                                    "Please, feel in both fields", "Searched string was not found"}));
    for (const auto& m : toolkit.Messages()) EXPECT_EQ(m.Buttons, ui::MsgBoxOKOnly);
    EXPECT_EQ(form.OIDDetails.getOID(), "");
    EXPECT_EQ(form.OIDDetails.Details.Length(), 0);
}

TEST_F(SearchTest, ADatabaseErrorIsShownAndTheWindowStaysUsable) {
    SharedDatabase().exec("DROP TABLE Tree");
    EXPECT_TRUE(searchByName("sys*").empty());
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_NE(toolkit.Messages()[0].Prompt.find("Tree"), std::string::npos) << toolkit.Messages()[0].Prompt;
    EXPECT_EQ(toolkit.getMousePointer(), ui::PointerDefault);
}

TEST_F(SearchTest, TheOidTabShowsTheTypedOidAtOnceWithoutAList) {
    form.Tabs.setTab(SearchByOID);
    EXPECT_FALSE(form.OIDList.getVisible());
    EXPECT_FALSE(form.Search_Button.getVisible());
    EXPECT_EQ(form.Splitter.getPaneSize("Pane A"), 0);
    EXPECT_EQ(form.OIDDetails.getOID(), "1.3.6.1") << "the details of TargetOID";
    form.TargetOID.setText("1.3.6.1.2.1.1");
    EXPECT_EQ(form.OIDDetails.Details.getText().substr(0, 17), "MIB \tSNMPv2-MIB\r\n");
    form.TargetOID.setText("1.3.6.1.2.1.1.1");
    EXPECT_EQ(form.OIDDetails.getOID(), "1.3.6.1.2.1.1.1");
    form.TargetOID.setText("9.9");
    EXPECT_EQ(form.OIDDetails.Details.Length(), 0) << "an OID not in the database shows nothing";
    form.Tabs.setTab(SearchDescriptions);
    EXPECT_TRUE(form.OIDList.getVisible());
    EXPECT_GT(form.Splitter.getPaneSize("Pane A"), 0);
}

TEST_F(SearchTest, ShowInMibTreeSelectsTheHitInTheTreeThatOpenedTheWindow) {
    auto tree = std::make_unique<MIBTree>(toolkit);
    tree->Refresh();
    tree->SearchMIBTree();
    auto* window = const_cast<ui::Window*>(toolkit.WindowsShown().back().window);
    auto& search = dynamic_cast<SearchMIBTreeForm&>(*window);
    EXPECT_TRUE(search.Show_Button.getEnabled());
    search.TargetName.setText("ifAdmin*");
    search.Search_Button.Press();
    search.Show_Button.Press();
    EXPECT_EQ(tree->getSelectedOID()->getOID(), "1.3.6.1.2.1.2.2.1.7");
    EXPECT_EQ(tree->Tree.getRowKey(tree->Tree.getRow()), "O:1.3.6.1.2.1.2.2.1.7");

    search.Tabs.setTab(SearchByOID);
    search.TargetOID.setText("1.3.6.1.2.1.1.1");
    search.Show_Button.Press();
    EXPECT_EQ(tree->getSelectedOID()->getOID(), "1.3.6.1.2.1.1.1");

    tree.reset();
    EXPECT_FALSE(search.Show_Button.getEnabled()) << "the tree is gone";
    search.Show_Button.setEnabled(true);
    search.Show_Button.Press();  // must not reach the destroyed tree
}

TEST_F(SearchTest, CopyPrintAndDoneActOnTheDetails) {
    searchByName("ifAdmin*");
    form.Copy_Button.Press();
    EXPECT_EQ(toolkit.clipboard().GetText(ui::ClipboardText), form.OIDDetails.Details.getText());
    EXPECT_EQ(toolkit.clipboard().GetText(ui::ClipboardRTF), form.OIDDetails.getRTF());
    toolkit.setPrinters({"Office"});
    form.Print_Button.Press();
    ASSERT_EQ(toolkit.PrintJobs().size(), 1u);
    EXPECT_EQ(toolkit.PrintJobs()[0].Title, "IF-MIB:ifAdminStatus");
    form.Done_Button.Press();
    EXPECT_FALSE(form.getVisible());
    EXPECT_FALSE(form.getLoaded());
}

}  // namespace
}  // namespace qlmib
