// The browser end to end, as a user drives it: the real window offscreen,
// the test database and the loopback agent.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QSpinBox>
#include <QTabBar>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QFile>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QInputDialog>
#include <QTimer>
#include <QFileDialog>
#include <QPrinterInfo>
#include <QScreen>
#include <QMenuBar>
#include <QSplitter>
#include <QImage>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>

#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>
#include <qlmib/mibx/ManageMIBs.h>
#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/snmp/MIBTable.h>
#include <qlmib/snmp/AgentProfiles.h>
#include <qlmib/snmp/Settings.h>
#include <qlmib/tree/MIBSelectionType.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/OIDDetails.h>
#include <qlmib/tree/SingleMIBTree.h>
#include <qlmib/ui/GridModel.h>

#include "AgentBar.h"
#include "AgentProfileDialog.h"
#include "BrowserFixture.h"
#include "ControlDialog.h"
#include "ControlHost.h"
#include "FindTarget.h"
#include "ImportDialog.h"
#include "LiveTabs.h"
#include "MainWindow.h"
#include "SettingsDialog.h"
#include "StatusPanel.h"

namespace qlmib::test {
namespace {

using browser::MainWindow;

constexpr const char* kIfTable = "1.3.6.1.2.1.2.2";
constexpr const char* kSystem = "1.3.6.1.2.1.1";
constexpr const char* kSysContact = "1.3.6.1.2.1.1.4.0";
constexpr const char* kSysName = "1.3.6.1.2.1.1.5.0";

// Qt passes a drop on only while its own drag is running: the widget gets it
// directly, as it would at the end of a drag from the tree.
void deliverDrop(QWidget& target, QDropEvent& event) { static_cast<QObject&>(target).event(&event); }

class BrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!BrowserHome()) GTEST_SKIP() << "the MIB corpus ../shared/mibs is absent";
        auto settings = Settings::Shared();
        settings->setSNMPTimeout(1500);
        settings->setSNMPRetries(2);
        window = std::make_unique<MainWindow>(host);
        window->resize(1280, 800);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << "shortcuts need the active window";
        window->agentBar().setAgent(QString::fromStdString(SnmpAgent::Shared().address()));
    }
    void TearDown() override {
        if (window) window->close();
    }

    bool idle(int timeoutMs = 10000) {
        return WaitFor([&] { return !window->liveTabs().busy(); }, timeoutMs);
    }
    // The first grid row whose OID cell (column data) is `oid`, or -1.
    static std::int32_t walkRow(const ui::GridModel& grid, const std::string& oid) {
        for (std::int32_t r = 1; r < grid.getRows(); ++r)
            if (grid.getRowData(r).toString() == oid) return r;
        return -1;
    }
    static std::int32_t column(const ui::GridModel& grid, const std::string& header) {
        for (std::int32_t c = 0; c < grid.getCols(); ++c)
            if (grid.getTextMatrix(0, c) == header) return c;
        return -1;
    }
    // Types `value` into the walk grid's value cell of `oid` and commits it.
    void editWalkValue(const std::string& oid, const std::string& value) {
        auto& grid = window->liveTabs().walkTab().getTableObject();
        const auto row = walkRow(grid, oid);
        ASSERT_GE(row, 1) << oid << " is not in the walk";
        const auto col = column(grid, "Value");
        ASSERT_GE(col, 0);
        grid.setRow(row);
        ASSERT_TRUE(grid.EditCell(row, col));
        grid.setEditText(value);
        grid.CommitEdit();
    }

    browser::ControlHost host;
    std::unique_ptr<MainWindow> window;
};

TEST_F(BrowserTest, FindBoxSelectsNamesOIDsAndPrefixes) {
    const struct {
        const char* typed;
        const char* selected;
    } cases[] = {
        {"ifTable", kIfTable},
        {"IF-MIB:ifTable", kIfTable},
        {"1.3.6.1.2.1.1", kSystem},
        {".1.3.6.1.2.1.1.4.0", "1.3.6.1.2.1.1.4"},
        {"sysCont", "1.3.6.1.2.1.1.4"},
    };
    for (const auto& c : cases) {
        window->findBox().clear();
        QTest::keyClicks(&window->findBox(), QString::fromUtf8(c.typed));
        EXPECT_EQ(window->currentNode(), c.selected) << c.typed;
    }
    const auto before = window->currentNode();
    window->findBox().clear();
    QTest::keyClicks(&window->findBox(), QStringLiteral("noSuchObjectAnywhere"));
    EXPECT_EQ(window->currentNode(), before) << "a miss leaves the selection";
}

