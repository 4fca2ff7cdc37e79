// The Qt toolkit's services with real Qt objects: message boxes, the busy
// pointer, the clipboard, pop-up menus, dragging, windows that may refuse
// to close, font metrics and printing to PDF and preview.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QBuffer>
#include <QPushButton>
#include <QClipboard>
#include <QDrag>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <qlmib/export/ExportEngine.h>
#include <qlmib/ui/GridModel.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/ImageList.h>
#include <qlmib/ui/Menu.h>
#include <qlmib/ui/RichTextDocument.h>
#include <qlmib/ui/Window.h>
#include <qlmib/ui/qt/QtToolkit.h>

#include "QtTestSupport.h"

namespace qlmib::ui::qt {
namespace {

using test::WhenShown;

class QtToolkitTest : public ::testing::Test {
protected:
    QtToolkit toolkit;
};

struct MessageCase {
    std::int32_t buttons;
    QList<QMessageBox::StandardButton> shown;
    QMessageBox::StandardButton byDefault;
    QMessageBox::Icon icon;
};

TEST_F(QtToolkitTest, MessageBoxShowsTheButtonSetIconAndDefaultAndAnswersTheButtonPressed) {
    using B = QMessageBox;
    const MessageCase cases[] = {
        {MsgBoxOKOnly, {B::Ok}, B::Ok, B::NoIcon},
        {MsgBoxOKCancel | MsgBoxDefaultButton2 | MsgBoxQuestion, {B::Ok, B::Cancel}, B::Cancel, B::Question},
        {MsgBoxAbortRetryIgnore | MsgBoxDefaultButton3 | MsgBoxCritical, {B::Abort, B::Retry, B::Ignore}, B::Ignore,
         B::Critical},
        {MsgBoxYesNoCancel | MsgBoxExclamation, {B::Yes, B::No, B::Cancel}, B::Yes, B::Warning},
        {MsgBoxYesNo | MsgBoxDefaultButton2 | MsgBoxInformation, {B::Yes, B::No}, B::No, B::Information},
        {MsgBoxRetryCancel | MsgBoxDefaultButton3, {B::Retry, B::Cancel}, B::Cancel, B::NoIcon},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buttons);
        // Enter answers with the default button.
        QList<QMessageBox::StandardButton> shown;
        WhenShown([&](QWidget& widget) {
            auto* box = qobject_cast<QMessageBox*>(&widget);
            ASSERT_NE(box, nullptr);
            for (auto* button : box->buttons()) shown.append(box->standardButton(button));
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->text(), QStringLiteral("First line\nsecond line"));
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Probe"));
            EXPECT_EQ(box->defaultButton(), box->button(c.byDefault));
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(toolkit.MsgBox("First line\r\nsecond line", c.buttons, "Probe"), DefaultMsgBoxAnswer(c.buttons));
        std::sort(shown.begin(), shown.end());
        auto expected = c.shown;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown, expected);
        // A click on the last button answers with that button.
        WhenShown([&](QWidget& widget) {
            auto* box = static_cast<QMessageBox*>(&widget);
            QTest::mouseClick(box->button(c.shown.back()), Qt::LeftButton);
        });
        const std::int32_t answer = toolkit.MsgBox("Again", c.buttons);
        const std::int32_t expectedAnswer = c.shown.back() == B::Ok       ? MsgBoxResultOK
                                            : c.shown.back() == B::Cancel ? MsgBoxResultCancel
                                            : c.shown.back() == B::Ignore ? MsgBoxResultIgnore
                                                                          : MsgBoxResultNo;
        EXPECT_EQ(answer, expectedAnswer);
    }
}

TEST_F(QtToolkitTest, EscapeAnswersCancelAndAnEmptyTitleIsTheApplicationsTitle) {
    toolkit.setAppTitle("Browser");
    QString title;
    WhenShown([&](QWidget& box) {
        title = box.windowTitle();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(toolkit.MsgBox("Sure?", MsgBoxYesNoCancel), MsgBoxResultCancel);
    EXPECT_EQ(title, QStringLiteral("Browser"));
}

TEST_F(QtToolkitTest, BusyPointerOverridesTheCursorAndRestoresExactlyWhatItFound) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        BusyPointer busy(toolkit);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    toolkit.setMousePointer(PointerIbeam);
    {
        BusyPointer outer(toolkit);
        BusyPointer inner(toolkit);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::IBeamCursor);
    EXPECT_EQ(toolkit.getMousePointer(), PointerIbeam);
    toolkit.setMousePointer(PointerDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "one override pushed, one restored";
}

TEST_F(QtToolkitTest, ClipboardKeepsFormatsSideBySideUntilCleared) {
    auto& clipboard = toolkit.clipboard();
    clipboard.Clear();
    clipboard.SetText("plain \xC3\xA9", ClipboardText);
    clipboard.SetText("{\\rtf1 rich}", ClipboardRTF);
    EXPECT_EQ(clipboard.GetText(ClipboardText), "plain \xC3\xA9");
    EXPECT_EQ(clipboard.GetText(ClipboardRTF), "{\\rtf1 rich}");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(data->data("text/rtf"), QByteArray("{\\rtf1 rich}"));
    EXPECT_EQ(data->text(), QString::fromUtf8("plain \xC3\xA9"));
    clipboard.SetText("other", ClipboardText);
    EXPECT_EQ(clipboard.GetText(ClipboardRTF), "{\\rtf1 rich}");
    clipboard.Clear();
    EXPECT_FALSE(clipboard.GetFormat(ClipboardText));
    EXPECT_FALSE(clipboard.GetFormat(ClipboardRTF));
}

TEST_F(QtToolkitTest, PopupMenuShowsTheEntriesAndAClickRaisesTheChosenEntrysClick) {
    Menu menu("Popup");
    menu.Add("&Copy", "copy");
    menu.Add("&Print ...", "print", {}, true);
    menu.Entry(menu.Add("Hidden", "hidden")).Visible = false;
    menu.Entry(menu.Add("Off", "off")).Enabled = false;
    std::vector<std::string> clicks;
    auto sub = menu.Click.subscribe([&](const std::string& key) { clicks.push_back(key); });
    QStringList captions;
    WhenShown(
        [&](QWidget& widget) {
            auto* popup = qobject_cast<QMenu*>(&widget);
            ASSERT_NE(popup, nullptr);
            QAction* print = nullptr;
            for (QAction* action : popup->actions()) {
                captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
                if (action->text() == QStringLiteral("&Print ...")) print = action;
                if (action->text() == QStringLiteral("Off")) EXPECT_FALSE(action->isEnabled());
            }
            ASSERT_NE(print, nullptr);
            QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(print).center());
        },
        true);
    toolkit.PopupMenu(menu, 1500, 1500);
    EXPECT_EQ(captions, (QStringList{"&Copy", "-", "&Print ...", "Off"}));
    EXPECT_EQ(clicks, (std::vector<std::string>{"print"}));

    // Dismissing the menu chooses nothing.
    WhenShown([](QWidget& popup) { QTest::keyClick(&popup, Qt::Key_Escape); }, true);
    toolkit.PopupMenu(menu);
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(QtToolkitTest, DragCarriesTheTextWithTheCustomPointerAndOffersCopy) {
    Window source(toolkit, "Source");
    source.Show();
    QWidget* frame = toolkit.windowOf(source);
    ASSERT_NE(frame, nullptr);
    // Offscreen, a drag ends at once without a drop; the QDrag stays until the loop runs.
    EXPECT_EQ(toolkit.StartDrag(source, {"1.3.6.1.2.1.1", DropEffectCopy, PointerCustom}), DropEffectNone);
    auto* drag = frame->findChild<QDrag*>();
    ASSERT_NE(drag, nullptr) << "the drag starts from the source's view";
    EXPECT_EQ(drag->mimeData()->text(), QStringLiteral("1.3.6.1.2.1.1"));
    EXPECT_FALSE(drag->dragCursor(Qt::CopyAction).isNull()) << "the custom pointer";
    EXPECT_EQ(drag->supportedActions(), Qt::DropActions(Qt::CopyAction));
}

TEST_F(QtToolkitTest, ClosingAWindowAsksQueryUnloadWhichMayRefuse) {
    Window window(toolkit, "Probe");
    window.setCaption("Probe window");
    bool refuse = true;
    int loads = 0, unloads = 0;
    auto subs = std::make_tuple(window.QueryUnload.subscribe([&](bool& cancel) { cancel = refuse; }),
                                window.Load.subscribe([&] { ++loads; }), window.Unload.subscribe([&] { ++unloads; }));
    window.Show();
    QWidget* frame = toolkit.windowOf(window);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Probe window"));
    window.setTopMost(true);
    EXPECT_TRUE(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(frame->isVisible());

    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(window.getVisible());
    EXPECT_EQ(unloads, 0);

    refuse = false;
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(window.getVisible());
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(unloads, 1);
}

TEST_F(QtToolkitTest, ModalShowReturnsWhenTheWindowIsClosed) {
    Window window(toolkit, "Modal");
    WhenShown([](QWidget& frame) { frame.close(); });
    window.Show(true);
    EXPECT_FALSE(window.getVisible());
    EXPECT_EQ(toolkit.windowOf(window)->windowModality(), Qt::ApplicationModal);
}

TEST_F(QtToolkitTest, FontMetricsMeasureWithTheRealFont) {
    const auto& metrics = toolkit.fontMetrics();
    const Font regular{"Arial", 10, false}, bold{"Arial", 10, true}, large{"Arial", 20, false};
    const auto one = metrics.TextWidth("Wide text", regular);
    const auto two = metrics.TextWidth("Wide textWide text", regular);
    EXPECT_GT(one, 0);
    EXPECT_NEAR(two, 2 * one, 30) << "one pixel of rounding either way";
    EXPECT_GT(metrics.TextWidth("Wide text", bold), one);
    EXPECT_GT(metrics.TextWidth("Wide text", large), one * 3 / 2);
    EXPECT_GT(metrics.TextHeight(large), metrics.TextHeight(regular));
    EXPECT_LT(metrics.TextWidth("iii", regular), metrics.TextWidth("WWW", regular)) << "not a fixed pitch";
}

class QtPrintTest : public QtToolkitTest {
protected:
    PrintJob job(const std::string& file = {}) {
        PrintJob j;
        j.Title = "Interfaces";
        j.SubTitle = "agent 127.0.0.1";
        j.Paragraph = "All rows.";
        j.Footer = "printed by the tests";
        j.PdfFile = file;
        return j;
    }
    QTemporaryDir folder;
};

TEST_F(QtPrintTest, PdfOfADocumentATableAndAPictureAndPrintersFromQt) {
    ASSERT_TRUE(toolkit.CanWritePdf());
    RichTextDocument document;
    for (int i = 0; i < 200; ++i) document.AddMessage("Line of the document\r\n", Color(0, 0, 200), i % 2 == 0, 10);
    GridModel table;
    table.setCols(3);
    table.setRows(120);
    table.setFixedRows(1);
    for (std::int32_t r = 0; r < table.getRows(); ++r)
        for (std::int32_t c = 0; c < 3; ++c) table.setTextMatrix(r, c, "cell " + std::to_string(r * 3 + c));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    image.save(&buffer, "PNG");
    const Picture picture = Picture::FromBytes(png.toStdString());

    std::vector<qint64> sizes;
    for (int kind = 0; kind < 3; ++kind) {
        const std::string path = folder.filePath(QStringLiteral("job%1.pdf").arg(kind)).toStdString();
        auto j = job(path);
        if (kind == 0) j.Document = &document;
        if (kind == 1) j.Table = &table;
        if (kind == 2) j.Image = &picture;
        ASSERT_TRUE(toolkit.Print(j)) << kind;
        QFile pdf(QString::fromStdString(path));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << kind;
        const QByteArray bytes = pdf.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF")) << kind;
        // Several pages for the long document and table, one for the picture.
        const auto pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page ");
        if (kind < 2) EXPECT_GT(pages, 1) << kind;
        else EXPECT_EQ(pages, 1);
    }

    std::vector<std::string> names;
    for (const auto& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
    EXPECT_EQ(toolkit.Printers(), names);
}

TEST_F(QtPrintTest, PreviewShowsThePagesOfTheJob) {
    RichTextDocument document;
    for (int i = 0; i < 150; ++i) document.AddMessage("Previewed line\r\n");
    auto j = job();
    j.Document = &document;
    j.Preview = true;
    int pages = 0;
    WhenShown([&](QWidget& dialog) {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        pages = preview->pageCount();
        dialog.close();
    });
    EXPECT_TRUE(toolkit.Print(j));
    EXPECT_GT(pages, 1);
}

bool offersPdf(const MethodList& methods) {
    return std::any_of(methods.begin(), methods.end(), [](const ExportMethod& m) { return m.Key == "PDF"; });
}

TEST_F(QtPrintTest, ExportEngineWritesPdfThroughTheToolkitsRendererWhereOneDraws) {
    HeadlessToolkit headless;
    EXPECT_FALSE(offersPdf(ExportEngine(headless).ExportMethods(0)));
    ExportEngine engine(toolkit);
    for (long type : {0L, 1L, 2L}) EXPECT_TRUE(offersPdf(engine.ExportMethods(type))) << type;

    GridModel table;
    table.setCols(2);
    table.setRows(3);
    table.setFixedRows(1);
    table.setTextMatrix(1, 0, "ifDescr");
    engine.setTitle("Interfaces");
    engine.setTargetFilename(folder.filePath(QStringLiteral("table")).toStdString());
    ASSERT_TRUE(engine.ExportTable(table, "PDF"));
    EXPECT_EQ(engine.getTargetFilename(), folder.filePath(QStringLiteral("table.pdf")).toStdString());
    QFile pdf(folder.filePath(QStringLiteral("table.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));

    engine.setTargetFilename(folder.filePath(QStringLiteral("missing/table.pdf")).toStdString());
    EXPECT_FALSE(engine.ExportRTF("{\\rtf1 text}", "PDF")) << "the folder does not exist";
}

}  // namespace
}  // namespace qlmib::ui::qt
