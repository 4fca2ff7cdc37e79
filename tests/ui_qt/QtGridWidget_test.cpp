// The grid widget driven with real mouse and key events offscreen: each user
// action must raise the control's event with the right arguments, and the
// grid's look must reach the view. Screenshots of a MIB tree and a MIB table
// are saved for a person to look at.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include <qlmib/snmp/MIBTable.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/ui/GridView.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/qt/GridItemModel.h>
#include <qlmib/ui/qt/QtGridWidget.h>

#include "CorpusLiveTest.h"
#include "TreeControlFixture.h"

namespace qlmib::test {
namespace {

using ui::qt::QtGridWidget;

void saveScreenshot(QWidget& widget, const char* name) {
    QCoreApplication::processEvents();
    QDir().mkpath(QLMIB_SCREENSHOT_DIR);
    const auto path = QStringLiteral(QLMIB_SCREENSHOT_DIR "/") + name;
    EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
}

class TreeWidgetTest : public TreeControlFixture<MIBTree> {
protected:
    void SetUp() override {
        TreeControlFixture::SetUp();
        tree.Refresh();
        widget = std::make_unique<QtGridWidget>(tree.TreeView(), toolkit);
        widget->resize(560, 520);
        widget->show();
        QCoreApplication::processEvents();
    }
    QTreeView& view() { return *qobject_cast<QTreeView*>(widget->itemView()); }
    QModelIndex item(const std::string& oid) { return widget->itemModel()->indexOf(row(oid), 0); }
    QPoint centre(const std::string& oid) {
        view().scrollTo(item(oid));
        return view().visualRect(item(oid)).center();
    }
    // The node's open/close button, left of its picture and text.
    QPoint button(const std::string& oid) {
        const auto cell = view().visualRect(item(oid));
        return {cell.left() - view().indentation() / 2, cell.center().y()};
    }

    std::unique_ptr<QtGridWidget> widget;
};

TEST_F(TreeWidgetTest, AClickMakesANodeCurrentAndItsButtonOpensAndClosesItThroughTheGrid) {
    ASSERT_EQ(view().model()->rowCount(), 2);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, centre("1.3.6.1"));
    EXPECT_EQ(tree.Tree.getRow(), row("1.3.6.1"));
    EXPECT_EQ(selected.back(), "1.3.6.1");
    EXPECT_EQ(view().currentIndex(), item("1.3.6.1"));

    const std::string mgmt = "1.3.6.1.2";
    ASSERT_TRUE(tree.Tree.getIsCollapsed(row(mgmt)));
    EXPECT_FALSE(view().isExpanded(item(mgmt)));
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, button(mgmt));
    EXPECT_FALSE(tree.Tree.getIsCollapsed(row(mgmt)));
    EXPECT_TRUE(view().isExpanded(item(mgmt)));
    ASSERT_GT(row("1.3.6.1.2.1"), 0) << "opening loaded the children";
    EXPECT_EQ(view().model()->rowCount(item(mgmt)), 1);
    EXPECT_EQ(tree.Tree.getRow(), row(mgmt)) << "the opened node becomes current";

    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, button(mgmt));
    EXPECT_TRUE(tree.Tree.getIsCollapsed(row(mgmt)));
    EXPECT_FALSE(view().isExpanded(item(mgmt)));

    // Keys go to the control first: Enter toggles the current folder.
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_FALSE(tree.Tree.getIsCollapsed(row(mgmt)));
    EXPECT_TRUE(view().isExpanded(item(mgmt)));
    // The view's own expanding (arrow keys) also goes through the grid.
    view().collapse(item(mgmt));
    EXPECT_TRUE(tree.Tree.getIsCollapsed(row(mgmt)));
}