TEST_F(BrowserTest, TableActionDownloadsIfTableWithTheAgentsValues) {
    QTest::keyClicks(&window->findBox(), QStringLiteral("ifTable"));
    ASSERT_TRUE(window->agentBar().tableAction->isEnabled());
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(window->liveTabs().tableCount(), 1);
    ASSERT_TRUE(idle());
    auto* table = window->liveTabs().currentTable();
    ASSERT_NE(table, nullptr);
    const auto& grid = table->getTableObject();
    const auto descr = column(grid, "ifDescr");
    ASSERT_GE(descr, 0);
    std::vector<std::string> shown;
    for (std::int32_t r = 1; r < grid.getRows(); ++r) shown.push_back(grid.getTextMatrix(r, descr));
    EXPECT_EQ(shown, NetSnmpValues("1.3.6.1.2.1.2.2.1.2"));
    EXPECT_TRUE(window->status().lastError().isEmpty()) << window->status().lastError().toStdString();

    // A scalar is no table.
    QTest::keyClicks(&window->findBox(), QStringLiteral("sysDescr"));
    window->findObject(QStringLiteral("sysDescr"));
    EXPECT_FALSE(window->agentBar().tableAction->isEnabled());
}

TEST_F(BrowserTest, WalkSystemThenWriteContactAndSeeNameRefused) {
    MessageBoxAnswerer answerer;
    window->findObject(QStringLiteral("system"));
    QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier);
    ASSERT_TRUE(idle());
    auto& walk = window->liveTabs().walkTab();
    const auto& grid = walk.getTableObject();
    ASSERT_GE(walkRow(grid, kSysContact), 1);
    EXPECT_EQ(grid.getTextMatrix(walkRow(grid, "1.3.6.1.2.1.1.1.0"), column(grid, "Value")),
              NetSnmpValue("1.3.6.1.2.1.1.1.0"));

    const std::string contact = "browser test " + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    editWalkValue(kSysContact, contact);
    ASSERT_TRUE(WaitFor([&] { return grid.getTextMatrix(walkRow(grid, kSysContact), column(grid, "Value")) == contact && !walk.getBusy(); }));
    EXPECT_EQ(NetSnmpValue(kSysContact), contact) << "the agent holds what the grid reads back";
    EXPECT_TRUE(answerer.texts().isEmpty()) << answerer.texts().join('\n').toStdString();

    editWalkValue(kSysName, "renamed");
    ASSERT_TRUE(WaitFor([&] { return !answerer.texts().isEmpty(); }));
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("Could not change sysName")))
        << answerer.texts().first().toStdString();
    EXPECT_EQ(grid.getTextMatrix(walkRow(grid, kSysName), column(grid, "Value")), SnmpAgent::kSysName);
}

TEST_F(BrowserTest, TreeNodeDetailsLeaveTheWalkValueBehind) {
    window->findObject(QStringLiteral("system"));
    window->agentBar().walkAction->trigger();
    // The walk reports a chosen row once it has ended, not only once its answers are in.
    ASSERT_TRUE(WaitFor([&] { return window->status().busyText().startsWith(QStringLiteral("Ready")); }));
    auto& grid = window->liveTabs().walkTab().getTableObject();
    grid.setRow(walkRow(grid, kSysName));
    const auto details = [&] { return window->details().Details.getText(); };
    ASSERT_NE(details().find(SnmpAgent::kSysName), std::string::npos) << "the walk row's value is shown: " << details();

    // By the find box and by the tree itself, onto a table, a column and the value's own object.
    const struct {
        const char* node;
        const char* name;
        bool byTree;
    } cases[] = {
        {"ifTable", "ifTable", false},
        {"1.3.6.1.2.1.2.2.1.2", "ifDescr", true},
        {"sysName", "sysName", false},
    };
    // A walk row chosen behind a table's tab does not take the details over.
    window->findObject(QStringLiteral("ifTable"));
    window->agentBar().tableAction->trigger();
    ASSERT_TRUE(idle());
    grid.setRow(1);
    grid.setRow(walkRow(grid, kSysName));
    EXPECT_EQ(details().find(SnmpAgent::kSysName), std::string::npos) << details();
    EXPECT_NE(details().find("ifTable"), std::string::npos) << details();
    window->liveTabs().setCurrentIndex(0);

    for (const auto& c : cases) {
        grid.setRow(1);
        grid.setRow(walkRow(grid, kSysName));
        ASSERT_NE(details().find(SnmpAgent::kSysName), std::string::npos) << c.node << ": " << details();
        if (c.byTree)
            window->tree().SelectOID(c.node);
        else
            window->findObject(QString::fromUtf8(c.node));
        EXPECT_NE(details().find(c.name), std::string::npos) << c.node << ": " << details();
        EXPECT_EQ(details().find(SnmpAgent::kSysName), std::string::npos) << c.node << ": " << details();
    }
}

