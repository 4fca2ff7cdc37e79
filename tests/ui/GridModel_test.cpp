#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>

#include <qlmib/common/Error.h>
#include <qlmib/ui/GridModel.h>
#include <qlmib/ui/InputCodes.h>

namespace qlmib::ui {
namespace {

auto ThrowsError(long number) {
    return testing::Throws<Error>(testing::ResultOf([](const Error& e) { return e.Number(); }, number));
}

// A two-column tree grid: a header row, then
//   a            level 0
//     a1         level 1
//       a1x      level 2
//     a2         level 1
//   b            level 0
struct TreeGrid {
    GridModel g;
    std::int32_t a, a1, a1x, a2, b;
    TreeGrid() {
        g.setCols(2);
        g.setRows(1);
        g.setFixedRows(1);
        a = g.AddNode(-1, "a", "O:a");
        b = g.AddNode(-1, "b", "O:b");
        a1 = g.AddNode(a, "a1", "O:a1");
        a2 = g.AddNode(a, "a2", "O:a2");
        a1x = g.AddNode(g.FindRow("O:a1"), "a1x", "O:a1x");
        a = g.FindRow("O:a"), a1 = g.FindRow("O:a1"), a2 = g.FindRow("O:a2"), b = g.FindRow("O:b");
    }
};

TEST(GridOutline, AddNodeAppendsAsLastChildAfterTheWholeSubtree) {
    TreeGrid t;
    EXPECT_EQ((std::vector{t.a, t.a1, t.a1x, t.a2, t.b}), (std::vector{1, 2, 3, 4, 5}));
    struct Case {
        std::int32_t row;
        std::int16_t level;
        std::int32_t parent, firstChild, nextSibling, subtreeEnd;
    };
    const Case cases[] = {
        {t.a, 0, -1, t.a1, t.b, t.b},
        {t.a1, 1, t.a, t.a1x, t.a2, t.a2},
        {t.a1x, 2, t.a1, -1, -1, t.a2},
        {t.a2, 1, t.a, -1, -1, t.b},
        {t.b, 0, -1, -1, -1, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(t.g.getTextMatrix(c.row, 0));
        EXPECT_EQ(t.g.getRowOutlineLevel(c.row), c.level);
        EXPECT_EQ(t.g.ParentRow(c.row), c.parent);
        EXPECT_EQ(t.g.FirstChildRow(c.row), c.firstChild);
        EXPECT_EQ(t.g.HasChildren(c.row), c.firstChild >= 0);
        EXPECT_EQ(t.g.NextSiblingRow(c.row), c.nextSibling);
        EXPECT_EQ(t.g.SubtreeEnd(c.row), c.subtreeEnd);
    }
}

TEST(GridOutline, KeysFollowTheirRowsThroughInsertionsAndRemovals) {
    TreeGrid t;
    const auto find = [&](std::initializer_list<const char*> keys) {
        std::vector<std::int32_t> rows;
        for (const char* k : keys) rows.push_back(t.g.FindRow(k));
        return rows;
    };
    t.g.RemoveItem(t.a1x);
    EXPECT_EQ(find({"O:a1x", "O:a2", "O:b"}), (std::vector{-1, 3, 4}));
    t.g.AddItem("top\tx", 1);
    EXPECT_EQ(find({"O:a", "O:b"}), (std::vector{2, 5}));
    t.g.setRowKey(5, "O:renamed");
    EXPECT_EQ(find({"O:b", "O:renamed"}), (std::vector{-1, 5}));
    t.g.setRows(3);
    EXPECT_EQ(find({"O:renamed", ""}), (std::vector{-1, -1})) << "keyless rows are not found by the empty key";
}

TEST(GridOutline, CollapsedNodesHideTheirDescendantsOnlyAndOutlineCollapsesByLevel) {
    TreeGrid t;
    using Flags = std::vector<bool>;
    const auto each = [&](auto property) {  // over a, a1, a1x, a2, b
        Flags out;
        for (const auto row : {t.a, t.a1, t.a1x, t.a2, t.b}) out.push_back((t.g.*property)(row));
        return out;
    };
    t.g.setIsCollapsed(t.a1, true);
    EXPECT_EQ(each(&GridModel::IsRowVisible), (Flags{1, 1, 0, 1, 1}));
    t.g.setIsCollapsed(t.a1, false);
    t.g.setIsCollapsed(t.a, true);
    EXPECT_EQ(each(&GridModel::IsRowVisible), (Flags{1, 0, 0, 0, 1})) << "expanded a1 under collapsed a stays hidden";
    t.g.setRowHidden(t.b, true);
    EXPECT_FALSE(t.g.IsRowVisible(t.b));

    // Outline collapses the nodes with children at and below a level, raising no events;
    // a node without children keeps its state.
    t.g.setIsCollapsed(t.a, false);
    int events = 0;
    auto s = t.g.BeforeCollapse.subscribe([&](std::int32_t, std::int16_t, bool&) { ++events; });
    t.g.Outline(1);
    EXPECT_EQ(each(&GridModel::getIsCollapsed), (Flags{0, 1, 0, 0, 0}));
    t.g.Outline(0);
    EXPECT_EQ(each(&GridModel::getIsCollapsed), (Flags{1, 1, 0, 0, 0}));
    t.g.Outline(-1);
    EXPECT_EQ(each(&GridModel::getIsCollapsed), (Flags{0, 0, 0, 0, 0}));
    EXPECT_EQ(events, 0);
}

TEST(GridOutline, ToggleRaisesBeforeAndAfterMayBeCancelledAndFollowsANodeLoadedMeanwhile) {
    TreeGrid t;
    using P = std::pair<std::int32_t, std::int16_t>;
    std::vector<P> before, after;
    bool cancel = false, load = false;
    auto s1 = t.g.BeforeCollapse.subscribe([&](std::int32_t row, std::int16_t state, bool& c) {
        before.emplace_back(row, state);
        c = cancel;
        // A lazily loaded node: a placeholder row above it goes, children come.
        if (load && state == OutlineExpanded) t.g.RemoveItem(t.g.FindRow("O:a1x")), t.g.AddNode(row - 1, "b1", "O:b1");
    });
    auto s2 = t.g.AfterCollapse.subscribe([&](std::int32_t row, std::int16_t state) { after.emplace_back(row, state); });
    t.g.ToggleNode(t.a1);
    EXPECT_TRUE(t.g.getIsCollapsed(t.a1));
    t.g.ToggleNode(t.a1);
    EXPECT_FALSE(t.g.getIsCollapsed(t.a1));
    cancel = true;
    t.g.ToggleNode(t.a1);
    EXPECT_FALSE(t.g.getIsCollapsed(t.a1)) << "cancelled";
    EXPECT_EQ(before, (std::vector<P>{{t.a1, OutlineCollapsed}, {t.a1, OutlineExpanded}, {t.a1, OutlineCollapsed}}));
    EXPECT_EQ(after, (std::vector<P>{{t.a1, OutlineCollapsed}, {t.a1, OutlineExpanded}}));

    cancel = false, load = true;
    t.g.setIsCollapsed(t.b, true);
    t.g.ToggleNode(t.b);
    const auto b = t.g.FindRow("O:b");
    EXPECT_EQ(after.back(), (P{b, OutlineExpanded})) << "the node's row after loading";
    EXPECT_FALSE(t.g.getIsCollapsed(b));
    EXPECT_EQ(t.g.ParentRow(t.g.FindRow("O:b1")), b);
}

struct FlatGrid {
    GridModel g;
    explicit FlatGrid(const std::vector<std::string>& column0, const std::vector<std::string>& column1 = {}) {
        g.setCols(2);
        g.setFixedRows(1);
        g.AddItem("Name\tValue");
        for (size_t i = 0; i < column0.size(); ++i)
            g.AddItem(column0[i] + "\t" + (i < column1.size() ? column1[i] : std::to_string(i)));
    }
    std::vector<std::string> column(std::int32_t c) const {
        std::vector<std::string> out;
        for (std::int32_t r = 1; r < g.getRows(); ++r) out.push_back(g.getTextMatrix(r, c));
        return out;
    }
    void sortAll(std::int32_t col, std::int16_t order) {
        g.Select(1, col, g.getRows() - 1, col);
        g.setSort(order);
    }
};

TEST(GridSort, BuiltInOrders) {
    using V = std::vector<std::string>;
    struct Case {
        const char* name;
        std::int16_t order;
        V expected;
    };
    const V input{"b", "10", "A", "9", "a", "-1.5", "B", "(none)"};
    const Case cases[] = {
        {"generic: numbers first by value, then texts ignoring case, stable", SortGenericAscending,
         {"-1.5", "9", "10", "(none)", "A", "a", "b", "B"}},
        {"generic descending", SortGenericDescending, {"b", "B", "A", "a", "(none)", "10", "9", "-1.5"}},
        {"numeric: texts count as 0", SortNumericAscending, {"-1.5", "b", "A", "a", "B", "(none)", "9", "10"}},
        {"string: by bytes", SortStringAscending, {"(none)", "-1.5", "10", "9", "A", "B", "a", "b"}},
        {"string ignoring case", SortStringNoCaseAscending, {"(none)", "-1.5", "10", "9", "A", "a", "b", "B"}},
        {"none leaves the order", SortNone, input},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FlatGrid f(input);  // column 1 holds each row's place in the input
        f.g.setRowKey(1, "K:b");
        f.g.setCellData(1, 1, Variant(3.0));
        f.sortAll(0, c.order);
        EXPECT_EQ(f.column(0), c.expected);
        const auto texts = f.column(0), places = f.column(1);
        for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], input[std::stoul(places[i])]) << "moved whole";
        EXPECT_EQ(f.g.getTextMatrix(f.g.FindRow("K:b"), 0), "b") << "with their keys";
        EXPECT_EQ(f.g.getCellData(f.g.FindRow("K:b"), 1), Variant(3.0)) << "and cell data";
        EXPECT_EQ(f.g.getTextMatrix(0, 0), "Name") << "fixed rows never move";
    }
}

TEST(GridSort, CustomComparisonDecidesThroughTheCompareEvent) {
    // Cell data hold dates as text; the comparison reads them, as a host does.
    FlatGrid f({"x", "y", "z"});
    const char* dates[] = {"2021-05-01", "2019-01-01", "2020-03-03"};
    for (int r = 1; r <= 3; ++r) f.g.setCellData(r, 1, Variant(dates[r - 1]));
    std::int16_t direction = -1;
    auto s1 = f.g.BeforeSort.subscribe([&](std::int32_t col, std::int16_t& order) {
        if (col == 1) order = SortCustom;
    });
    auto s2 = f.g.Compare.subscribe([&](std::int32_t r1, std::int32_t r2, std::int16_t& cmp) {
        const auto c = Variant::Compare(f.g.getCellData(r1, 1), f.g.getCellData(r2, 1));
        cmp = static_cast<std::int16_t>(c == 0 ? 0 : (c < 0 ? direction : -direction));
    });
    f.sortAll(1, SortGenericAscending);
    EXPECT_EQ(f.column(0), (std::vector<std::string>{"y", "z", "x"}));
    direction = 1;
    f.sortAll(1, SortGenericAscending);
    EXPECT_EQ(f.column(0), (std::vector<std::string>{"x", "z", "y"}));
}

TEST(GridSort, AnInconsistentComparisonNeitherCrashesNorLosesRows) {
    std::vector<std::string> items;
    for (int i = 0; i < 500; ++i) items.push_back(std::to_string(i));
    FlatGrid f(items);
    std::mt19937 random(7);
    auto s = f.g.Compare.subscribe(
        [&](std::int32_t, std::int32_t, std::int16_t& cmp) { cmp = static_cast<std::int16_t>(random() % 3) - 1; });
    f.sortAll(0, SortCustom);
    auto sorted = f.column(0);
    std::sort(sorted.begin(), sorted.end());
    std::sort(items.begin(), items.end());
    EXPECT_EQ(sorted, items);
}

TEST(GridSort, EventsBracketASortBeforeSortMayCancelAndHeaderClicksAlternate) {
    FlatGrid f({"b", "a"});
    std::vector<std::string> log;
    auto s1 = f.g.OperationStarted.subscribe([&] { log.push_back("start"); });
    auto s2 = f.g.OperationEnded.subscribe([&] { log.push_back("end"); });
    auto s3 = f.g.BeforeSort.subscribe([&](std::int32_t, std::int16_t& order) {
        log.push_back("before " + std::to_string(order));
        if (log.size() > 4) order = SortNone;
    });
    auto s4 = f.g.AfterSort.subscribe([&](std::int32_t, std::int16_t order) { log.push_back("after " + std::to_string(order)); });
    f.sortAll(0, SortStringAscending);
    EXPECT_EQ(f.column(0), (std::vector<std::string>{"a", "b"}));
    f.sortAll(0, SortStringDescending);
    EXPECT_EQ(f.column(0), (std::vector<std::string>{"a", "b"})) << "cancelled";
    EXPECT_EQ(log, (std::vector<std::string>{"start", "before 7", "after 7", "end", "start", "before 8", "end"}));

    FlatGrid h({"b", "c", "a"});
    h.g.UserSortByHeader(0);
    EXPECT_EQ(h.column(0), (std::vector<std::string>{"a", "b", "c"}));
    h.g.UserSortByHeader(0);
    EXPECT_EQ(h.column(0), (std::vector<std::string>{"c", "b", "a"}));
    h.g.setColSort(0, SortStringAscending);
    h.g.UserSortByHeader(0), h.g.UserSortByHeader(0);
    EXPECT_EQ(h.column(0), (std::vector<std::string>{"a", "b", "c"})) << "unless the column has a sort setting";
}

TEST(GridSelection, CurrentCellSelectionAndClipAsRowsComeAndGo) {
    FlatGrid f({"a", "b", "c"}, {"1", "2", "3"});
    std::vector<std::array<std::int32_t, 4>> moves;
    int selChanges = 0;
    auto s1 = f.g.AfterRowColChange.subscribe(
        [&](std::int32_t r0, std::int32_t c0, std::int32_t r1, std::int32_t c1) { moves.push_back({r0, c0, r1, c1}); });
    auto s2 = f.g.SelChange.subscribe([&] { ++selChanges; });
    EXPECT_EQ(f.g.getRow(), 1) << "the first row below the fixed rows";
    f.g.Select(3, 1, 2, 0);
    EXPECT_EQ(f.g.GetSelection(), (CellRange{2, 0, 3, 1}));
    EXPECT_EQ(f.g.getClip(), "b\t2\rc\t3");
    f.g.Select(3, 1, 2, 0);
    f.g.setRow(1);
    EXPECT_EQ(f.g.GetSelection(), (CellRange{1, 0, 1, 1})) << "Row collapses the row selection, not the columns";
    f.g.setCol(0);
    EXPECT_EQ(f.g.getClip(), "a");
    using M = std::array<std::int32_t, 4>;
    EXPECT_EQ(moves, (std::vector<M>{{1, 0, 3, 1}, {3, 1, 1, 1}, {1, 1, 1, 0}}));
    EXPECT_EQ(selChanges, 3);

    f.g.setRow(3);
    f.g.setRows(2);
    EXPECT_EQ(f.g.getRow(), 1) << "the cursor stays inside the grid as rows go";
    f.g.setRows(0);
    EXPECT_EQ(f.g.getRow(), -1);
    EXPECT_EQ(f.g.GetSelection(), CellRange{});
    EXPECT_EQ(f.g.getClip(), "");
}

TEST(GridCells, CellPropertiesOverABlockAndSubscriptErrorsOutOfRange) {
    FlatGrid f({"a"});
    const std::function<void()> calls[] = {
        [&] { (void)f.g.getTextMatrix(2, 0); },  [&] { f.g.setTextMatrix(0, 2, "x"); },
        [&] { f.g.setRow(-1); },                 [&] { f.g.RemoveItem(5); },
        [&] { (void)f.g.getColData(-1); },       [&] { f.g.setCellFontBold(9, 0, true); },
        [&] { f.g.AddItem("x", 9); },            [&] { f.g.setComboIndex(0); },
    };
    for (const auto& call : calls) EXPECT_THAT(call, ThrowsError(ERR_SUBSCRIPT));

    f.g.AddItem("b\t1");
    f.g.setCell(CellForeColor, 1, 0, Variant(static_cast<double>(Color(0, 128, 0).ToOle())), 2, 1);
    EXPECT_EQ(f.g.getCellForeColor(2, 1), Color(0, 128, 0));
    EXPECT_EQ(f.g.getCell(CellForeColor, 1, 0).number(), Color(0, 128, 0).ToOle());
    f.g.setCell(CellForeColor, 2, 1, Variant());
    EXPECT_FALSE(f.g.getCellForeColor(2, 1)) << "empty resets to the grid's colour";
    f.g.setCell(CellText, 1, 0, Variant(12.5));
    EXPECT_EQ(f.g.getTextMatrix(1, 0), "12.5");
    f.g.setCell(CellData, 1, 1, Variant("raw"));
    EXPECT_EQ(f.g.getCell(CellData, 1, 1), Variant("raw"));
    EXPECT_EQ(f.g.getCell(CellText, 0, 1), Variant("Value"));
    EXPECT_THAT([&] { f.g.setCell(CellFloodPercent, 1, 1, Variant(50)); }, ThrowsError(ERR_INVALID_CALL));
}

TEST(GridColumns, MovedColumnsTakeTheirCellsAndSettings) {
    FlatGrid f({"a"});
    f.g.setColKey(0, "first");
    f.g.setColData(0, Variant(7));
    std::vector<std::int32_t> moved;
    auto s = f.g.AfterMoveColumn.subscribe([&](std::int32_t c, std::int32_t p) { moved = {c, p}; });
    f.g.UserMoveColumn(0, 1);
    EXPECT_EQ(f.column(1), std::vector<std::string>{"a"});
    EXPECT_EQ(f.g.ColIndex("first"), 1);
    EXPECT_EQ(f.g.getColData(1), Variant(7));
    EXPECT_EQ(moved, (std::vector<std::int32_t>{0, 1}));
}

TEST(GridColumns, AutoSizeMeasuresWithTheFontMetrics) {
    TreeGrid t;  // the fixed metrics: 8 points, 96 twips a character, 104 in bold
    t.g.setTextMatrix(0, 1, "OID");
    t.g.setTextMatrix(t.a1x, 1, "1.3.6.1");
    t.g.setCellFontBold(t.b, 1, true);
    t.g.setTextMatrix(t.b, 1, "1.3.6");
    t.g.AutoSize(0, 1);
    EXPECT_EQ(t.g.getColWidth(1), 7 * 96 + 120);
    EXPECT_EQ(t.g.getColWidth(0), 3 * 96 + 3 * 240 + 120) << "a1x: three characters at level 2";
    t.g.setTextMatrix(t.a, 1, "two\r\nlines");
    t.g.setAutoSizeMode(AutoSizeRowHeight);
    t.g.AutoSize(1);
    EXPECT_EQ(t.g.getRowHeight(t.a), 2 * t.g.getRowHeight(t.b) - 45);
}

TEST(GridEdit, BeforeStartAndAfterEditWithADropDownList) {
    FlatGrid f({"up"});
    std::vector<std::string> log;
    bool refuse = false;
    auto s1 = f.g.BeforeEdit.subscribe([&](std::int32_t r, std::int32_t c, bool& cancel) {
        log.push_back("before " + std::to_string(r) + "," + std::to_string(c));
        cancel = refuse;
        f.g.setComboList("#1;up(1)|#2;down(2)|plain");
    });
    auto s2 = f.g.StartEdit.subscribe([&](std::int32_t r, std::int32_t c, bool&) {
        log.push_back("start");
        f.g.setTextMatrix(r, c, "up(1)");
    });
    auto s3 = f.g.AfterEdit.subscribe([&](std::int32_t, std::int32_t) { log.push_back("after"); });

    ASSERT_TRUE(f.g.EditCell(1, 0));
    EXPECT_EQ(f.g.getEditText(), "up(1)") << "the editor starts with the text StartEdit left";
    EXPECT_EQ(f.g.getComboIndex(), 0);
    EXPECT_EQ(f.g.ComboItems(), (std::vector<ComboItem>{{"1", "up(1)"}, {"2", "down(2)"}, {"", "plain"}}));
    f.g.setComboIndex(1);
    EXPECT_EQ(f.g.getComboData(), "2");
    f.g.CommitEdit();
    EXPECT_EQ(f.g.getTextMatrix(1, 0), "down(2)");
    EXPECT_FALSE(f.g.getEditing());

    ASSERT_TRUE(f.g.EditCell(1, 0));
    f.g.setEditText("typed");
    f.g.CancelEdit();
    EXPECT_EQ(f.g.getTextMatrix(1, 0), "up(1)") << "StartEdit's text stays; the typing is dropped";

    refuse = true;
    EXPECT_FALSE(f.g.EditCell(1, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"before 1,0", "start", "after", "before 1,0", "start", "before 1,0"}));
}

