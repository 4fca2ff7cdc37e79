#include <gtest/gtest.h>

#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>
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

class OIDDetailsTest : public test::MibFixture {
protected:
    ui::HeadlessToolkit toolkit;
};

TEST_F(OIDDetailsTest, EachAssignmentRecomposesTheValueDetails) {
    OIDDetails details(toolkit);
    details.setOID("1.3.6.1.2.1.2.2.1.7.1");
    EXPECT_EQ(details.getOID(), "1.3.6.1.2.1.2.2.1.7.1");
    EXPECT_EQ(details.Details.getText().find("Value \t"), std::string::npos);
    details.setRawValue("2");
    EXPECT_NE(details.Details.getText().find("Status \tcurrent\r\nValue \t2\r\n\r\n\r\n"), std::string::npos)
        << "a raw value alone: one Value line and an empty line";
    details.setParsedValue("down(2)");
    EXPECT_NE(details.Details.getText().find("Value \t2\r\n  \tdown(2)\r\n\r\n"), std::string::npos);
    EXPECT_EQ(plain(details.getRTF()), details.Details.getText());
    EXPECT_EQ(details.Details.getSelStart(), 0) << "the insertion point goes to the start";
}

TEST_F(OIDDetailsTest, TheTitleWaitsForTheNextRefresh) {
    OIDDetails details(toolkit);
    details.setOID("1.3.6.1.2.1.1.1.0");
    const auto before = details.Details.getText();
    details.setTitle("Router 7");
    EXPECT_EQ(details.Details.getText(), before);
    details.Refresh();
    EXPECT_EQ(details.Details.getText(), "Router 7\r\n\r\n" + before);
}

TEST_F(OIDDetailsTest, AnUnknownOidShowsTheTitleAlone) {
    OIDDetails details(toolkit);
    details.setTitle("Title");
    details.setOID("2.999");
    details.setRawValue("x");
    EXPECT_EQ(details.Details.getText(), "Title\r\n\r\n");
    EXPECT_EQ(details.getOID(), "");
}

TEST_F(OIDDetailsTest, AddMessageAppendsInBlackRegularEightPointsUntilTheNextRefresh) {
    OIDDetails details(toolkit);
    details.setOID("1.3.6.1.2.1.1.1");
    const auto composed = details.Details.getText();
    details.AddMessage("host line\r\n");
    EXPECT_EQ(details.Details.getText(), composed + "host line\r\n");
    EXPECT_EQ(details.Details.Runs().back().format, (ui::TextFormat{ui::kBlack, false, 8, false, "MS Sans Serif"}));
    details.AddMessage("red", ui::Color(255, 0, 0), true, 12, true);
    EXPECT_EQ(details.Details.Runs().back().format, (ui::TextFormat{ui::Color(255, 0, 0), true, 12, true, "MS Sans Serif"}));
    details.Refresh();
    EXPECT_EQ(details.Details.getText(), composed);
}

TEST_F(OIDDetailsTest, CopyPutsRichAndPlainTextOnTheClipboard) {
    OIDDetails details(toolkit);
    details.setOID("1.3.6.1.2.1.1.1");
    auto& clipboard = toolkit.clipboard();
    clipboard.SetText("stale", 7);
    details.CopyToClipboard();
    EXPECT_FALSE(clipboard.GetFormat(7)) << "cleared first";
    EXPECT_EQ(clipboard.GetText(ui::ClipboardText), details.Details.getText());
    EXPECT_EQ(clipboard.GetText(ui::ClipboardRTF), details.getRTF());

    details.Details.setSelStart(5);  // after "MIB \t"
    details.Details.setSelLength(10);
    details.CopyToClipboard();
    EXPECT_EQ(clipboard.GetText(ui::ClipboardText), "SNMPv2-MIB");
    EXPECT_EQ(plain(clipboard.GetText(ui::ClipboardRTF)), "SNMPv2-MIB");
}

