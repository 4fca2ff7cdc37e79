// MIBXTree: a MIB-X file hung under the database's upper tree, its
// pictures, its details, its selection formats and its messages.

#include <gtest/gtest.h>

#include <qlmib/mibdata/OID.h>
#include <qlmib/mibx/MIBXTree.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/Rtf.h>

#include "MibxFixture.h"

namespace qlmib {
namespace {

class MIBXTreeTest : public test::MibxTreeFixture {
protected:
    void SetUp() override {
        MibxTreeFixture::SetUp();
        subscriptions.push_back(tree.SelectionChanged.subscribe([this](OID& o) { selected.push_back(o.getOID()); }));
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : toolkit.Messages()) out.push_back(m.Prompt);
        return out;
    }
    std::vector<std::string> fileNodes() const {
        std::vector<std::string> keys;
        for (std::int32_t r = 1; r < tree.Tree.getRows(); ++r)
            if (tree.Tree.getRowKey(r).starts_with("F:")) keys.push_back(tree.Tree.getRowKey(r).substr(2));
        return keys;
    }

    ui::HeadlessToolkit toolkit;
    MIBXTree tree{toolkit};
    std::vector<std::string> selected;
    std::vector<Subscription> subscriptions;
};

const std::vector<std::string> kAcmeTree = {
    "0 O:0 ccitt (0) folder-gray",
    "0 O:1 iso (1) folder-gray +",
    "1 O:1.3 org (3) folder-gray +",
    "2 O:1.3.6 dod (6) folder-gray +",
    "3 O:1.3.6.1 internet (1) folder-gray +",
    "4 O:1.3.6.1.4 private (4) folder-gray +",
    "5 O:1.3.6.1.4.1 enterprises (1) folder-gray +",
    "6 F:1.3.6.1.4.1.9999 acme (9999) folder-closed +",
    "7 F:1.3.6.1.4.1.9999.3 acmeLast (3) 1.3.6.1.4.1.9999.3",
    "7 F:1.3.6.1.4.1.9999.1 acmeTable (1) table +",
    "8 F:1.3.6.1.4.1.9999.1.1 acmeEntry (1) key +",
    "9 F:1.3.6.1.4.1.9999.1.1.1 acmeValue (1) leaf",
    "7 F:1.3.6.1.4.1.9999.2 acmeTrap (2) trap",
};

TEST_F(MIBXTreeTest, TheFileHangsUnderGreyDatabaseFoldersInFileOrderAllOpen) {
    tree.setMIBXFilename(acme);
    EXPECT_EQ(test::dump(tree.Tree), kAcmeTree);
    EXPECT_EQ(tree.getModuleName(), "ACME-MIB");
    ASSERT_EQ(messages(), std::vector<std::string>{"Cannot load tree for acmeLost (1.3.6.1.4.1.8888.5.1)"})
        << "an object without a parent is reported and the rest still loads";
    EXPECT_EQ(toolkit.Messages()[0].Buttons, ui::MsgBoxExclamation);
    EXPECT_EQ(tree.Images.Item("1.3.6.1.4.1.9999.3").Bytes, test::pngHeader(1, 1));

    tree.Refresh();
    EXPECT_EQ(test::dump(tree.Tree), kAcmeTree) << "Refresh rebuilds the same tree";

    // Three selection formats drop the prefixes and the long names.
    const auto row = tree.Tree.FindRow("O:1.3.6.1.4.1");
    tree.Tree.Select(row, 0);
    EXPECT_EQ(tree.getSelection(MIBSelection_LongNames), "\r\n");
    EXPECT_EQ(tree.getSelection(MIBSelection_CDefines), "#define\tenterprises\t\"1.3.6.1.4.1\"\r\n");
    EXPECT_EQ(tree.getSelection(MIBSelection_VBConstants), "Global Const\tenterprises\t= \"1.3.6.1.4.1\"\r\n");
    tree.Tree.Select(row, 0, row + 2, 1);
    EXPECT_EQ(tree.getSelection(MIBSelection_NamesAndOIDs),
              "enterprises\t1.3.6.1.4.1\r\nenterprises.9999\t1.3.6.1.4.1.9999\r\n"
              "enterprises.9999.3\t1.3.6.1.4.1.9999.3\r\n")
        << "file objects are not in the database: instances of their nearest ancestor there";
}

TEST_F(MIBXTreeTest, AFileNodeShowsTheFilesDetailsAndRaisesNoSelectionChanged) {
    tree.setMIBXFilename(acme);
    selected.clear();  // Refresh handled the current row once
    tree.Tree.setRow(tree.Tree.FindRow("O:1.3.6.1.4.1"));
    EXPECT_EQ(selected, std::vector<std::string>{"1.3.6.1.4.1"});
    EXPECT_EQ(tree.Details.getText(), "SNMPv2-SMI:enterprises\r\n\r\nOID \t1.3.6.1.4.1\r\nType \t\r\n"
                                      "Access \tunknown\r\nStatus \tunknown\r\n\r\nVendors.\r\n")
        << "the short tree details";

    tree.Tree.setRow(tree.Tree.FindRow("F:1.3.6.1.4.1.9999.1.1.1"));  // its text: qlmib mibx --details
    EXPECT_EQ(tree.Details.getText().substr(0, 33), "ACME-MIB:acmeValue\r\n\r\nValue \t42\r\n");
    EXPECT_EQ(selected.size(), 1u);
    EXPECT_EQ(tree.getSelectedOID()->getOID(), "1.3.6.1.4.1") << "SelectedOID follows database rows only";
    std::string plain;
    for (const auto& run : ui::ReadRtf(tree.GetOIDDetails_MIBX("ignored"))) plain += run.text;
    EXPECT_EQ(plain, tree.Details.getText());

    std::vector<std::string> clicked;
    subscriptions.push_back(tree.OIDDoubleClick.subscribe([&](OID& o) { clicked.push_back(o.getOID()); }));
    tree.Tree.UserDoubleClick();
    EXPECT_EQ(clicked, std::vector<std::string>{"1.3.6.1.4.1"});

    toolkit.setPrinters({"Office"});
    tree.DetailsPopup.Choose("PrintPopup");
    ASSERT_EQ(toolkit.PrintJobs().size(), 1u);
    EXPECT_EQ(toolkit.PrintJobs()[0].Title, "ACME-MIB:acmeValue");

    tree.Tree.UserMouseDown(ui::LeftButton, 0, 0, 0, tree.Tree.getRow(), 0);
    EXPECT_TRUE(toolkit.Drags().empty()) << "this tree offers no dragging";
}

TEST_F(MIBXTreeTest, FileProblemsAreShownAndWhatLoadedBeforeStays) {
    struct Case {
        const char* name;
        std::string content;
        std::string message;  // after the file name; "" for none
        std::vector<std::string> objects;
    };
    const Case cases[] = {
        {"noversion.mibx", "<MIBX><MODULE><NAME>M</NAME></MODULE><TREE>"
                           "<a><OID>1.3.6.1.4.1.9999</OID><SYNTAX/></a></TREE></MIBX>",
         "", {"1.3.6.1.4.1.9999"}},
        {"nosyntax.mibx", test::MIBX("<a><OID>1.3.6.1.4.1.9999</OID><SYNTAX/></a><b><OID>1.3.6.1.4.1.9999.1</OID></b>"
                                     "<c><OID>1.3.6.1.4.1.9999.2</OID><SYNTAX/></c>"),
         " is corrupt.", {"1.3.6.1.4.1.9999"}},
        {"root.mibx", "<NOTMIBX><MODULE><NAME>M</NAME></MODULE><TREE/></NOTMIBX>",
         " is not a Quellon MIBX file or is corrupt.", {}},
    };
    for (const auto& c : cases) {
        const auto path = write(c.name, c.content);
        const auto before = toolkit.Messages().size();
        tree.setMIBXFilename(path);
        EXPECT_EQ(fileNodes(), c.objects) << c.name;
        const auto shown = messages();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + before, shown.end()),
                  c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{path + c.message});
        EXPECT_GE(tree.Tree.FindRow("O:1.3.6"), 0) << c.name << ": the database nodes stay";
    }

    const auto broken = write("broken.mibx", "<MIBX><TREE>");
    tree.setMIBXFilename(broken);
    EXPECT_EQ(messages().back().rfind("Could not load " + broken + "\r\n", 0), 0u) << messages().back();
    EXPECT_EQ(tree.getModuleName(), "");
}