TEST(GridInput, HandlersMayChangeByReferenceArguments) {
    FlatGrid f({"a"});
    auto s1 = f.g.KeyPress.subscribe([](std::int16_t& key) { key = key == AsciiReturn ? 0 : key; });
    auto s2 = f.g.KeyDown.subscribe([](std::int16_t& code, std::int16_t& s) { code = s & CtrlMask ? 0 : code; });
    float seenX = 0;
    auto s3 = f.g.MouseDown.subscribe([&](std::int16_t&, std::int16_t&, float& x, float&) { seenX = x; });
    EXPECT_EQ(f.g.UserKeyPress(AsciiReturn), 0);
    EXPECT_EQ(f.g.UserKeyPress('a'), 'a');
    EXPECT_EQ(f.g.UserKeyDown(KeyC, CtrlMask), 0);
    EXPECT_EQ(f.g.UserKeyDown(KeyC, 0), KeyC);
    f.g.UserMouseDown(RightButton, 0, 150.f, 20.f, 1, 1);
    EXPECT_EQ(seenX, 150.f);
    EXPECT_EQ(std::pair(f.g.getMouseRow(), f.g.getMouseCol()), std::pair(1, 1));
}

// A view's record of notifications, with the row count it saw at each.
struct RecordingView : GridObserver {
    const GridModel& g;
    std::vector<std::string> log;
    explicit RecordingView(const GridModel& model) : g(model) {}
    void add(const char* what, std::int32_t a, std::int32_t b) {
        log.push_back(std::string(what) + " " + std::to_string(a) + "+" + std::to_string(b) + " rows=" +
                      std::to_string(g.getRows()));
    }
    void rowsAboutToBeInserted(std::int32_t f, std::int32_t n) override { add("about-insert", f, n); }
    void rowsInserted(std::int32_t f, std::int32_t n) override { add("inserted", f, n); }
    void rowsAboutToBeRemoved(std::int32_t f, std::int32_t n) override { add("about-remove", f, n); }
    void rowsRemoved(std::int32_t f, std::int32_t n) override { add("removed", f, n); }
    void layoutAboutToChange() override { add("about-layout", 0, 0); }
    void layoutChanged() override { add("layout", 0, 0); }
    void cellsChanged(const CellRange& c) override { add("cells", c.row1, c.col1); }
};