TEST_F(BrowserTest, GetThenNextListEachInstanceOnce) {
    window->findObject(QStringLiteral("sysDescr"));
    auto& next = *window->agentBar().nextAction;
    window->agentBar().getAction->trigger();
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(WaitFor([&] { return next.isEnabled(); }));
        EXPECT_TRUE(window->status().busyText().startsWith(QStringLiteral("Ready: %1 row").arg(i + 1)))
            << window->status().busyText().toStdString();
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    }
    ASSERT_TRUE(WaitFor([&] { return next.isEnabled(); }));
    const auto& grid = window->liveTabs().walkTab().getTableObject();
    std::vector<std::string> listed;
    for (std::int32_t r = 1; r < grid.getRows(); ++r) listed.push_back(grid.getRowData(r).toString());
    EXPECT_EQ(listed, (std::vector<std::string>{"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.2.0", "1.3.6.1.2.1.1.3.0"}));
}

TEST_F(BrowserTest, StopEndsALongWalkAndKeepsItsRows) {
    window->agentBar().setVersion("1");
    window->findObject(QStringLiteral("iso"));
    window->agentBar().walkAction->trigger();
    auto& grid = window->liveTabs().walkTab().getTableObject();
    ASSERT_TRUE(WaitFor([&] { return grid.getRows() > 50; }));
    ASSERT_TRUE(window->agentBar().stopAction->isEnabled());
    QTest::keyClick(window.get(), Qt::Key_Escape);
    const auto stopped = std::chrono::steady_clock::now();
    ASSERT_TRUE(idle(2000));
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::milliseconds(200));
    const auto kept = grid.getRows();
    EXPECT_GT(kept, 50);
    QTest::qWait(300);
    EXPECT_EQ(grid.getRows(), kept) << "no answer arrives after Stop";
    EXPECT_TRUE(window->agentBar().walkAction->isEnabled());
}

TEST_F(BrowserTest, ScreenShowsTheRowsWhileAWalkRuns) {
    window->agentBar().setVersion("1");
    window->findObject(QStringLiteral("iso"));
    window->agentBar().walkAction->trigger();
    const auto& grid = window->liveTabs().walkTab().getTableObject();
    ASSERT_TRUE(WaitFor([&] { return grid.getRows() > 60; }));
    QTest::qWait(700);  // past a tick of the walk's timer, which paints what came in
    ASSERT_TRUE(window->liveTabs().busy()) << "the walk is still running";
    const auto* view = window->liveTabs().currentWidget()->findChild<QAbstractItemView*>();
    ASSERT_NE(view, nullptr);
    const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
    const QRect area(view->viewport()->mapTo(window.get(), QPoint(0, 0)), view->viewport()->size());
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ink += qGray(screen.pixel(x, y)) < 128;
    // Rows of dark text on a light ground: neither a blank area nor one never painted.
    const int pixels = area.width() * area.height();
    EXPECT_GT(ink, pixels / 100) << "blank";
    EXPECT_LT(ink, pixels / 2) << "never painted";
    window->liveTabs().stop();
    EXPECT_TRUE(idle(2000));
}

TEST_F(BrowserTest, UnreachableAgentIsToldInWords) {
    Settings::Shared()->setSNMPTimeout(100);
    Settings::Shared()->setSNMPRetries(1);
    const auto agent = "127.0.0.1:" + std::to_string(UnusedUdpPort());
    window->agentBar().setAgent(QString::fromStdString(agent));
    window->findObject(QStringLiteral("system"));
    window->agentBar().walkAction->trigger();
    ASSERT_TRUE(idle());
    EXPECT_EQ(window->status().lastError().toStdString(),
              "No answer from " + agent + ": the agent is unreachable, not running, or does not accept the community.");
    EXPECT_TRUE(WaitFor([&] { return window->agentBar().walkAction->isEnabled(); }, 1000))
        << "the window stays usable";
}

