#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include <qlmib/common/Error.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/ImageList.h>
#include <qlmib/ui/ListBox.h>
#include <qlmib/ui/Menu.h>
#include <qlmib/ui/Splitter.h>
#include <qlmib/ui/TabStrip.h>
#include <qlmib/ui/Window.h>

namespace qlmib::ui {
namespace {

auto ThrowsError(long number) {
    return testing::Throws<Error>(testing::ResultOf([](const Error& e) { return e.Number(); }, number));
}

TEST(Splitter, TheFirstPaneTakesUpResizesAndNeighboursShareABarMove) {
    Widget tree, details;
    Splitter splitter;
    splitter.AddPane("Tree", &tree);
    splitter.AddPane("Details", &details, 1900);
    EXPECT_EQ(splitter.getPaneSize("Details"), 1900) << "kept until the splitter has a size";
    int resized = 0;
    auto s = splitter.PanesResized.subscribe([&] { ++resized; });

    splitter.Move(120, 120, 5000, 6000);
    EXPECT_EQ(splitter.getPaneSize("Tree"), 6000 - 1900 - Splitter::kBarSize);
    EXPECT_EQ(std::pair(details.getTop(), details.getWidth()), std::pair(6000 - 1900, 5000));
    splitter.setPaneSize("Details", 35);
    EXPECT_EQ(tree.getHeight(), 6000 - 35 - Splitter::kBarSize);
    splitter.setPaneSize("Details", 99999);
    EXPECT_EQ(splitter.getPaneSize("Tree"), 0) << "a pane cannot grow past its neighbour";

    splitter.setHeight(1000);
    EXPECT_EQ(splitter.getPaneSize("Tree"), 0);
    EXPECT_EQ(splitter.getPaneSize("Details"), 1000 - Splitter::kBarSize) << "shrinks past an empty first pane";
    EXPECT_EQ(resized, 4);
    EXPECT_THROW(splitter.setPaneSize("Nope", 1), Error);
}

TEST(Window, LoadOnceQueryUnloadMayRefuseClosing) {
    HeadlessToolkit toolkit;
    Window window(toolkit, "Form");
    int loads = 0, unloads = 0;
    bool refuse = true;
    auto s1 = window.Load.subscribe([&] { ++loads; });
    auto s2 = window.QueryUnload.subscribe([&](bool& cancel) { cancel = refuse; });
    auto s3 = window.Unload.subscribe([&] { ++unloads; });
    window.Show(), window.Show();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(toolkit.OpenWindows(), std::vector<Window*>{&window});
    EXPECT_FALSE(window.Close());
    EXPECT_TRUE(window.getVisible());
    refuse = false;
    EXPECT_TRUE(window.Close());
    EXPECT_FALSE(window.getVisible() || !toolkit.OpenWindows().empty());
    EXPECT_EQ(unloads, 1);
    window.Show(true);
    EXPECT_EQ(loads, 2) << "a closed window loads again";
    EXPECT_TRUE(toolkit.WindowsShown().back().modal);
}

TEST(Window, AKeptWindowLivesUntilItIsClosedAndTheLoopRuns) {
    HeadlessToolkit toolkit;
    struct Form {
        explicit Form(Toolkit& t) : window(t) {}
        Window window;
    };
    auto form = std::make_shared<Form>(toolkit);
    std::weak_ptr<Form> watch = form;
    form->window.Show();
    toolkit.KeepUntilClosed(form->window, form);
    form.reset();
    ASSERT_FALSE(watch.expired());
    watch.lock()->window.Close();
    EXPECT_FALSE(watch.expired()) << "not from inside its own Unload";
    toolkit.DoEvents();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(toolkit.KeptWindowCount(), 0u);
}

TEST(HeadlessToolkit, MessageBoxesAreRecordedAnsweredWithTheDefaultButtonOrAQueuedAnswerAndEchoed) {
    struct Case {
        std::int32_t buttons, answer;
    };
    const Case cases[] = {
        {MsgBoxOKOnly | MsgBoxExclamation, MsgBoxResultOK},
        {MsgBoxOKCancel | MsgBoxDefaultButton2, MsgBoxResultCancel},
        {MsgBoxYesNo | MsgBoxQuestion, MsgBoxResultYes},
        {MsgBoxYesNoCancel | MsgBoxDefaultButton3, MsgBoxResultCancel},
        {MsgBoxAbortRetryIgnore | MsgBoxDefaultButton2, MsgBoxResultRetry},
        {MsgBoxRetryCancel | MsgBoxCritical, MsgBoxResultRetry},
    };
    HeadlessToolkit toolkit;
    for (const auto& c : cases) EXPECT_EQ(toolkit.MsgBox("?", c.buttons), c.answer) << c.buttons;
    toolkit.QueueAnswer(MsgBoxResultNo);
    EXPECT_EQ(toolkit.MsgBox("Delete?", MsgBoxYesNo, "Title"), MsgBoxResultNo);
    EXPECT_EQ(toolkit.Messages().back().Title, "Title");
    EXPECT_EQ(toolkit.Messages().front().Title, toolkit.getAppTitle()) << "the default title";
    EXPECT_EQ(toolkit.Messages().size(), 7u);

    std::ostringstream out;
    toolkit.EchoMessagesTo(&out);
    toolkit.MsgBox("Cannot open\r\rbecause\r\nof this");
    EXPECT_EQ(out.str(), "Cannot open\n\nbecause\nof this\n");
}

TEST(HeadlessToolkit, ClipboardKeepsFormatsSideBySideUntilCleared) {
    HeadlessToolkit toolkit;
    auto& clip = toolkit.clipboard();
    clip.SetText("{\\rtf1 x}", ClipboardRTF);
    clip.SetText("x"), clip.SetText("y");
    EXPECT_EQ(clip.GetText(ClipboardRTF) + "|" + clip.GetText(), "{\\rtf1 x}|y");
    clip.Clear();
    EXPECT_FALSE(clip.GetFormat(ClipboardText) || clip.GetFormat(ClipboardRTF));
}

TEST(HeadlessToolkit, BusyPointerRestoresWhatItFound) {
    HeadlessToolkit toolkit;
    toolkit.setMousePointer(PointerArrow);
    {
        BusyPointer outer(toolkit);
        BusyPointer inner(toolkit);
        EXPECT_EQ(toolkit.getMousePointer(), PointerHourglass);
    }
    EXPECT_EQ(toolkit.getMousePointer(), PointerArrow);
    EXPECT_EQ(toolkit.PointerChanges(),
              (std::vector<std::int16_t>{PointerArrow, PointerHourglass, PointerHourglass, PointerHourglass,
                                         PointerArrow}));
}

TEST(Menu, ChoosingRaisesClickForVisibleEnabledEntriesOnly) {
    Menu menu("RTFPopup");
    menu.Add("&Copy", "Copy");
    const auto print = menu.Add("&Print ...", "Print", "printer", true);
    std::vector<std::string> clicked;
    auto s = menu.Click.subscribe([&](const std::string& key) { clicked.push_back(key); });
    EXPECT_TRUE(menu.Choose("Print"));
    menu.Entry(print).Enabled = false;
    EXPECT_FALSE(menu.Choose("Print"));
    EXPECT_FALSE(menu.Choose("Missing"));
    EXPECT_TRUE(menu.Choose("Copy"));
    EXPECT_EQ(clicked, (std::vector<std::string>{"Print", "Copy"}));
}

TEST(ImageList, KeysAreUniqueAndMissingOnesAreErrors) {
    ImageList images;
    images.Add("leaf", Picture::Stock("leaf"));
    images.Add("1.3.6.1.4.1.9", Picture::FromBytes("\x89PNG"));
    EXPECT_THAT([&] { images.Add("leaf", Picture::Stock("other")); }, ThrowsError(ERR_KEY_NOT_UNIQUE));
    EXPECT_EQ(images.Item("leaf").StockName, "leaf");
    images.Remove("leaf");
    EXPECT_EQ(images.Keys(), std::vector<std::string>{"1.3.6.1.4.1.9"});
    EXPECT_THAT([&] { (void)images.Item("leaf"); }, ThrowsError(ERR_ELEMENT_NOT_FOUND));
}

TEST(ListAndTabs, ClickOnlyWhenTheCurrentItemChanges) {
    ListBox list;
    int clicks = 0;
    auto s1 = list.Click.subscribe([&] { ++clicks; });
    list.AddItem("IF-MIB\tifIndex\t1.3.6.1.2.1.2.2.1.1");
    list.AddItem("second");
    for (int i : {0, 0, 1}) list.setListIndex(i);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.getText(), "second");
    list.RemoveItem(1);
    EXPECT_EQ(list.getListIndex(), 0);
    list.Clear();
    EXPECT_EQ(list.getText(), "");

    TabStrip tabs;
    tabs.AddTab("Search by OID");
    tabs.AddTab("Search by Name");
    std::vector<std::int32_t> previous;
    auto s2 = tabs.Click.subscribe([&](std::int32_t p) { previous.push_back(p); });
    for (int i : {1, 1, 0}) tabs.setTab(i);
    EXPECT_EQ(previous, (std::vector<std::int32_t>{0, 1}));
    EXPECT_THROW(tabs.setTab(2), Error);
}

}  // namespace
}  // namespace qlmib::ui