TEST(GridObserver, AboutToNotificationsComeBeforeTheChange) {
    GridModel g;
    g.setCols(1);
    RecordingView view(g);
    g.addObserver(&view);
    g.AddNode(-1, "root", "r");
    g.AddNode(0, "child", "c");
    g.setTextMatrix(1, 0, "x");
    g.RemoveItem(1);
    g.setRows(3);
    g.Select(0, 0, 2, 0);
    g.setSort(SortStringAscending);
    g.removeObserver(&view);
    g.setRows(0);
    EXPECT_EQ(view.log, (std::vector<std::string>{
                            "about-insert 0+1 rows=0", "inserted 0+1 rows=1", "about-insert 1+1 rows=1",
                            "inserted 1+1 rows=2", "cells 1+0 rows=2", "about-remove 1+1 rows=2",
                            "removed 1+1 rows=1", "about-insert 1+2 rows=1", "inserted 1+2 rows=3",
                            "about-layout 0+0 rows=3", "layout 0+0 rows=3"}));
}

// The outline as a view sees it: a tree of row ids updated only from the node
// notifications, so that a wrong parent or position shows as a difference.
struct ShadowOutline : GridObserver {
    struct Node {
        std::uintptr_t id;
        std::vector<Node> children;
        bool operator==(const Node&) const = default;
    };
    const GridModel& g;
    std::vector<Node> roots;
    explicit ShadowOutline(const GridModel& model) : g(model) { roots = read(-1); }

