// The search window as a user drives it: its three tabs, patterns and
// keywords (quotes included), the 500-hit limit, its messages, and showing a
// hit in the tree that opened it.

#include <gtest/gtest.h>

#include <memory>

#include <qlmib/mibdata/Globals.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/SearchMIBTreeForm.h>
#include <qlmib/tree/SingleMIBTree.h>

#include "TreeControlFixture.h"

namespace qlmib {
namespace {

class SearchTest : public test::TreeDatabase {
protected:
    void SetUp() override {
        TreeDatabase::SetUp();
        form.Search(nullptr, false);
    }
    // Searches on the tab, by name or by keywords, and returns the list's lines.
    std::vector<std::string> search(SearchTab tab, const std::string& text, const std::string& modules = "") {
        form.Tabs.setTab(tab);
        (tab == SearchByName ? form.TargetName : form.TargetKeywords).setText(text);
        form.TargetMIBs.setText(modules);
        form.Search_Button.Press();
        return lines();
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (std::int32_t i = 0; i < form.OIDList.getListCount(); ++i) out.push_back(form.OIDList.getList(i));
        return out;
    }

    SearchMIBTreeForm form{toolkit};
};

using Rows = std::vector<std::string>;
const std::string kSysDescr = "SNMPv2-MIB\tsysDescr\t1.3.6.1.2.1.1.1";
const std::string kAdminStatus = "IF-MIB\tifAdminStatus\t1.3.6.1.2.1.2.2.1.7";
const std::string kQuoted = "O'REILLY\"MIB\to'brien\"s\t1.3.6.1.4.1.9999.1.2.3.4";

TEST_F(SearchTest, TheWindowOpensOnANamePatternThatListsModuleThenNameAndShowsTheFirstHit) {
    EXPECT_FALSE(form.Show_Button.getEnabled()) << "no tree to show a hit in";
    form.Search_Button.Press();  // the initial pattern, sys*
    EXPECT_EQ(lines(), (std::vector<std::string>{"RFC1213-MIB\tsysDescr\t1.3.6.1.2.1.1.1", kSysDescr,
                                                  "SNMPv2-MIB\tsysObjectID\t1.3.6.1.2.1.1.2",
                                                  "SNMPv2-MIB\tsystem\t1.3.6.1.2.1.1"}));
    EXPECT_EQ(form.HitCount(), 4);
    EXPECT_EQ(form.OIDDetails.getOID(), "1.3.6.1.2.1.1.1");
    form.OIDList.setListIndex(2);
    EXPECT_EQ(form.OIDDetails.getOID(), "1.3.6.1.2.1.1.2");
    EXPECT_EQ(toolkit.PointerChanges().front(), ui::PointerHourglass);
    EXPECT_EQ(toolkit.getMousePointer(), ui::PointerDefault);

    form.TargetName.setText("if*");
    EXPECT_EQ(form.TargetName.UserKeyPress(ui::AsciiReturn), 0) << "Enter searches and is swallowed";
    EXPECT_EQ(lines().size(), 6u);
}

TEST_F(SearchTest, QuotesInAPatternAreSearchedForAndChangeNoStatement) {
    const auto rows = search(SearchByName, "*").size();
    EXPECT_EQ(search(SearchByName, "o'brien\"*"), std::vector<std::string>{kQuoted});
    EXPECT_EQ(search(SearchDescriptions, "\"quoted\"", "O'REILLY*"), std::vector<std::string>{kQuoted});
    for (const char* attack : {"x\" OR \"1\"=\"1", "x' OR '1'='1", "'; DELETE FROM Tree; --"}) {
        EXPECT_TRUE(search(SearchByName, attack).empty()) << attack;
        EXPECT_TRUE(search(SearchDescriptions, attack, attack).empty()) << attack;
    }
    EXPECT_EQ(search(SearchByName, "*").size(), rows) << "no row was deleted";
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
        EXPECT_EQ(search(SearchDescriptions, c.keywords, c.modules), c.hits) << c.keywords << " / " << c.modules;
}

TEST_F(SearchTest, FiveHundredHitsEndWithTheLimitLine) {
    Transaction tx(home.db());
    for (int n = 1; n <= 500; ++n) {
        auto number = std::to_string(n);
        number.insert(0, 3 - number.size(), '0');
        test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.7777." + std::to_string(n), .name = "bulk" + number,
                                    .mib = "BULK-MIB", .typeS = "Integer32", .description = "A bulk object."});
    }
    tx.commit();
    const auto hits = search(SearchByName, "bulk*");
    ASSERT_EQ(hits.size(), 502u);
    EXPECT_EQ(form.HitCount(), 500);
    EXPECT_EQ(hits[499], "BULK-MIB\tbulk500\t1.3.6.1.4.1.7777.500");
    EXPECT_EQ(Rows(hits.end() - 2, hits.end()), (Rows{"", "   Only first 500 matches shown ..."}));
    EXPECT_EQ(search(SearchDescriptions, "bulk", "").size(), 502u) << "the description search has the same limit";
    EXPECT_EQ(search(SearchByName, "bulk0*").size(), 99u) << "no limit line below the limit";
}