TEST_F(TreeWidgetTest, DoubleRightClicksAndPressesRaiseTheTreeEvents) {
    tree.SelectOID("1.3.6.1.2.1.1.1");
    std::vector<std::string> doubleClicked;
    auto s1 = tree.OIDDoubleClick.subscribe([&](OID& o) { doubleClicked.push_back(o.getOID()); });
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, centre("1.3.6.1.2.1.1.1"));
    EXPECT_EQ(doubleClicked, std::vector<std::string>{"1.3.6.1.2.1.1.1"});
    const auto drags = toolkit.Drags().size();  // each press on the current row began one

    struct Press {
        std::int16_t button, shift;
        float x, y;
    };
    std::vector<Press> presses;
    auto s2 = tree.MouseDown.subscribe(
        [&](std::int16_t& b, std::int16_t& s, float& x, float& y) { presses.push_back({b, s, x, y}); });
    const auto at = centre("1.3.6.1.2.1.1.2");
    QTest::mouseClick(view().viewport(), Qt::RightButton, Qt::ShiftModifier, at);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].button, ui::RightButton);
    EXPECT_EQ(presses[0].shift, ui::ShiftMask);
    EXPECT_FLOAT_EQ(presses[0].x, widget->toTwipsX(at.x()));
    EXPECT_FLOAT_EQ(presses[0].y, widget->toTwipsY(at.y()));
    EXPECT_EQ(tree.Tree.getRow(), row("1.3.6.1.2.1.1.2")) << "the menu applies to the clicked row";
    EXPECT_EQ(toolkit.Drags().size(), drags) << "a right press drags nothing";

    // A left press inside the selection drags the selected object.
    tree.setDragMethod(MIBSelection_OIDsAndNames);
    QTest::mousePress(view().viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(toolkit.Drags().size(), drags + 1);
    EXPECT_EQ(toolkit.Drags().back().source, &tree.TreeView());
    EXPECT_EQ(toolkit.Drags().back().data.Text, "1.3.6.1.2.1.1.2\tsysObjectID\r\n");
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, at);
}