    std::vector<Node> read(std::int32_t parent) const {
        std::vector<Node> nodes;
        for (std::int32_t i = 0; i < g.ChildCount(parent); ++i) {
            const auto row = g.ChildRow(parent, i);
            nodes.push_back({g.RowId(row), read(row)});
        }
        return nodes;
    }
    std::vector<Node>& children(std::int32_t parentRow) {
        if (parentRow < 0) return roots;
        std::vector<std::int32_t> path;  // positions among siblings from the top
        for (auto r = parentRow; r >= 0; r = g.ParentRow(r)) path.insert(path.begin(), g.ChildIndex(r));
        auto* list = &roots;
        for (auto i : path) list = &list->at(static_cast<size_t>(i)).children;
        return *list;
    }
    void nodesInserted(std::int32_t parent, std::int32_t first, std::int32_t count) override {
        auto& list = children(parent);
        for (auto i = 0; i < count; ++i) {
            const auto row = g.ChildRow(parent, first + i);
            list.insert(list.begin() + first + i, Node{g.RowId(row), read(row)});
        }
    }
    void nodesAboutToBeRemoved(std::int32_t parent, std::int32_t first, std::int32_t count) override {
        auto& list = children(parent);
        ASSERT_LE(static_cast<size_t>(first + count), list.size());
        list.erase(list.begin() + first, list.begin() + first + count);
    }
    void outlineReset() override { roots = read(-1); }
    void layoutChanged() override { roots = read(-1); }
};

