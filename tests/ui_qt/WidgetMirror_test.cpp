// The mirror of a widget tree as real QWidgets: model changes reach the
// views, user input on the views reaches the models' events, splitter pane
// sizes go both ways in twips, and rich text copies as RTF and plain text.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest/QTest>
#include <QScrollBar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <qlmib/ui/Button.h>
#include <qlmib/ui/Label.h>
#include <qlmib/ui/ListBox.h>
#include <qlmib/ui/Panel.h>
#include <qlmib/ui/RichTextView.h>
#include <qlmib/ui/Splitter.h>
#include <qlmib/ui/TabStrip.h>
#include <qlmib/ui/TextBox.h>
#include <qlmib/ui/qt/Conversions.h>
#include <qlmib/ui/qt/QtToolkit.h>

namespace qlmib::ui::qt {
namespace {

// Pixels of the offscreen screen: 96 dots per inch, 15 twips each.
constexpr int kTwipsPerPixel = 15;

class WidgetMirrorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ToTwips(1), kTwipsPerPixel);
        for (Widget* child : std::initializer_list<Widget*>{&caption, &button, &text, &list, &tabs, &split, &rich})
            child->setParent(&root);
        caption.Move(0, 0, 3000, 300);
        button.Move(3000, 0, 1500, 450);
        text.Move(0, 600, 3000, 300);
        list.Move(0, 1000, 3000, 1500);
        tabs.Move(3000, 1000, 3000, 450);
        split.Move(0, 2600, 4500, 3000);
        split.AddPane("A", &top, 1200);
        split.AddPane("B", &bottom, 1740);
        rich.Move(4500, 2600, 3000, 3000);
        host.resize(600, 400);
        placed = place(root, toolkit, &host);
        host.show();
        QCoreApplication::processEvents();
    }

    template <class T>
    T* view(const Widget& model) {
        return dynamic_cast<T*>(toolkit.viewOf(model));
    }

    QtToolkit toolkit;
    QWidget host;
    Widget root{WidgetKind::Container, "Root"};
    Label caption{"Caption"};
    Button button{"Button"};
    TextBox text{"Text"};
    ListBox list{"List"};
    TabStrip tabs{"Tabs"};
    Splitter split{"Split"};
    Panel top{"Top"}, bottom{"Bottom"};
    RichTextDocument document;
    RichTextView rich{document, "Rich"};
    QWidget* placed = nullptr;
};