TEST_F(TreeWidgetTest, ColumnsAndPicturesReachTheView) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(QColor(30, 120, 220));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));
    insertIcon(home.db(), "1.3.6.1.2.1.2", png.toStdString());
    tree.SelectOID("1.3.6.1.4.1.9999.1.2.3.4");
    tree.SelectOID("1.3.6.1.2.1.2.2.1.7");
    auto& header = *view().header();
    EXPECT_TRUE(header.isSectionHidden(1)) << "the OID column starts hidden";
    tree.setOIDsVisible(true);
    EXPECT_FALSE(header.isSectionHidden(1));
    EXPECT_TRUE(view().selectionModel()->selectedIndexes().isEmpty()) << "the tree shows no highlight on one cell";
    saveScreenshot(*widget, "mibtree.png");
    tree.Tree.setColWidth(0, 1440 * 3);
    EXPECT_EQ(header.sectionSize(0), widget->toPixelsX(1440 * 3));
    EXPECT_NEAR(header.sectionSize(0), 3 * widget->logicalDpiX(), 1);
    EXPECT_FALSE(view().model()->data(item("1.3.6.1.4.1.9999.1.2"), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(view().model()->data(item("1.3.6.1.2.1.2"), Qt::DecorationRole).value<QIcon>().pixmap(16).toImage().pixelColor(8, 8),
              image.pixelColor(8, 8))
        << "a custom icon from the database";
}

TEST_F(TreeWidgetTest, ARowOfItsOwnHeightIsShownAtThatHeight) {
    tree.SelectOID("1.3.6.1.2.1.2.2.1.7");
    const auto tall = row("1.3.6.1.2.1.2.2"), plain = row("1.3.6.1.2.1.2.2.1");
    tree.Tree.setRowHeight(tall, 900);
    QCoreApplication::processEvents();
    EXPECT_EQ(view().visualRect(item("1.3.6.1.2.1.2.2")).height(), widget->toPixelsY(900));
    EXPECT_EQ(view().visualRect(item("1.3.6.1.2.1.2.2.1")).height(), widget->toPixelsY(tree.Tree.getRowHeight(plain)));
}

TEST(TreeColumnTest, TheTreeColumnGrowsToShowTheNamesOfDeepNodes) {
    ui::HeadlessToolkit toolkit;
    ui::GridModel grid;
    grid.setCols(2);
    grid.setFixedRows(1);
    grid.setOutlineBar(ui::OutlineBarComplete);
    grid.AddItem("Name\tOID");
    grid.setColWidth(0, 2880);
    std::int32_t node = -1;
    for (int level = 0; level < 12; ++level) node = grid.AddNode(node, "level" + std::to_string(level) + "Name");
    const auto deepest = grid.AddNode(node, "ifMauAutoNegCapAdvertisedBits (9)");
    ui::GridView view(grid);
    QtGridWidget widget(view, toolkit);
    widget.resize(400, 500);
    widget.show();
    QCoreApplication::processEvents();
    auto& tree = *qobject_cast<QTreeView*>(widget.itemView());
    const auto item = widget.itemModel()->indexOf(deepest, 0);
    ASSERT_TRUE(tree.viewport()->rect().intersects(tree.visualRect(item)));
    EXPECT_GE(tree.visualRect(item).width(), tree.sizeHintForIndex(item).width()) << "the name is not cut";
    EXPECT_GT(tree.horizontalScrollBar()->maximum(), 0) << "wider than the view: it scrolls";
    EXPECT_EQ(grid.getColWidth(0), 2880) << "the grid keeps its own width";
}

// A plain table grid: a header row, a fixed first column and three rows.
class TableWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setCols(3);
        grid.setFixedRows(1);
        grid.setFixedCols(1);
        for (const char* line : {"#\tName\tStatus", "1\tbeta\tup", "2\talpha\tdown", "3\tgamma\ttesting"})
            grid.AddItem(line);
        grid.setExplorerBar(ui::ExplorerBarSortAndMove);
        grid.setEditable(ui::EditableKeyboardMouse);
        widget = std::make_unique<QtGridWidget>(view, toolkit);
        widget->resize(400, 200);
        widget->show();
        QCoreApplication::processEvents();
    }
    QTableView& table() { return *qobject_cast<QTableView*>(widget->itemView()); }
    QPoint centre(std::int32_t row, std::int32_t col) {
        return table().visualRect(widget->itemModel()->indexOf(row, col)).center();
    }
    QPoint headerCentre(std::int32_t col) {
        auto& header = *table().horizontalHeader();
        const int section = widget->itemModel()->section(col);
        return {header.sectionViewportPosition(section) + header.sectionSize(section) / 2, header.height() / 2};
    }

    ui::HeadlessToolkit toolkit;
    ui::GridModel grid;
    ui::GridView view{grid};
    std::unique_ptr<QtGridWidget> widget;
};