TEST_F(OIDDetailsTest, RightClickOpensTheMenuWhoseItemsCopyAndPrint) {
    OIDDetails details(toolkit);
    details.setOID("1.3.6.1.2.1.1.1");
    std::int16_t left = ui::LeftButton;
    details.Details.UserMouseDown(left, 0, 10, 10);
    EXPECT_TRUE(toolkit.Popups().empty());
    details.Details.UserMouseDown(ui::RightButton, 0, 10, 10);
    ASSERT_EQ(toolkit.Popups().size(), 1u);
    EXPECT_EQ(toolkit.Popups()[0].menu, &details.RTFPopup);
    ASSERT_EQ(details.RTFPopup.Count(), 2);
    EXPECT_EQ(details.RTFPopup.Entries()[0].Caption, "&Copy");
    EXPECT_EQ(details.RTFPopup.Entries()[1].Caption, "&Print ...");

    details.RTFPopup.Choose("CopyPopup");
    EXPECT_EQ(toolkit.clipboard().GetText(), details.Details.getText());

    toolkit.setPrinters({"Office"});
    toolkit.setMousePointer(ui::PointerArrow);
    details.RTFPopup.Choose("PrintPopup");
    ASSERT_EQ(toolkit.PrintJobs().size(), 1u);
    EXPECT_EQ(toolkit.PrintJobs()[0].Title, "SNMPv2-MIB:sysDescr");
    EXPECT_EQ(toolkit.PrintJobs()[0].Content, details.Details.getText());
    EXPECT_FALSE(toolkit.PrintJobs()[0].Preview);
    const auto& pointers = toolkit.PointerChanges();
    EXPECT_EQ(std::vector<std::int16_t>(pointers.end() - 2, pointers.end()),
              (std::vector<std::int16_t>{ui::PointerHourglass, ui::PointerArrow}));
}

TEST_F(OIDDetailsTest, TheDocumentFillsTheControl) {
    OIDDetails details(toolkit);
    details.Move(100, 200, 3000, 2000);
    ASSERT_EQ(details.Children().size(), 1u);
    const auto* pane = details.Children()[0];
    EXPECT_EQ(pane->Kind(), ui::WidgetKind::RichTextView);
    EXPECT_EQ(pane->getName(), "Details");
    EXPECT_EQ(std::tuple(pane->getLeft(), pane->getTop(), pane->getWidth(), pane->getHeight()),
              std::tuple(0, 0, 3000, 2000));
}

TEST_F(OIDDetailsTest, TheFormShowsModelessOnTopAndLivesUntilClosed) {
    auto& form = OIDDetailsForm::Open(toolkit);
    form.ShowOIDDetails("1.3.6.1.2.1.1.1.0");
    EXPECT_TRUE(form.getTopMost());
    EXPECT_TRUE(form.getVisible());
    ASSERT_EQ(toolkit.WindowsShown().size(), 1u);
    EXPECT_FALSE(toolkit.WindowsShown()[0].modal);
    EXPECT_EQ(form.Details.Details.getText().find("Value"), std::string::npos) << "no value lines";
    EXPECT_EQ(form.Details.getWidth(), form.getWidth());
    form.Move(0, 0, 8000, 5000);
    EXPECT_EQ(form.Details.getHeight(), 5000);
    EXPECT_EQ(toolkit.KeptWindowCount(), 1u);
    form.Close();
    toolkit.DoEvents();
    EXPECT_EQ(toolkit.KeptWindowCount(), 0u);
}

TEST_F(OIDDetailsTest, HooksOpenDetailsWindowsAndMessageBoxes) {
    {
        ToolkitHooks hooks(toolkit);
        OID o;
        o.setOID("1.3.6.1.2.1.2.2.1.7.4");
        o.ShowOIDDetails();
        ShowMessage("Cannot open MIB Database (x)\r\rreason");
    }
    const auto windows = toolkit.OpenWindows();
    ASSERT_EQ(windows.size(), 1u);
    const auto* form = dynamic_cast<const OIDDetailsForm*>(windows[0]);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Details.getOID(), "1.3.6.1.2.1.2.2.1.7.4");
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt, "Cannot open MIB Database (x)\r\rreason");
    EXPECT_EQ(toolkit.Messages()[0].Buttons, ui::MsgBoxOKOnly);

    OID after;
    after.setOID("1.3.6.1.2.1.1.1");
    after.ShowOIDDetails();
    EXPECT_EQ(toolkit.OpenWindows().size(), 1u) << "the hooks are gone with their owner";
}

}  // namespace
}  // namespace qlmib