TEST_F(WidgetMirrorTest, ViewsFollowTheModelsAndTheHostSizesTheRoot) {
    EXPECT_EQ(placed->geometry(), host.rect()) << "the placed control fills its parent";
    EXPECT_EQ(root.getWidth(), 600 * kTwipsPerPixel);
    host.resize(700, 500);
    EXPECT_EQ(root.getHeight(), 500 * kTwipsPerPixel);

    auto* label = view<QLabel>(caption);
    ASSERT_NE(label, nullptr);
    caption.setCaption("Agent \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(label->text(), QString::fromUtf8("Agent \xC3\xA9t\xC3\xA9"));
    caption.Move(150, 300, 1500, 450);
    EXPECT_EQ(label->geometry(), QRect(10, 20, 100, 30));
    caption.setVisible(false);
    EXPECT_FALSE(label->isVisible());
    caption.setEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    caption.setMousePointer(PointerHourglass);
    EXPECT_EQ(label->cursor().shape(), Qt::WaitCursor);

    // A widget added after placing gets a view; one that goes takes its view along.
    auto late = std::make_unique<Button>("Late");
    late->setCaption("Late");
    late->setParent(&root);
    QPointer<QPushButton> lateView = view<QPushButton>(*late);
    ASSERT_NE(lateView, nullptr);
    EXPECT_EQ(lateView->text(), QStringLiteral("Late"));
    late.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(lateView.isNull());

    list.AddItem("one");
    list.AddItem("two");
    list.setListIndex(1);
    auto* items = view<QListWidget>(list);
    ASSERT_EQ(items->count(), 2);
    EXPECT_EQ(items->currentRow(), 1);
    text.setText("typed by code");
    EXPECT_EQ(view<QLineEdit>(text)->text(), QStringLiteral("typed by code"));
    text.setLocked(true);
    EXPECT_TRUE(view<QLineEdit>(text)->isReadOnly());
}

// The rows always read as the model's lines, whatever changed; a line added
// at the end leaves the shown rows alone (their items and the scroll position).
TEST_F(WidgetMirrorTest, ListRowsFollowEveryChangeAndAnAppendKeepsTheShownRows) {
    auto* items = view<QListWidget>(list);
    ASSERT_NE(items, nullptr);
    const auto rows = [items] {
        std::vector<std::string> texts;
        for (int i = 0; i < items->count(); ++i) texts.push_back(items->item(i)->text().toStdString());
        return texts;
    };
    const auto lines = [this] {
        std::vector<std::string> texts;
        for (int i = 0; i < list.getListCount(); ++i) texts.push_back(list.getList(i));
        return texts;
    };
    for (int i = 0; i < 60; ++i) list.AddItem("line " + std::to_string(i));
    const struct {
        const char* change;
        std::function<void()> apply;
    } changes[] = {
        {"remove in the middle", [this] { list.RemoveItem(30); }},
        {"remove the first", [this] { list.RemoveItem(0); }},
        {"remove the last", [this] { list.RemoveItem(list.getListCount() - 1); }},
        {"clear", [this] { list.Clear(); }},
        {"add after a clear", [this] { list.AddItem("again"); }},
        {"add a twin", [this] { list.AddItem("again"); }},
    };
    EXPECT_EQ(rows(), lines()) << "filled";
    for (const auto& step : changes) {
        step.apply();
        EXPECT_EQ(rows(), lines()) << step.change;
    }

    for (int i = 0; i < 60; ++i) list.AddItem("row " + std::to_string(i));
    QCoreApplication::processEvents();
    items->verticalScrollBar()->setValue(20);
    QListWidgetItem* first = items->item(0);
    list.AddItem("appended");
    EXPECT_EQ(items->item(0), first) << "the shown rows are not rebuilt";
    EXPECT_EQ(items->verticalScrollBar()->value(), 20);
    EXPECT_EQ(rows(), lines());
}

TEST_F(WidgetMirrorTest, UserInputRaisesTheModelsEvents) {
    int clicks = 0;
    auto pressed = button.Click.subscribe([&] { ++clicks; });
    button.setCaption("Go");
    QTest::mouseClick(view<QPushButton>(button), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    button.setEnabled(false);
    QTest::mouseClick(view<QPushButton>(button), Qt::LeftButton);
    EXPECT_EQ(clicks, 1) << "a disabled button takes no click";

    // KeyPress may swallow a key or type another one.
    auto keys = text.KeyPress.subscribe([](std::int16_t& key) {
        if (key == 'x') key = 0;
        if (key == 'a') key = 'A';
    });
    int changes = 0;
    auto changed = text.Change.subscribe([&] { ++changes; });
    QTest::keyClicks(view<QLineEdit>(text), "xab");
    EXPECT_EQ(text.getText(), "Ab");
    EXPECT_EQ(changes, 2);

    list.AddItem("first");
    list.AddItem("second");
    int listClicks = 0, doubleClicks = 0;
    auto listSubs = std::make_pair(list.Click.subscribe([&] { ++listClicks; }),
                                   list.DblClick.subscribe([&] { ++doubleClicks; }));
    auto* items = view<QListWidget>(list);
    const QPoint second = items->visualItemRect(items->item(1)).center();
    QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(list.getListIndex(), 1);
    EXPECT_EQ(listClicks, 1);
    QTest::mouseDClick(items->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(doubleClicks, 1);

    tabs.AddTab("Find");
    tabs.AddTab("Options");
    std::vector<std::int32_t> previous;
    auto tabClick = tabs.Click.subscribe([&](std::int32_t tab) { previous.push_back(tab); });
    auto* bar = view<QTabBar>(tabs);
    ASSERT_EQ(bar->count(), 2);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(tabs.getTab(), 1);
    EXPECT_EQ(previous, std::vector<std::int32_t>{0});
}

TEST_F(WidgetMirrorTest, SplitterPaneSizesGoBothWaysInTwips) {
    auto* splitter = view<QSplitter>(split);
    ASSERT_NE(splitter, nullptr);
    ASSERT_EQ(splitter->count(), 2);
    EXPECT_EQ(splitter->sizes(), (QList<int>{80, 116}));
    EXPECT_EQ(splitter->handleWidth(), Splitter::kBarSize / kTwipsPerPixel);

    split.setPaneSize("A", 1500);
    EXPECT_EQ(splitter->sizes(), (QList<int>{100, 96}));

    int resized = 0;
    auto sub = split.PanesResized.subscribe([&] { ++resized; });
    QWidget* handle = splitter->handle(1);
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(0, 30));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(0, 30));
    EXPECT_GT(resized, 0);
    EXPECT_EQ(splitter->sizes().front(), 130);
    EXPECT_EQ(split.getPaneSize("A"), 130 * kTwipsPerPixel);
    EXPECT_EQ(split.getPaneSize("B"), 2940 - 130 * kTwipsPerPixel);
}

TEST_F(WidgetMirrorTest, RichTextShowsTheRunsAndCtrlCCopiesRtfAndTextTogether) {
    document.AddMessage("Name: ", kBlack, true, 10);
    document.AddMessage("sysDescr\r\n", Color(0, 0, 255), false, 8, true);
    document.AddMessage("Second line");
    auto* edit = view<QTextEdit>(rich);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("Name: sysDescr\nSecond line"));
    QTextCursor probe(edit->document());
    probe.setPosition(1);
    EXPECT_TRUE(probe.charFormat().font().bold());
    EXPECT_EQ(probe.charFormat().font().pointSize(), 10);
    probe.setPosition(8);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(0, 0, 255));
    EXPECT_TRUE(probe.charFormat().font().underline());

    // The model's selection, past the CR LF, shows in the view, and back.
    document.setSelStart(16);
    document.setSelLength(6);
    EXPECT_EQ(edit->textCursor().selectedText(), QStringLiteral("Second"));
    QTextCursor select(edit->document());
    select.setPosition(6);
    select.setPosition(14, QTextCursor::KeepAnchor);
    edit->setTextCursor(select);
    EXPECT_EQ(document.getSelStart(), 6);
    EXPECT_EQ(document.getSelText(), "sysDescr");

    auto& clipboard = toolkit.clipboard();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.GetText(ClipboardRTF), document.getSelRTF());
    EXPECT_EQ(clipboard.GetText(ClipboardText), "sysDescr");
    EXPECT_NE(QGuiApplication::clipboard()->mimeData()->data("text/rtf").indexOf("\\ul"), -1);

    // Handlers may swallow Ctrl+C.
    auto swallow = document.KeyPress.subscribe([](std::int16_t& key) { key = 0; });
    clipboard.Clear();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(clipboard.GetFormat(ClipboardText));
}

TEST_F(WidgetMirrorTest, RightClickOnRichTextRaisesMouseDownInTwips) {
    std::vector<std::int16_t> buttons;
    float x = -1, y = -1;
    auto sub = document.MouseDown.subscribe([&](std::int16_t& button, std::int16_t&, float& atX, float& atY) {
        buttons.push_back(button);
        x = atX, y = atY;
    });
    auto* edit = view<QTextEdit>(rich);
    QTest::mouseClick(edit->viewport(), Qt::RightButton, {}, QPoint(10, 20));
    ASSERT_EQ(buttons, std::vector<std::int16_t>{RightButton});
    EXPECT_EQ(x, 10 * kTwipsPerPixel);
    EXPECT_EQ(y, 20 * kTwipsPerPixel);
}

}  // namespace
}  // namespace qlmib::ui::qt
