// The details documents, the OID details control, its window and the
// toolkit hooks that open it.

#include <gtest/gtest.h>

#include <thread>

#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>
#include <qlmib/tree/Details.h>
#include <qlmib/tree/OIDDetails.h>
#include <qlmib/tree/OIDDetailsForm.h>
#include <qlmib/tree/ToolkitHooks.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/Rtf.h>

#include "MibFixture.h"

namespace qlmib {
namespace {

std::string plain(const std::string& rtf) {
    std::string text;
    for (const auto& run : ui::ReadRtf(rtf)) text += run.text;
    return text;
}

class DetailsTest : public test::MibFixture {
protected:
    static OID object(const char* oid) {
        OID o;
        o.setOID(oid);
        return o;
    }
    ui::RichTextDocument doc;
    ui::HeadlessToolkit toolkit;
};

TEST_F(DetailsTest, TreeDetailsOfAnEnumeratedAPlainAndAnUnknownObject) {
    doc.AddMessage("left over");
    ComposeTreeDetails(doc, object("1.3.6.1.2.1.2.2.1.7"));
    EXPECT_EQ(doc.getText(),
              "IF-MIB:ifAdminStatus\r\n\r\nOID \t1.3.6.1.2.1.2.2.1.7\r\nType \tINTEGER\r\nUnits \tstates\r\n"
              "Access \tread-write\r\nStatus \tcurrent\r\n\r\nThe desired state of the interface.\r\n"
              "\r\nPossible Values :\r\n    up(1)\r\n    down(2)\r\n    testing(3)\r\n");

    ComposeTreeDetails(doc, object("1.3.6.1.2.1.1.1"));
    const std::string ending = "Status \tcurrent\r\n\r\nA textual description of the entity.\r\n";
    EXPECT_EQ(doc.getText().substr(doc.getText().size() - ending.size()), ending) << "no values list";

    ComposeTreeDetails(doc, object("2.999"));
    EXPECT_EQ(doc.getText(),
              "\r\n\r\nOID \t\r\nType \t\r\nUnits \t\r\nAccess \tunknown\r\nStatus \tunknown\r\n\r\n\r\n")
        << "labels stay; values are what an empty object gives";

    ui::RichTextDocument values;
    AddEnumValues(values, "plain|#3;a;b|");
    EXPECT_EQ(values.getText(), "    plain\r\n    a;b\r\n    \r\n") << "an item's text after its first ;";
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
                  std::string("Agent 10.0.0.1\r\n\r\nMIB \tIF-MIB\r\nName \tifAdminStatus.3\r\n\r\n"
                              "iso.org.dod.internet.mgmt.mib-2.interfaces.ifTable.ifEntry.ifAdminStatus.3\r\n\r\n"
                              "OID \t1.3.6.1.2.1.2.2.1.7.3\r\nType \tINTEGER\r\nUnits \tstates\r\n"
                              "Access \tread-write\r\nStatus \tcurrent\r\n") +
                      c.valueLines +
                      "\r\nThe desired state of the interface.\r\n"
                      "\r\nPossible Values :\r\n    up(1)\r\n    down(2)\r\n    testing(3)\r\n");
    }

    ComposeValueDetails(doc, "Title", object("2.999"), "raw", "parsed");
    EXPECT_EQ(doc.getText(), "Title\r\n\r\n") << "an unknown object shows the title alone";
    ComposeValueDetails(doc, "", object("2.999"), "raw", "parsed");
    EXPECT_EQ(doc.getText(), "");
}

TEST_F(DetailsTest, TheControlRecomposesOnEachValueAndOnRefreshForTitleAndMessages) {
    OIDDetails details(toolkit);
    details.setOID("1.3.6.1.2.1.2.2.1.7.1");
    EXPECT_EQ(details.Details.getText().find("Value \t"), std::string::npos);
    details.setRawValue("2");
    EXPECT_NE(details.Details.getText().find("Status \tcurrent\r\nValue \t2\r\n\r\n\r\n"), std::string::npos);
    details.setParsedValue("down(2)");
    EXPECT_NE(details.Details.getText().find("Value \t2\r\n  \tdown(2)\r\n\r\n"), std::string::npos);
    EXPECT_EQ(plain(details.getRTF()), details.Details.getText());
    EXPECT_EQ(details.Details.getSelStart(), 0) << "the insertion point goes to the start";

    const auto composed = details.Details.getText();
    details.setTitle("Router 7");
    details.AddMessage("host line\r\n");
    details.AddMessage("red", ui::Color(255, 0, 0), true, 12, true);
    EXPECT_EQ(details.Details.getText(), composed + "host line\r\nred") << "the title waits for the next refresh";
    EXPECT_EQ(details.Details.Runs().back().format,
              (ui::TextFormat{ui::Color(255, 0, 0), true, 12, true, "MS Sans Serif"}));
    details.Refresh();
    EXPECT_EQ(details.Details.getText(), "Router 7\r\n\r\n" + composed) << "messages go, the title comes";
}