TEST_F(BrowserTest, ImportedModuleIsFoundAndDeletedAgain) {
    const auto corpus = corpusFolder();
    auto* dialog = window->importFiles({QString::fromStdString(corpus + "/UDP-MIB.txt")});
    ASSERT_TRUE(WaitFor([&] { return !dialog->reportText().isEmpty(); }, 60000));
    EXPECT_TRUE(dialog->reportText().contains(QStringLiteral("UDP-MIB"))) << dialog->reportText().toStdString();
    // Its warnings are counted in the report and listed behind the details button, not on a command line.
    EXPECT_TRUE(dialog->reportText().contains(QStringLiteral("Warnings: "))) << dialog->reportText().toStdString();
    EXPECT_FALSE(dialog->reportText().contains(QStringLiteral("--verbose"))) << dialog->reportText().toStdString();
    ASSERT_TRUE(dialog->detailsButton().isVisible());
    dialog->detailsButton().click();
    const auto messages = dialog->messagesText();
    EXPECT_TRUE(messages.startsWith(QStringLiteral("UDP-MIB.txt:\n"))) << messages.toStdString();
    EXPECT_TRUE(messages.contains(QStringLiteral("SNMPv2-SMI.txt:"))) << messages.toStdString();
    EXPECT_TRUE(dialog->findChild<QWidget*>(QStringLiteral("CompilerMessages"))->isVisible());
    dialog->close();
    ASSERT_TRUE(window->findObject(QStringLiteral("udpEndpointTable")));
    EXPECT_EQ(window->currentNode(), "1.3.6.1.2.1.7.7");

    MessageBoxAnswerer answerer;
    auto* manager = window->manageModules();
    auto& modules = static_cast<ManageMIBs&>(manager->control());
    std::int32_t row = 1;
    while (row <= modules.getMIBCount() && (modules.setRow(row), modules.getSelectedMIB() != "UDP-MIB")) ++row;
    ASSERT_EQ(modules.getSelectedMIB(), "UDP-MIB");
    window->deleteModules(modules);
    ASSERT_EQ(answerer.texts().size(), 1) << "deleting asks first";
    EXPECT_EQ(modules.MIBDetails.getText().find("UDP-MIB"), std::string::npos) << "the deleted module's details go";
    EXPECT_NE(modules.MIBDetails.getText().find(modules.getSelectedMIB()), std::string::npos);
    manager->close();
    EXPECT_EQ(browser::FindTarget("udpEndpointTable"), "");
    EXPECT_FALSE(window->findObject(QStringLiteral("udpEndpointTable")));
}

TEST_F(BrowserTest, ModuleManagerOpensOnTheFirstModulesDetails) {
    auto* manager = window->manageModules();
    auto& modules = static_cast<ManageMIBs&>(manager->control());
    ASSERT_GT(modules.getMIBCount(), 1);
    EXPECT_EQ(modules.getRow(), 1);
    const auto first = modules.getSelectedMIB();
    EXPECT_NE(modules.MIBDetails.getText().find(first + "\r\n"), std::string::npos)
        << first << ": " << modules.MIBDetails.getText();
    modules.setRow(2);
    EXPECT_NE(modules.MIBDetails.getText().find(modules.getSelectedMIB()), std::string::npos);
    manager->close();
}

TEST_F(BrowserTest, ModuleTreeOpensOnTheCurrentObject) {
    window->findObject(QStringLiteral("ifOperStatus"));
    auto* dialog = window->showModuleTree();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), "IF-MIB");
    auto& single = static_cast<SingleMIBTree&>(dialog->control());
    EXPECT_EQ(single.GetOIDbyRow(single.getRow()), "1.3.6.1.2.1.2.2.1.8");
    dialog->close();
}