// The outline derived from the levels alone, the way the index must see it.
void expectIndexMatchesLevels(const GridModel& g) {
    std::vector<std::int32_t> childCount(static_cast<size_t>(g.getRows()) + 1, 0);
    for (std::int32_t r = 0; r < g.getRows(); ++r) {
        std::int32_t parent = r - 1;
        while (parent >= 0 && g.getRowOutlineLevel(parent) >= g.getRowOutlineLevel(r)) --parent;
        ASSERT_EQ(g.ParentRow(r), parent) << "row " << r;
        auto& count = childCount[static_cast<size_t>(parent + 1)];
        ASSERT_EQ(g.ChildIndex(r), count) << "row " << r;
        ASSERT_EQ(g.ChildRow(parent, count), r);
        ++count;
        auto end = r + 1;
        while (end < g.getRows() && g.getRowOutlineLevel(end) > g.getRowOutlineLevel(r)) ++end;
        ASSERT_EQ(g.SubtreeEnd(r), end) << "row " << r;
        ASSERT_EQ(g.HasChildren(r), end > r + 1);
    }
    for (std::int32_t p = -1; p < g.getRows(); ++p) ASSERT_EQ(g.ChildCount(p), childCount[static_cast<size_t>(p + 1)]);
}

TEST(GridOutlineIndex, StaysRightAndIsAnnouncedRightThroughEveryKindOfChange) {
    GridModel g;
    g.setCols(1);
    ShadowOutline view(g);
    g.addObserver(&view);
    std::mt19937 random(7);
    const auto pick = [&](std::int32_t n) { return static_cast<std::int32_t>(random() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 600; ++step) {
        const auto rows = g.getRows();
        switch (rows < 3 ? 0 : pick(8)) {
            case 0:
            case 1: g.AddNode(rows ? pick(rows + 1) - 1 : -1, "node"); break;
            case 2: {  // a row anywhere at any level: it may adopt the rows below it
                const auto at = g.AddItem("item", pick(rows + 1));
                g.setRowOutlineLevel(at, static_cast<std::int16_t>(pick(4)));
                break;
            }
            case 3: g.RemoveItem(pick(rows)); break;
            case 4: g.setRows(rows - 1 - pick(std::min(rows, 3))); break;
            case 5: g.setRows(rows + 1 + pick(2)); break;
            case 6: g.setRowPosition(pick(rows), pick(rows)); break;
            default: g.setRowOutlineLevel(pick(rows), static_cast<std::int16_t>(pick(4))); break;
        }
        ASSERT_NO_FATAL_FAILURE(expectIndexMatchesLevels(g)) << "step " << step;
        ASSERT_EQ(view.roots, view.read(-1)) << "step " << step;
    }
    g.removeObserver(&view);
}

TEST(GridOutlineIndex, NodeNotificationsNameTheParentAndPositionAndFallBackToAResetWhenRowsAreAdopted) {
    TreeGrid t;
    struct Log : GridObserver {
        std::vector<std::string> lines;
        void nodesAboutToBeInserted(std::int32_t p, std::int32_t f, std::int32_t n) override { add("insert", p, f, n); }
        void nodesAboutToBeRemoved(std::int32_t p, std::int32_t f, std::int32_t n) override { add("remove", p, f, n); }
        void outlineAboutToReset() override { lines.push_back("reset"); }
        void add(const char* what, std::int32_t p, std::int32_t f, std::int32_t n) {
            lines.push_back(std::string(what) + " under " + std::to_string(p) + " at " + std::to_string(f) + "+" +
                            std::to_string(n));
        }
    } log;
    t.g.addObserver(&log);
    t.g.AddNode(t.a, "a3");          // after a1's subtree and a2: a's third child
    t.g.RemoveItem(t.a1);            // a1 with a child: a1x goes to a
    t.g.setRows(t.g.getRows() - 1);  // b, a whole top-level node
    t.g.setRows(t.g.getRows() + 2);
    t.g.AddItem("top", 2);           // a level-0 row inside a: adopts a's later children
    t.g.removeObserver(&log);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"insert under 1 at 2+1", "reset", "remove under -1 at 2+1",
                                                   "insert under -1 at 2+2", "reset"}));
}

