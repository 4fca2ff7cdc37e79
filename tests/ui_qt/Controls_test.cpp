// The library's controls and windows placed in real QWidgets: each one is
// shown and photographed (PNG files in the build folder), a search runs
// from typing and clicks, the details menu copies through a real pop-up, and
// a walk of the loopback agent streams into a MIBBrowser while Qt's loop
// keeps running.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <set>

#include <qlmib/mibx/MIBXTree.h>
#include <qlmib/mibx/ManageMIBs.h>
#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/snmp/MIBTable.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/OIDDetails.h>
#include <qlmib/tree/OIDDetailsForm.h>
#include <qlmib/tree/SearchMIBTreeForm.h>
#include <qlmib/tree/SingleMIBTree.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/qt/Conversions.h>
#include <qlmib/ui/qt/QtToolkit.h>

#include "MibFixture.h"
#include "QtTestSupport.h"
#include "SnmpAgent.h"

namespace qlmib::test {
namespace {

using ui::qt::QtToolkit;

class ControlsTest : public MibFixture {
protected:
    void SetUp() override {
        MibFixture::SetUp();
        host.resize(640, 480);
        host.show();
    }

    QWidget* show(ui::Widget& control) {
        QWidget* view = ui::qt::place(control, toolkit, &host);
        QCoreApplication::processEvents();
        return view;
    }

    // Every model widget below `model` has a view.
    void expectViews(const ui::Widget& model) {
        EXPECT_NE(toolkit.viewOf(model), nullptr) << model.getName();
        for (const ui::Widget* child : model.Children()) expectViews(*child);
    }

    // Saves the picture and checks that something was drawn on it.
    static void photograph(QWidget& view, const QString& name) {
        QCoreApplication::processEvents();
        const QImage picture = view.grab().toImage();
        ASSERT_FALSE(picture.isNull());
        std::set<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4) colours.insert(picture.pixel(x, y));
        EXPECT_GT(colours.size(), 2u) << name.toStdString() << " is blank";
        QDir().mkpath(QStringLiteral(QLMIB_SCREENSHOT_DIR));
        EXPECT_TRUE(picture.save(QStringLiteral(QLMIB_SCREENSHOT_DIR "/") + name + QStringLiteral(".png")));
    }