TEST_F(BrowserTest, FailedImportLeavesTheDatabaseAsItWas) {
    const auto before = std::filesystem::file_size(DatabasePath());
    QTemporaryDir folder;
    const QString broken = folder.filePath(QStringLiteral("BROKEN-MIB.txt"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BROKEN-MIB DEFINITIONS ::= BEGIN\n  this is not a module\n");
    file.close();
    auto* dialog = window->importFiles({broken});
    ASSERT_TRUE(WaitFor([&] { return !dialog->reportText().isEmpty(); }, 60000));
    EXPECT_TRUE(dialog->reportText().contains(QStringLiteral("not changed"))) << dialog->reportText().toStdString();
    EXPECT_EQ(std::filesystem::file_size(DatabasePath()), before);
    EXPECT_FALSE(window->status().lastError().isEmpty());
    dialog->close();
}

TEST_F(BrowserTest, CancelledImportStopsAtOnceAndChangesNothing) {
    const auto before = std::filesystem::last_write_time(DatabasePath());
    const auto corpus = corpusFolder();
    QStringList files;
    for (const char* name : {"HOST-RESOURCES-MIB.txt", "IP-MIB.txt", "UDP-MIB.txt", "TUNNEL-MIB.txt"})
        files << QString::fromStdString(corpus + "/" + name);
    auto* dialog = window->importFiles(files);
    QPushButton* cancel = nullptr;
    for (auto* button : dialog->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Cancel")) cancel = button;
    ASSERT_NE(cancel, nullptr);
    QTest::qWait(100);  // the first file is being compiled
    ASSERT_TRUE(dialog->reportText().isEmpty()) << "still importing";
    const auto cancelled = std::chrono::steady_clock::now();
    cancel->click();
    ASSERT_TRUE(WaitFor([&] { return !dialog->reportText().isEmpty(); }, 5000));
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::milliseconds(200));
    EXPECT_TRUE(dialog->reportText().contains(QStringLiteral("cancelled"))) << dialog->reportText().toStdString();
    EXPECT_EQ(window->status().lastError(), QStringLiteral("Import cancelled; nothing was changed."));
    EXPECT_EQ(std::filesystem::last_write_time(DatabasePath()), before);
    EXPECT_FALSE(std::filesystem::exists(DatabasePath() + ".import")) << "the working copy is gone";
    dialog->close();
}

TEST_F(BrowserTest, DroppedNodeWalksOnTheWalkTabAndDownloadsElsewhere) {
    window->findObject(QStringLiteral("system"));
    const auto dragged = window->tree().getSelection(MIBSelection_OIDList);
    auto& tabs = window->liveTabs();
    const auto drop = [&](QPoint at) {
        QMimeData data;
        data.setText(QString::fromStdString(dragged));
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        deliverDrop(tabs, event);
        return event.isAccepted();
    };
    ASSERT_TRUE(drop(tabs.rect().center())) << dragged;
    ASSERT_TRUE(WaitFor([&] { return tabs.walkTab().getBusy(); }, 2000)) << "dropped on the walk tab: walked";
    ASSERT_TRUE(idle());
    EXPECT_GE(walkRow(tabs.walkTab().getTableObject(), kSysContact), 1);

    window->findObject(QStringLiteral("ifTable"));
    const auto oids = window->tree().getSelection(MIBSelection_OIDList);
    QMimeData table;
    table.setText(QString::fromStdString(oids));
    // Right of the tabs, on the bar: the table area.
    const QPoint bar = tabs.tabBar()->mapTo(&tabs, QPoint(tabs.tabBar()->width() - 2, tabs.tabBar()->height() / 2));
    QDropEvent event(QPoint(tabs.width() - 4, bar.y()), Qt::CopyAction, &table, Qt::LeftButton, Qt::NoModifier);
    deliverDrop(tabs, event);
    ASSERT_TRUE(WaitFor([&] { return tabs.tableCount() == 1; }, 2000)) << "dropped beside the walk tab: downloaded";
    EXPECT_TRUE(idle());
}

TEST_F(BrowserTest, ExportWritesTheChosenFileAndPrintTellsWhenThereIsNoPrinter) {
    window->findObject(QStringLiteral("system"));
    window->agentBar().walkAction->trigger();
    ASSERT_TRUE(WaitFor([&] { return window->agentBar().walkAction->isEnabled(); }));
    QTemporaryDir folder;
    const struct {
        const char* name;
        const char* expected;  // in the written file
    } cases[] = {{"walk.csv", "sysName.0,"}, {"walk.html", "<td>sysName.0</td>"}};
    for (const auto& c : cases) {
        const QString file = folder.filePath(QString::fromUtf8(c.name));
        // Back from the last dialog: shortcuts go to the active window.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTimer::singleShot(0, window.get(), [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "Export asks where to write";
            dialog->selectFile(file);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << c.name << ": " << window->status().lastError().toStdString();
        const auto text = QString::fromUtf8(written.readAll());
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.expected))) << c.name << ": " << text.left(300).toStdString();
        EXPECT_TRUE(text.contains(QString::fromLatin1(SnmpAgent::kSysName))) << c.name;
        EXPECT_TRUE(window->status().currentMessage().contains(file)) << window->status().currentMessage().toStdString();
    }

    if (!QPrinterInfo::availablePrinterNames().isEmpty()) return;
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    MessageBoxAnswerer answerer;
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(answerer.texts().size(), 1) << "printing without a printer says so";
    EXPECT_TRUE(answerer.texts().first().contains(QStringLiteral("Printer"))) << answerer.texts().first().toStdString();
}