TEST_F(TableWidgetTest, KeysReachKeyDownAndKeyPressWithTheirCodes) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        std::vector<std::pair<std::int16_t, std::int16_t>> keyDowns;  // a modifier key is pressed first
        std::int16_t keyAscii;                                        // 0: no KeyPress
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::NoModifier, "a", {{ui::KeyA, 0}}, 'a'},
        {Qt::Key_A, Qt::ShiftModifier, "A", {{ui::KeyShift, ui::ShiftMask}, {ui::KeyA, ui::ShiftMask}}, 'A'},
        {Qt::Key_C, Qt::ControlModifier, "\x03", {{ui::KeyControl, ui::CtrlMask}, {ui::KeyC, ui::CtrlMask}},
         ui::AsciiCtrlC},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", {{ui::KeyEscape, 0}}, ui::AsciiEscape},
        {Qt::Key_Down, Qt::NoModifier, "", {{ui::KeyArrowDown, 0}}, 0},
        {Qt::Key_F5, Qt::AltModifier, "", {{ui::KeyMenu, ui::AltMask}, {ui::KeyF5, ui::AltMask}}, 0},
    };
    table().setFocus();
    for (const auto& c : cases) {
        std::vector<std::pair<std::int16_t, std::int16_t>> downs;
        std::vector<std::int16_t> presses;
        auto s1 = grid.KeyDown.subscribe([&](std::int16_t& k, std::int16_t& s) { downs.emplace_back(k, s); });
        auto s2 = grid.KeyPress.subscribe([&](std::int16_t& k) { presses.push_back(k); });
        QTest::sendKeyEvent(QTest::Click, &table(), c.key, QString::fromLatin1(c.text), c.modifiers);
        EXPECT_EQ(downs, c.keyDowns) << c.key;
        EXPECT_EQ(presses, c.keyAscii ? std::vector<std::int16_t>{c.keyAscii} : std::vector<std::int16_t>{}) << c.key;
    }
    EXPECT_EQ(grid.getRow(), 2) << "the arrow moved the current cell down; typed letters search nothing";

    // A handler that swallows the key keeps it from the view.
    auto swallow = grid.KeyDown.subscribe([](std::int16_t& k, std::int16_t&) { k = 0; });
    QTest::keyClick(&table(), Qt::Key_Down);
    EXPECT_EQ(grid.getRow(), 2);
}

// The controls raise no event of their own on mouse moves and releases;
// moves keep the grid's cell under the mouse (MouseRow, MouseCol) current.
TEST_F(TableWidgetTest, MouseMovesTellTheGridTheCellUnderTheMouse) {
    QTest::mouseMove(table().viewport(), centre(2, 1));
    EXPECT_EQ(std::pair(grid.getMouseRow(), grid.getMouseCol()), std::pair(2, 1));
    QTest::mouseMove(table().viewport(), centre(3, 2));
    EXPECT_EQ(std::pair(grid.getMouseRow(), grid.getMouseCol()), std::pair(3, 2));
    QTest::mouseMove(table().viewport(), QPoint(table().viewport()->width() - 2, table().viewport()->height() - 2));
    EXPECT_EQ(std::pair(grid.getMouseRow(), grid.getMouseCol()), std::pair(-1, -1)) << "below the last row";
}

TEST_F(TableWidgetTest, HeaderClicksSortAndHeaderDragsMoveColumnsThroughTheGrid) {
    std::vector<std::pair<std::int32_t, std::int16_t>> sorts;
    auto s1 = grid.AfterSort.subscribe([&](std::int32_t c, std::int16_t o) { sorts.emplace_back(c, o); });
    QTest::mouseClick(table().horizontalHeader()->viewport(), Qt::LeftButton, {}, headerCentre(1));
    QTest::mouseClick(table().horizontalHeader()->viewport(), Qt::LeftButton, {}, headerCentre(1));
    EXPECT_EQ(sorts, (std::vector<std::pair<std::int32_t, std::int16_t>>{{1, ui::SortGenericAscending},
                                                                         {1, ui::SortGenericDescending}}));
    EXPECT_EQ(table().model()->index(0, 0).data().toString(), "gamma");
    EXPECT_EQ(table().model()->headerData(0, Qt::Vertical).toString(), "3") << "the fixed column moved with its row";

    std::vector<std::pair<std::int32_t, std::int32_t>> moves;
    auto s2 = grid.AfterMoveColumn.subscribe([&](std::int32_t c, std::int32_t p) { moves.emplace_back(c, p); });
    table().horizontalHeader()->moveSection(0, 1);  // what a header drag ends with
    EXPECT_EQ(moves, (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, 2}}));
    EXPECT_EQ(grid.getTextMatrix(0, 2), "Name");
    EXPECT_EQ(table().horizontalHeader()->visualIndex(0), 0) << "the grid moved the data, not the view";
    EXPECT_EQ(table().model()->headerData(1, Qt::Horizontal).toString(), "Name");
}