    QtToolkit toolkit;
    QWidget host;
};

// Points a live control at the loopback agent, calls `start` and runs the
// loop until the busy state it began has ended.
bool RunLive(ui::Toolkit& toolkit, LiveControl& control, const std::function<void()>& start) {
    control.setIP(SnmpAgent::Shared().address());
    control.setCommunity(SnmpAgent::kReadCommunity);
    control.setSNMPVersion(2);
    bool began = false, active = false;
    auto activity = control.Active.subscribe([&](bool status) {
        began = began || status;
        active = status;
    });
    start();
    return began && toolkit.eventLoop().runUntil([&] { return !active; }, 20000);
}

bool Walk(ui::Toolkit& toolkit, MIBBrowser& browser, const std::string& root) {
    return RunLive(toolkit, browser, [&] { browser.GetOID(root); });
}

struct ControlCase {
    const char* name;
    std::function<std::unique_ptr<ui::Widget>(ui::Toolkit&)> make;
};

TEST_F(ControlsTest, EveryControlAndWindowPlacesInAQWidgetWithAViewForEachOfItsWidgets) {
    const ControlCase cases[] = {
        {"MIBTree",
         [](ui::Toolkit& t) {
             auto tree = std::make_unique<MIBTree>(t);
             tree->Refresh();
             tree->SelectOID("1.3.6.1.2.1.1.1");
             return tree;
         }},
        {"SingleMIBTree",
         [](ui::Toolkit& t) {
             auto tree = std::make_unique<SingleMIBTree>(t);
             tree->setMIB("SNMPv2-MIB");
             return tree;
         }},
        {"MIBXTree", [](ui::Toolkit& t) { return std::make_unique<MIBXTree>(t); }},
        {"ManageMIBs",
         [](ui::Toolkit& t) {
             auto list = std::make_unique<ManageMIBs>(t);
             list->Refresh();
             return list;
         }},
        {"OIDDetails",
         [](ui::Toolkit& t) {
             auto details = std::make_unique<OIDDetails>(t);
             details->setOID("1.3.6.1.2.1.2.2.1.7.1");
             details->setRawValue("2");
             details->setParsedValue("down(2)");
             return details;
         }},
        {"OIDDetailsForm",
         [](ui::Toolkit& t) {
             auto form = std::make_unique<OIDDetailsForm>(t);
             form->Details.setOID("1.3.6.1.2.1.1.1");
             return form;
         }},
        {"SearchMIBTreeForm", [](ui::Toolkit& t) { return std::make_unique<SearchMIBTreeForm>(t); }},
        {"MIBBrowser", [](ui::Toolkit& t) { return std::make_unique<MIBBrowser>(t); }},
        {"MIBTable", [](ui::Toolkit& t) { return std::make_unique<MIBTable>(t); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto control = c.make(toolkit);
        QWidget* view = show(*control);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->size(), host.size());
        EXPECT_EQ(control->getWidth(), ui::qt::ToTwips(host.width()));
        expectViews(*control);
        // A placed window is loaded: the search form has its first pattern.
        if (auto* form = dynamic_cast<SearchMIBTreeForm*>(control.get())) form->Search_Button.Press();
        if (auto* table = dynamic_cast<MIBTable*>(control.get())) {
            ASSERT_TRUE(RunLive(toolkit, *table, [&] { table->GetTable("1.3.6.1.2.1.2.2"); }));
        }
        photograph(*view, QString::fromLatin1(c.name));
        // The control goes first: its views go with it, the host stays.
        QPointer<QWidget> placed = view;
        control.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(placed.isNull() || placed->findChildren<QWidget*>().isEmpty());
        delete placed.data();
    }
}

TEST_F(ControlsTest, SearchRunsFromTypingAndClicksAndAListClickShowsTheHitsDetails) {
    SearchMIBTreeForm form(toolkit);
    show(form);
    auto* name = qobject_cast<QLineEdit*>(toolkit.viewOf(form.TargetName));
    auto* search = qobject_cast<QPushButton*>(toolkit.viewOf(form.Search_Button));
    auto* list = qobject_cast<QListWidget*>(toolkit.viewOf(form.OIDList));
    ASSERT_TRUE(name && search && list);
    name->selectAll();
    QTest::keyClicks(name, "if*");
    EXPECT_EQ(form.TargetName.getText(), "if*");
    QTest::mouseClick(search, Qt::LeftButton);
    ASSERT_EQ(list->count(), form.HitCount());
    ASSERT_EQ(list->count(), 5) << "ifTable, ifEntry, ifPhysAddress, ifAdminStatus and ifInOctets";
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(form.OIDList.getListIndex(), 1);
    const std::string oid = form.OIDList.getList(1).substr(form.OIDList.getList(1).rfind('\t') + 1);
    EXPECT_EQ(form.OIDDetails.getOID(), oid);
    auto* details = qobject_cast<QTextEdit*>(toolkit.viewOf(*form.OIDDetails.Children().at(0)));
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->toPlainText().contains(QString::fromStdString(oid)));
}

TEST_F(ControlsTest, RightClickOnTheDetailsOpensItsMenuAndCopyPutsRtfAndTextOnTheClipboard) {
    MIBTree tree(toolkit);
    show(tree);
    tree.Refresh();
    tree.SelectOID("1.3.6.1.2.1.2.2.1.7");
    auto* details = qobject_cast<QTextEdit*>(toolkit.viewOf(tree.DetailsView()));
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->toPlainText().contains(QStringLiteral("ifAdminStatus")));
    toolkit.clipboard().Clear();
    QStringList entries;
    WhenShown(
        [&](QWidget& widget) {
            auto& popup = static_cast<QMenu&>(widget);
            for (QAction* action : popup.actions()) entries.append(action->text());
            QTest::mouseClick(&popup, Qt::LeftButton, {}, popup.actionGeometry(popup.actions().front()).center());
        },
        true);
    QTest::mouseClick(details->viewport(), Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(entries, (QStringList{"&Copy", "&Print ..."}));
    EXPECT_EQ(toolkit.clipboard().GetText(ui::ClipboardRTF), tree.getCurrentOIDDetailsRTF());
    EXPECT_EQ(toolkit.clipboard().GetText(ui::ClipboardText), tree.Details.getText());
}

TEST_F(ControlsTest, AWalkOfTheAgentStreamsIntoAMIBBrowserWhileQtsLoopKeepsRunning) {
    MIBBrowser browser(toolkit);
    browser.setCols("0,9,10");
    show(browser);
    // A timer of the window's loop: it must keep ticking while the answers come in.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longestGap = 0;
    int ticks = 0;
    QTimer frame;
    QObject::connect(&frame, &QTimer::timeout, [&] {
        ++ticks;
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    frame.start(10);
    ASSERT_TRUE(Walk(toolkit, browser, "1.3.6.1.2.1"));
    frame.stop();
    const auto& grid = browser.getTableObject();
    EXPECT_GT(grid.getRows(), 100);
    EXPECT_GT(ticks, 0);
    EXPECT_LT(longestGap, 500) << "the loop was never held for long";

    // The same walk on the headless toolkit gives the same rows.
    ui::HeadlessToolkit headless;
    MIBBrowser reference(headless);
    reference.setCols("0,9,10");
    ASSERT_TRUE(Walk(headless, reference, "1.3.6.1.2.1.2"));
    browser.Clear();
    ASSERT_TRUE(Walk(toolkit, browser, "1.3.6.1.2.1.2"));
    ASSERT_EQ(grid.getRows(), reference.getTableObject().getRows());
    for (std::int32_t r = 0; r < grid.getRows(); ++r)
        EXPECT_EQ(grid.getTextMatrix(r, 0), reference.getTableObject().getTextMatrix(r, 0)) << r;
    photograph(*toolkit.viewOf(browser), QStringLiteral("MIBBrowser-walk"));
}

}  // namespace
}  // namespace qlmib::test