TEST_F(BrowserTest, CopyAndDialogs) {
    window->findObject(QStringLiteral("ifTable"));
    window->copyAs(MIBSelection_OIDList);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("1.3.6.1.2.1.2.2")))
        << QApplication::clipboard()->text().toStdString();

    browser::SettingsDialog dialog(Settings::Shared(), window.get());
    dialog.show();
    QTest::keyClicks(dialog.timeout, QStringLiteral("99999"));
    EXPECT_LE(dialog.timeout->value(), 5000) << "the box holds only what the settings keep";
    dialog.timeout->setValue(700);
    dialog.retries->setValue(3);
    dialog.accept();
    EXPECT_EQ(Settings::Shared()->getSNMPTimeout(), 700);
    EXPECT_EQ(Settings::Shared()->getSNMPRetries(), 3);
}

TEST_F(BrowserTest, RestartRestoresAgentAndNode) {
    window->findObject(QStringLiteral("ifAdminStatus"));
    window->agentBar().walkAction->trigger();
    ASSERT_TRUE(idle());
    window->resize(1111, 777);
    window->close();
    window.reset();

    MainWindow again(host);
    EXPECT_EQ(again.agentBar().agent().toStdString(), SnmpAgent::Shared().address());
    EXPECT_EQ(again.currentNode(), "1.3.6.1.2.1.2.2.1.7");
    EXPECT_EQ(again.size(), QSize(1111, 777));
    const auto agents = again.agentBar().recent().agents();
    EXPECT_EQ(std::count(agents.begin(), agents.end(), SnmpAgent::Shared().address()), 1)
        << "each agent is remembered once";
    again.close();
}

// The tree is painted alone; the rest of the window follows a turn later, by
// itself, and comes out as the last window left it.
TEST_F(BrowserTest, TreePaintsFirstAndTheRestFollowsAsLeft) {
    window->findObject(QStringLiteral("ifTable"));
    window->agentBar().rememberAgent();
    auto splitterSizes = [](const QWidget& w) {
        return std::pair{w.findChild<QSplitter*>(QStringLiteral("MainSplitter"))->sizes(),
                         w.findChild<QSplitter*>(QStringLiteral("RightSplitter"))->sizes()};
    };
    window->findChild<QSplitter*>(QStringLiteral("MainSplitter"))->setSizes({300, 900});
    window->findChild<QSplitter*>(QStringLiteral("RightSplitter"))->setSizes({150, 500});
    const auto left = splitterSizes(*window);
    window->close();
    window.reset();

    MainWindow again(host);
    again.show();
    again.activateWindow();
    EXPECT_EQ(again.findChild<browser::AgentBar*>(), nullptr) << "only the tree pane before the first paint";
    // Without the bars the panes are taller, not narrower.
    EXPECT_EQ(splitterSizes(again).first, left.first) << "the tree pane has its final width from the first paint";
    EXPECT_EQ(again.currentNode(), kIfTable);
    ASSERT_TRUE(WaitFor([&] { return again.findChild<browser::AgentBar*>() != nullptr && again.isActiveWindow(); }))
        << "the window completes after its first paint without being asked";
    // Focus and Tab as if the bars had been there from the start.
    EXPECT_EQ(QApplication::focusWidget(), again.agentBar().agentBox());
    QWidget* stop = again.agentBar().agentBox();
    while (stop != &again && stop != &again.findBox()) stop = stop->nextInFocusChain();
    EXPECT_EQ(stop, &again.findBox()) << "Tab reaches the find box after the agent bar";
    EXPECT_TRUE(again.findChild<browser::AgentBar*>()->isVisible());
    EXPECT_TRUE(again.menuBar()->isVisible());
    EXPECT_EQ(splitterSizes(again), left);
    EXPECT_EQ(again.details().getOID(), kIfTable) << "the details follow the restored node";
    EXPECT_TRUE(again.agentBar().tableAction->isEnabled()) << "the restored agent and table node enable Table";
    again.close();
}