TEST_F(MIBXTreeTest, ObjectsThatCannotBePlacedAreNamedTogetherInOneMessage) {
    const std::string lost =
        "<lostA><OID>1.3.6.1.4.1.8888.1</OID><SYNTAX/></lostA>"
        "<placed><OID>1.3.6.1.4.1.9999</OID><SYNTAX/></placed>"
        "<lostB><OID>1.3.6.1.4.1.8888.1.1</OID><SYNTAX>Integer32</SYNTAX></lostB>"
        "<lostC><OID>1.3.6.1.2.1.2.2</OID><SYNTAX>SEQUENCE</SYNTAX></lostC>";
    const std::string unplaced = "Cannot load tree for lostA (1.3.6.1.4.1.8888.1)\r\n"
                                 "lostB (1.3.6.1.4.1.8888.1.1)\r\nlostC (1.3.6.1.2.1.2.2)";
    struct Case {
        const char* name;
        std::string objects;
        std::vector<std::string> messages;  // a leading "/" stands for the file's path
    };
    const Case cases[] = {
        {"lost.mibx", lost, {unplaced}},
        {"lost-then-corrupt.mibx", lost + "<bad><SYNTAX/></bad><after><OID>1.3.6.1.4.1.9999.1</OID><SYNTAX/></after>",
         {unplaced, "/ is corrupt."}},
        {"placed.mibx", "<placed><OID>1.3.6.1.4.1.9999</OID><SYNTAX/></placed>", {}},
    };
    for (const auto& c : cases) {
        const auto path = write(c.name, test::MIBX(c.objects));
        const auto before = toolkit.Messages().size();
        tree.setMIBXFilename(path);
        std::vector<std::string> expected;
        for (const auto& m : c.messages) expected.push_back(m.starts_with('/') ? path + m.substr(1) : m);
        const auto shown = messages();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + before, shown.end()), expected) << c.name;
        EXPECT_EQ(fileNodes(), std::vector<std::string>{"1.3.6.1.4.1.9999"}) << c.name;
    }

    tree.AddMIBXNode("alone", "1.3.6.1.4.1.7777.1", "Integer32");
    EXPECT_EQ(messages().back(), "Cannot load tree for alone (1.3.6.1.4.1.7777.1)") << "one object, one line";
}

}  // namespace
}  // namespace qlmib