TEST(GridSelection, TheCurrentCellAndSelectionStayOnTheirRowsAsRowsComeAndGoAboveThem) {
    struct Case {
        const char* what;
        std::function<void(GridModel&)> change;
        std::int32_t row, rowSel;  // after, with the cursor on rows 4 to 6
    };
    const Case cases[] = {
        {"insert above", [](GridModel& g) { g.AddItem("x", 2); }, 5, 7},
        {"insert inside", [](GridModel& g) { g.AddItem("x", 5); }, 4, 7},
        {"insert below", [](GridModel& g) { g.AddItem("x", 7); }, 4, 6},
        {"node above", [](GridModel& g) { g.AddNode(1, "x"); }, 5, 7},
        {"remove above", [](GridModel& g) { g.RemoveItem(1); }, 3, 5},
        {"remove the current row", [](GridModel& g) { g.RemoveItem(4); }, 4, 5},
        {"truncate inside", [](GridModel& g) { g.setRows(5); }, 4, 4},
    };
    for (const auto& c : cases) {
        FlatGrid f({"a", "b", "c", "d", "e", "f", "g", "h"}, {"1", "2", "3", "4", "5", "6", "7", "8"});
        f.g.Select(4, 0, 6, 1);
        int moves = 0;
        auto s = f.g.AfterRowColChange.subscribe([&](auto...) { ++moves; });
        c.change(f.g);
        EXPECT_EQ(std::pair(f.g.getRow(), f.g.getRowSel()), std::pair(c.row, c.rowSel)) << c.what;
        EXPECT_EQ(moves, 0) << c.what << ": following a row is not a move";
    }
}

}  // namespace
}  // namespace qlmib::ui