// SNMPv3 from the window: a saved agent chosen in the bar, its secrets saved
// as keys or asked each time.
class BrowserV3Test : public BrowserTest {
protected:
    // The walk of `system` as the grid shows it: OID and value of each row,
    // the agent's clock left out.
    std::map<std::string, std::string> walkSystem() {
        window->findObject(QStringLiteral("system"));
        window->agentBar().walkAction->trigger();
        EXPECT_TRUE(idle());
        const auto& grid = window->liveTabs().walkTab().getTableObject();
        std::map<std::string, std::string> rows;
        for (std::int32_t r = 1; r < grid.getRows(); ++r) {
            const auto oid = grid.getRowData(r).toString();
            if (oid != "1.3.6.1.2.1.1.3.0") rows[oid] = grid.getTextMatrix(r, column(grid, "Value"));
        }
        return rows;
    }
    // Saves a profile for the agent's first user of `level`, with keys
    // localized from the passphrases when `saveKeys`, and chooses it.
    void chooseProfile(const std::string& name, const std::string& level, bool saveKeys,
                       const std::string& user = {}) {
        const auto& known = SnmpAgent::V3UserOf(level);
        snmp::AgentProfile profile;
        profile.name = name;
        profile.address = SnmpAgent::Shared().address();
        profile.version = 3;
        profile.security.securityName = user.empty() ? known.name : user;
        profile.security.level = *snmp::ParseSecurityLevel(level);
        if (!known.auth.empty()) profile.security.authProtocol = *snmp::ParseAuthProtocol(known.auth);
        if (!known.priv.empty()) profile.security.privProtocol = *snmp::ParsePrivProtocol(known.priv);
        profile.saveKeys = saveKeys;
        profile.timeout = kProfileTimeout;
        profile.requestSize = kProfileRequestSize;
        if (saveKeys) {
            profile.security.authPassphrase = SnmpAgent::kAuthPassphrase;
            profile.security.privPassphrase = SnmpAgent::kPrivPassphrase;
            profile.security.securityEngineID =
                snmp::DiscoverEngineID("127.0.0.1", SnmpAgent::Shared().port(), 1500, 2);
        }
        snmp::AgentProfiles().Save(profile);
        window->agentBar().setAgent(QString());
        window->agentBar().setVersion("3");
        window->agentBar().setProfile(QString::fromStdString(name));
        ASSERT_EQ(window->agentBar().agent().toStdString(), profile.address) << "the bar takes the profile's address";
    }
    void TearDown() override {
        for (const auto& name : saved_) snmp::AgentProfiles().Remove(name);
        BrowserTest::TearDown();
    }
    static constexpr std::int32_t kProfileTimeout = 400;
    static constexpr int kProfileRequestSize = 3;
    std::vector<std::string> saved_;
};