TEST_F(TableWidgetTest, ADoubleClickEditsAnEnumerationWithADropDownAndF2ATextWithALineEditor) {
    grid.setComboList("#1;up|#2;down|#3;testing");
    std::vector<std::pair<std::int32_t, std::int32_t>> edits;
    auto s = grid.AfterEdit.subscribe([&](std::int32_t r, std::int32_t c) { edits.emplace_back(r, c); });
    QTest::mouseDClick(table().viewport(), Qt::LeftButton, {}, centre(1, 2));
    auto* combo = qobject_cast<QComboBox*>(widget->editor());
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "up");
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(edits, (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, 2}}));
    EXPECT_EQ(grid.getTextMatrix(1, 2), "down");
    EXPECT_EQ(grid.getComboData(), "2");
    QCoreApplication::processEvents();
    EXPECT_EQ(widget->editor(), nullptr);

    grid.setComboList("");
    grid.Select(2, 1);
    table().setFocus();
    QTest::keyClick(&table(), Qt::Key_F2);
    auto* line = qobject_cast<QLineEdit*>(widget->editor());
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, "omega");
    QTest::keyClick(line, Qt::Key_Escape);
    EXPECT_EQ(grid.getTextMatrix(2, 1), "alpha") << "Escape cancels";
    EXPECT_EQ(std::pair(grid.getRow(), grid.getCol()), std::pair(2, 1)) << "closing the editor moves nothing";
    QTest::keyClick(&table(), Qt::Key_F2);
    line = qobject_cast<QLineEdit*>(widget->editor());
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, "omega");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(grid.getTextMatrix(2, 1), "omega");
    EXPECT_EQ(edits.back(), std::pair(2, 1));
}