TEST_F(DetailsTest, ItsMenuCopiesTheSelectionOrAllAsRichAndPlainTextAndPrints) {
    OIDDetails details(toolkit);
    details.setOID("1.3.6.1.2.1.1.1");
    details.Details.UserMouseDown(ui::RightButton, 0, 10, 10);
    ASSERT_EQ(toolkit.Popups().size(), 1u);
    EXPECT_EQ(toolkit.Popups()[0].menu, &details.RTFPopup);

    auto& clipboard = toolkit.clipboard();
    clipboard.SetText("stale", 7);
    details.RTFPopup.Choose("CopyPopup");
    EXPECT_FALSE(clipboard.GetFormat(7)) << "cleared first";
    EXPECT_EQ(clipboard.GetText(ui::ClipboardText), details.Details.getText());
    EXPECT_EQ(clipboard.GetText(ui::ClipboardRTF), details.getRTF());
    details.Details.setSelStart(5);  // after "MIB \t"
    details.Details.setSelLength(10);
    details.CopyToClipboard();
    EXPECT_EQ(clipboard.GetText(ui::ClipboardText), "SNMPv2-MIB");
    EXPECT_EQ(plain(clipboard.GetText(ui::ClipboardRTF)), "SNMPv2-MIB");

    toolkit.setPrinters({"Office"});
    details.RTFPopup.Choose("PrintPopup");
    ASSERT_EQ(toolkit.PrintJobs().size(), 1u);
    EXPECT_EQ(toolkit.PrintJobs()[0].Title, "SNMPv2-MIB:sysDescr");
    EXPECT_EQ(toolkit.PrintJobs()[0].Content, details.Details.getText());
}

TEST_F(DetailsTest, HooksOpenModelessDetailsWindowsOnTopAndMessageBoxes) {
    {
        ToolkitHooks hooks(toolkit);
        object("1.3.6.1.2.1.2.2.1.7.4").ShowOIDDetails();
        ShowMessage("Cannot open MIB Database (x)\r\rreason");
    }
    const auto windows = toolkit.OpenWindows();
    ASSERT_EQ(windows.size(), 1u);
    auto* form = dynamic_cast<OIDDetailsForm*>(windows[0]);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Details.getOID(), "1.3.6.1.2.1.2.2.1.7.4");
    EXPECT_EQ(form->Details.Details.getText().find("Value \t"), std::string::npos) << "no value lines";
    EXPECT_TRUE(form->getTopMost());
    EXPECT_FALSE(toolkit.WindowsShown()[0].modal);
    form->Move(0, 0, 8000, 5000);
    EXPECT_EQ(form->Details.getHeight(), 5000);
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt, "Cannot open MIB Database (x)\r\rreason");
    EXPECT_EQ(toolkit.Messages()[0].Buttons, ui::MsgBoxOKOnly);

    object("1.3.6.1.2.1.1.1").ShowOIDDetails();
    EXPECT_EQ(toolkit.OpenWindows().size(), 1u) << "the hooks are gone with their owner";
    form->Close();
    toolkit.DoEvents();
    EXPECT_EQ(toolkit.KeptWindowCount(), 0u) << "the window lived until closed";
}

TEST_F(DetailsTest, HooksBelongToTheirThreadAndANestedOwnerPutsBackTheOnesItReplaced) {
    ToolkitHooks outer(toolkit);
    ui::HeadlessToolkit inner;
    {
        ToolkitHooks hooks(inner);
        ShowMessage("inner");
        std::thread([] { ShowMessage("elsewhere"); }).join();  // no hook there: standard error
    }
    ShowMessage("outer");
    ASSERT_EQ(inner.Messages().size(), 1u);
    EXPECT_EQ(inner.Messages()[0].Prompt, "inner");
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt, "outer");
    object("1.3.6.1.2.1.1.1").ShowOIDDetails();
    EXPECT_EQ(toolkit.OpenWindows().size(), 1u);
}

}  // namespace
}  // namespace qlmib