// Answers each passphrase prompt with the next answer (nullopt cancels) and
// keeps the prompts' labels.
class PassphraseAnswerer : public QObject {
public:
    explicit PassphraseAnswerer(std::vector<std::optional<QString>> answers) : answers_(std::move(answers)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            prompts.push_back(dialog->labelText());
            masked = masked && dialog->textEchoMode() == QLineEdit::Password;
            const auto asked = static_cast<std::size_t>(prompts.size());
            const auto answer = asked <= answers_.size() ? answers_[asked - 1] : std::nullopt;
            if (answer) {
                dialog->setTextValue(*answer);
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        timer_.start(20);
    }
    QStringList prompts;
    bool masked = true;

private:
    std::vector<std::optional<QString>> answers_;
    QTimer timer_;
};

TEST_F(BrowserV3Test, WalkWithASavedProfileShowsTheV2cRows) {
    const auto v2c = walkSystem();
    ASSERT_GE(v2c.size(), 5u);
    for (const auto* level : {"noAuthNoPriv", "authNoPriv", "authPriv"}) {
        SCOPED_TRACE(level);
        const std::string name = std::string("keyed-") + level;
        saved_.push_back(name);
        chooseProfile(name, level, std::string(level) != "noAuthNoPriv");
        PassphraseAnswerer none({});
        window->status().setLastError(QString());
        EXPECT_EQ(walkSystem(), v2c);
        const auto& engine = window->liveTabs().walkTab().SNMP();
        EXPECT_EQ(engine.getSecurity().securityName, SnmpAgent::V3UserOf(level).name);
        EXPECT_EQ(engine.getTimeout(), kProfileTimeout) << "the profile's timeout overrides the Settings";
        EXPECT_EQ(window->liveTabs().walkTab().getRequestSize(), kProfileRequestSize);
        EXPECT_TRUE(none.prompts.isEmpty()) << "saved keys stand for the passphrases";
        EXPECT_TRUE(window->status().lastError().isEmpty()) << window->status().lastError().toStdString();
    }
    window->agentBar().setVersion("2c");
    EXPECT_EQ(walkSystem(), v2c) << "back on v2c the communities are used again";
    EXPECT_FALSE(window->liveTabs().walkTab().SNMP().getSecurity().enabled());
    EXPECT_EQ(window->liveTabs().walkTab().SNMP().getTimeout(), Settings::Shared()->getSNMPTimeout());
    EXPECT_EQ(window->liveTabs().walkTab().getRequestSize(), 0) << "and the Settings' request size";
}

TEST_F(BrowserV3Test, AskedPassphrasesAndV3FailuresInTheStatusBar) {
    // A packet it cannot decrypt the agent leaves unanswered: told after the
    // profile's short timeout, retried once.
    Settings::Shared()->setSNMPRetries(1);
    const auto v2c = walkSystem();
    const QString right = QString::fromLatin1(SnmpAgent::kAuthPassphrase);
    const QString wrong = QStringLiteral("not-the-passphrase");
    const struct {
        const char* level;
        const char* user;  // empty: the level's user
        std::vector<std::optional<QString>> answers;
        const char* failure;  // empty: the walk succeeds
    } cases[] = {
        {"authPriv", "", {right, QString::fromLatin1(SnmpAgent::kPrivPassphrase)}, ""},
        {"authNoPriv", "", {wrong}, "Wrong digest"},
        {"authPriv", "", {right, wrong}, "Decryption error"},
        {"authNoPriv", "nobody-here", {right}, "Unknown user name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " " + c.failure);
        const std::string name = "asked-" + std::to_string(saved_.size());
        saved_.push_back(name);
        chooseProfile(name, c.level, false, c.user);
        PassphraseAnswerer answerer(c.answers);
        window->status().setLastError(QString());
        const auto rows = walkSystem();
        EXPECT_EQ(answerer.prompts.size(), c.answers.size()) << answerer.prompts.join('\n').toStdString();
        EXPECT_TRUE(answerer.masked);
        const auto error = window->status().lastError().toStdString();
        if (*c.failure) {
            EXPECT_NE(error.find(c.failure), std::string::npos) << error;
        } else {
            EXPECT_EQ(rows, v2c);
            EXPECT_TRUE(error.empty()) << error;
        }
    }

    // A cancelled prompt sends nothing.
    PassphraseAnswerer cancel({std::nullopt});
    window->liveTabs().walkTab().getTableObject().setRows(1);
    window->findObject(QStringLiteral("system"));
    window->agentBar().walkAction->trigger();
    EXPECT_EQ(cancel.prompts.size(), 1);
    EXPECT_FALSE(window->liveTabs().busy());
    EXPECT_EQ(window->liveTabs().walkTab().getTableObject().getRows(), 1);
}

TEST_F(BrowserV3Test, ProfilesButtonSavesAndChoosesTheProfile) {
    window->agentBar().setVersion("3");
    const auto& user = SnmpAgent::V3UserOf("authNoPriv");
    saved_.push_back("from-dialog");
    QTimer::singleShot(0, window.get(), [&] {
        auto* dialog = qobject_cast<browser::AgentProfileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("name")->setText(QStringLiteral("from-dialog"));
        dialog->findChild<QLineEdit*>("user")->setText(QString::fromStdString(user.name));
        auto choose = [&](const char* combo, const char* text) {
            auto* box = dialog->findChild<QComboBox*>(combo);
            box->setCurrentIndex(box->findText(QString::fromLatin1(text)));
        };
        choose("level", "authNoPriv");
        choose("authProtocol", snmp::AuthProtocolName(*snmp::ParseAuthProtocol(user.auth)));
        dialog->findChild<QLineEdit*>("authPassphrase")->setText(QString::fromLatin1(SnmpAgent::kAuthPassphrase));
        dialog->findChild<QCheckBox*>("saveKeys")->setChecked(true);
        dialog->accept();
        EXPECT_TRUE(dialog->message().isEmpty()) << dialog->message().toStdString();
        if (dialog->isVisible()) dialog->reject();
    });
    window->agentBar().profilesAction->trigger();
    const auto* box = window->agentBar().findChild<QComboBox*>("Profile");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), QStringLiteral("from-dialog"));
    EXPECT_EQ(window->agentBar().agent().toStdString(), SnmpAgent::Shared().address());
    PassphraseAnswerer none({});
    const auto rows = walkSystem();
    EXPECT_TRUE(none.prompts.isEmpty());
    EXPECT_EQ(rows.at(kSysName), SnmpAgent::kSysName);

    // A value typed into the grid is written under the same user.
    MessageBoxAnswerer answerer;
    const std::string contact = "v3 contact " + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    editWalkValue(kSysContact, contact);
    const auto& grid = window->liveTabs().walkTab().getTableObject();
    EXPECT_TRUE(WaitFor([&] { return grid.getTextMatrix(walkRow(grid, kSysContact), column(grid, "Value")) == contact && !window->liveTabs().busy(); }));
    EXPECT_EQ(NetSnmpValue(kSysContact), contact);
    EXPECT_TRUE(answerer.texts().isEmpty()) << answerer.texts().join('\n').toStdString();
}

}  // namespace
}  // namespace qlmib::test