TEST_F(SearchTest, EmptyFieldsMissesAndDatabaseErrorsAreAnsweredInMessageBoxes) {
    form.OIDList.AddItem("stale");
    EXPECT_TRUE(search(SearchByName, "  ").empty());
    EXPECT_TRUE(search(SearchDescriptions, " ", "  ").empty());
    EXPECT_TRUE(search(SearchByName, "nothing*").empty());
    EXPECT_EQ(form.OIDDetails.Details.Length(), 0);
    SharedDatabase().exec("DROP TABLE Tree");
    EXPECT_TRUE(search(SearchByName, "sys*").empty());
    const auto& messages = toolkit.Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].Prompt, "Please, enter name of the OID to search for");
    EXPECT_EQ(messages[1].Prompt, "Please, feel in both fields");
    EXPECT_EQ(messages[2].Prompt, "Searched string was not found");
    EXPECT_EQ(messages[2].Buttons, ui::MsgBoxOKOnly);
    EXPECT_NE(messages[3].Prompt.find("Tree"), std::string::npos) << messages[3].Prompt;
    EXPECT_EQ(toolkit.getMousePointer(), ui::PointerDefault);
}

TEST_F(SearchTest, ShowInMibTreeSelectsTheHitInTheTreeThatOpenedTheWindow) {
    auto tree = std::make_unique<MIBTree>(toolkit);
    tree->Refresh();
    tree->SearchMIBTree();
    auto& opened = dynamic_cast<SearchMIBTreeForm&>(*const_cast<ui::Window*>(toolkit.WindowsShown().back().window));
    opened.TargetName.setText("ifAdmin*");
    opened.Search_Button.Press();
    opened.Show_Button.Press();
    EXPECT_EQ(tree->Tree.getRowKey(tree->Tree.getRow()), "O:1.3.6.1.2.1.2.2.1.7");

    opened.Tabs.setTab(SearchByOID);
    EXPECT_FALSE(opened.OIDList.getVisible());
    opened.TargetOID.setText("1.3.6.1.2.1.1.1");
    EXPECT_EQ(opened.OIDDetails.Details.getText().substr(0, 17), "MIB \tSNMPv2-MIB\r\n") << "shown as typed";
    opened.Show_Button.Press();
    EXPECT_EQ(tree->getSelectedOID()->getOID(), "1.3.6.1.2.1.1.1");
    opened.Copy_Button.Press();
    EXPECT_EQ(toolkit.clipboard().GetText(ui::ClipboardRTF), opened.OIDDetails.getRTF());

    tree.reset();
    EXPECT_FALSE(opened.Show_Button.getEnabled()) << "the tree is gone";
    opened.Show_Button.setEnabled(true);
    opened.Show_Button.Press();  // must not reach the destroyed tree
    opened.Done_Button.Press();
    EXPECT_FALSE(opened.getVisible());
}

TEST_F(SearchTest, TreeControlsShareOneSearchWindowUntilItIsClosed) {
    auto tree = std::make_unique<MIBTree>(toolkit);
    auto single = std::make_unique<SingleMIBTree>(toolkit);
    const auto shownLast = [&] { return toolkit.WindowsShown().back().window; };

    tree->SearchMIBTree();
    const auto* first = shownLast();
    const auto kept = toolkit.KeptWindowCount();
    single->SearchMIBTree();
    EXPECT_EQ(shownLast(), first);
    EXPECT_FALSE(dynamic_cast<const SearchMIBTreeForm*>(first)->Show_Button.getEnabled()) << "shown without a tree";
    single->SearchMIBTree(true);
    tree->SearchMIBTree();
    EXPECT_EQ(shownLast(), first);
    EXPECT_EQ(toolkit.KeptWindowCount(), kept);

    // Now the window drives the MIB tree; the other control going must not
    // take the tree from it.
    auto& shared = dynamic_cast<SearchMIBTreeForm&>(*const_cast<ui::Window*>(first));
    single.reset();
    EXPECT_TRUE(shared.Show_Button.getEnabled());

    shared.TargetName.setText("nothing here");
    shared.Done_Button.Press();
    toolkit.DoEvents();
    tree->SearchMIBTree();
    const auto& reopened = dynamic_cast<const SearchMIBTreeForm&>(*shownLast());
    EXPECT_EQ(reopened.TargetName.getText(), "sys*") << "a closed window opens afresh";
    EXPECT_EQ(toolkit.KeptWindowCount(), kept);
}

}  // namespace
}  // namespace qlmib