TEST_F(TableWidgetTest, HiddenRowsFocusAndHighlightSettingsAndTheCellLook) {
    grid.setRowHidden(2, true);
    EXPECT_TRUE(table().isRowHidden(1));
    grid.setRowHeight(3, 600);
    EXPECT_EQ(table().rowHeight(2), widget->toPixelsY(600));
    grid.setCellForeColor(1, 1, ui::Color(200, 0, 0));
    grid.setCellFontBold(1, 1, true);
    grid.setCellAlignment(1, 1, ui::AlignCenterCenter);
    const auto cell = table().model()->index(0, 0);
    EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(200, 0, 0));
    EXPECT_TRUE(cell.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(Qt::Alignment(cell.data(Qt::TextAlignmentRole).toInt()), Qt::AlignCenter);
    EXPECT_EQ(Qt::Alignment(table().model()->index(0, 1).data(Qt::TextAlignmentRole).toInt()),
              Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(Qt::Alignment(table().model()->headerData(1, Qt::Vertical, Qt::TextAlignmentRole).toInt()),
              Qt::AlignRight | Qt::AlignVCenter)
        << "a number in the fixed column";

    // The look settings change what the delegate draws: compare pictures.
    grid.Select(1, 1);
    table().setFocus();
    const auto shot = [&] {
        QCoreApplication::processEvents();
        return table().viewport()->grab().toImage();
    };
    shot();  // the first picture comes before the focus settles
    const auto normal = shot();
    grid.setHighLight(ui::HighLightNever);
    const auto plain = shot();
    EXPECT_NE(plain, normal) << "no highlight";
    grid.setHighLight(ui::HighLightAlways);
    EXPECT_EQ(shot(), normal);
}

TEST_F(TableWidgetTest, WithRedrawOffTheViewKeepsItsLastPictureAndTakesTheNewRowsWhenRedrawComesBack) {
    const auto picture = [&] {
        QCoreApplication::processEvents();
        return widget->grab().toImage();
    };
    picture();
    const auto before = picture();
    grid.setRedraw(ui::RedrawNone);
    EXPECT_EQ(picture(), before) << "a grab while redraw is off shows the last picture, not a blank grid";
    grid.AddItem("4\tdelta\tup");
    grid.setTextMatrix(1, 1, "changed");
    EXPECT_EQ(picture(), before) << "changes wait for redraw";
    EXPECT_EQ(table().model()->rowCount(), 3) << "rows added with redraw off wait for it";
    grid.AddItem("5\tepsilon\tdown");
    grid.RemoveItem(5);
    grid.setRedraw(ui::RedrawBuffered);
    ASSERT_EQ(table().model()->rowCount(), 4);
    EXPECT_EQ(table().model()->index(3, 0).data().toString(), "delta");
    EXPECT_EQ(table().model()->index(0, 0).data().toString(), "changed");
    EXPECT_NE(picture(), before);

    // A change of rows in the middle takes the waiting rows in first.
    grid.setRedraw(ui::RedrawNone);
    grid.AddItem("6\tzeta\tup");
    grid.AddItem("0\tfirst\tup", 1);
    ASSERT_EQ(table().model()->rowCount(), 6);
    EXPECT_EQ(table().model()->index(0, 0).data().toString(), "first");
    EXPECT_EQ(table().model()->index(5, 0).data().toString(), "zeta");
}

TEST_F(TableWidgetTest, CellsLookAsTheStyleDrawsThem) {
    grid.AddItem("12345\tA text far too wide for its column, cut with an ellipsis\tWAVE AV");
    grid.setCellFontBold(2, 1, true);
    grid.setCellForeColor(3, 2, ui::Color(200, 0, 0));
    grid.setCellBackColor(1, 2, ui::Color(255, 255, 160));
    grid.setCellAlignment(3, 1, ui::AlignRightCenter);
    grid.setCellAlignment(2, 2, ui::AlignCenterBottom);
    grid.setRowHeight(2, 600);
    grid.Select(1, 1, 2, 1);
    table().setFocus();
    const auto picture = [&] {
        QCoreApplication::processEvents();
        return table().viewport()->grab().toImage();
    };
    picture();
    const auto ours = picture();
    table().setItemDelegate(new QStyledItemDelegate(&table()));
    EXPECT_EQ(picture(), ours);
}

class TableLiveWidgetTest : public CorpusLiveTest {};

TEST_F(TableLiveWidgetTest, ADownloadedTableShowsItsHeadersAndFrozenIndexColumn) {
    MIBTable table(toolkit);
    aim(table);
    ASSERT_TRUE(runToIdle(table, [&] { table.GetTable("ifTable"); }));
    ui::GridView* gridView = nullptr;
    for (auto* child : table.Children())
        if (child->Kind() == ui::WidgetKind::GridView) gridView = static_cast<ui::GridView*>(child);
    ASSERT_NE(gridView, nullptr);
    QtGridWidget widget(*gridView, toolkit);
    widget.resize(900, 260);
    widget.show();
    auto& view = *qobject_cast<QTableView*>(widget.itemView());
    const auto& grid = table.getTableObject();
    EXPECT_EQ(view.model()->rowCount(), grid.getRows() - 1);
    EXPECT_EQ(view.model()->headerData(1, Qt::Horizontal).toString().toStdString(), grid.getTextMatrix(0, 2));
    EXPECT_TRUE(view.verticalHeader()->isVisible()) << "the fixed index column";

    // A click on a value reports the selection through the control.
    std::vector<std::string> reported;
    auto s = table.SelChange.subscribe([&](const std::string& oid) { reported.push_back(oid); });
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(view.model()->index(0, 1)).center());
    EXPECT_EQ(grid.getRow(), 1);
    EXPECT_EQ(grid.getCol(), 2);
    EXPECT_FALSE(reported.empty());
    saveScreenshot(widget, "mibtable.png");
}

}  // namespace
}  // namespace qlmib::test
