// The grid's Qt item model under QAbstractItemModelTester while real controls
// change their grids: a MIB tree opening, closing and reloading on the
// database, and a MIB table downloading, pivoting, sorting and refreshing
// against the loopback agent. After each change the Qt model must mirror the
// grid item for item.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>

#include <qlmib/snmp/MIBTable.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/ui/qt/GridItemModel.h>

#include "CorpusLiveTest.h"
#include "TreeControlFixture.h"

namespace qlmib::test {
namespace {

using ui::qt::GridItemModel;

// Walks the Qt model and checks each item against the grid row and column it
// maps to; returns how many rows it met.
std::int32_t expectMirrors(const GridItemModel& model, const ui::GridModel& grid, const QModelIndex& parent = {}) {
    std::int32_t seen = 0;
    for (int r = 0; r < model.rowCount(parent); ++r) {
        const auto item = model.index(r, 0, parent);
        const auto row = model.gridRow(item);
        EXPECT_EQ(model.indexOf(row, grid.getFixedCols()), item);
        for (int c = 0; c < model.columnCount(parent); ++c)
            EXPECT_EQ(model.data(model.index(r, c, parent)).toString().toStdString(),
                      grid.getTextMatrix(row, model.gridCol(c)));
        if (model.mode() == GridItemModel::Mode::Tree) {
            EXPECT_EQ(model.rowCount(item), grid.ChildCount(row));
            EXPECT_EQ(grid.ParentRow(row), parent.isValid() ? model.gridRow(parent) : -1);
        }
        seen += 1 + expectMirrors(model, grid, item);
    }
    return seen;
}

void expectWholeGridMirrored(const GridItemModel& model, const ui::GridModel& grid) {
    EXPECT_EQ(expectMirrors(model, grid), grid.getRows() - grid.getFixedRows());
    for (int c = 0; c < model.columnCount(); ++c)
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString().toStdString(),
                  grid.getTextMatrix(0, model.gridCol(c)));
}

class TreeItemModelTest : public TreeControlFixture<MIBTree> {};

TEST_F(TreeItemModelTest, FollowsTheTreeOpeningClosingSelectingAndReloading) {
    GridItemModel model(tree.Tree, GridItemModel::Mode::Tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    tree.Refresh();
    expectWholeGridMirrored(model, tree.Tree);
    ASSERT_EQ(model.rowCount(), 2) << "ccitt and iso; the header row is no node";

    const std::string ifAdminStatus = "1.3.6.1.2.1.2.2.1.7";
    tree.SelectOID(ifAdminStatus);
    const QPersistentModelIndex selected = model.indexOf(row(ifAdminStatus), 0);
    ASSERT_TRUE(selected.isValid());
    std::vector<std::string> path;
    for (QModelIndex i = selected; i.isValid(); i = i.parent()) path.insert(path.begin(), i.data().toString().toStdString());
    EXPECT_EQ(path, (std::vector<std::string>{"iso (1)", "org (3)", "dod (6)", "internet (1)", "mgmt (2)",
                                              "mib-2 (1)", "interfaces (2)", "ifTable (2)", "ifEntry (1)",
                                              "ifAdminStatus (7)"}));

    // Children loaded above the selected row move it; the persistent index follows.
    tree.ExpandOID("1.3.6.1.2.1.1");
    EXPECT_EQ(model.gridRow(selected), row(ifAdminStatus));
    tree.Tree.ToggleNode(row("1.3.6.1.2.1"));
    tree.Tree.ToggleNode(row("1.3.6.1.2.1"));
    expectWholeGridMirrored(model, tree.Tree);

    // A refresh removes every row, the header too, and loads the roots again.
    tree.Refresh();
    expectWholeGridMirrored(model, tree.Tree);
    EXPECT_FALSE(selected.isValid()) << "the row is gone";
}

TEST_F(TreeItemModelTest, LevelChangesAndMovedRowsKeepPersistentIndexesOnTheirRows) {
    GridItemModel model(tree.Tree, GridItemModel::Mode::Tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    tree.Refresh();
    const auto mgmt = row("1.3.6.1.2");
    const QPersistentModelIndex kept = model.indexOf(mgmt, 0);
    tree.Tree.setRowOutlineLevel(mgmt, 5);  // the nearest row above at a lower level is directory
    expectWholeGridMirrored(model, tree.Tree);
    EXPECT_EQ(model.gridRow(kept), mgmt);
    EXPECT_EQ(kept.parent().data().toString(), "directory (1)");

    const QPersistentModelIndex snmpV2 = model.indexOf(row("1.3.6.1.6"), 0);
    tree.Tree.setRowPosition(row("1.3.6.1.6"), row("1.3.6.1.1"));
    expectWholeGridMirrored(model, tree.Tree);
    EXPECT_EQ(model.gridRow(snmpV2), row("1.3.6.1.6"));
    EXPECT_EQ(snmpV2.row(), 0) << "internet's first child now";
}

class TableItemModelTest : public CorpusLiveTest {
protected:
    void SetUp() override {
        CorpusLiveTest::SetUp();
        if (IsSkipped()) return;
        table = std::make_unique<MIBTable>(toolkit);
        aim(*table, 2, SnmpAgent::kWriteCommunity);
    }
    void download(const char* name) {
        ASSERT_TRUE(runToIdle(*table, [&] { table->GetTable(name); }));
        ASSERT_FALSE(table->getUnSupported());
    }
    std::unique_ptr<MIBTable> table;
};

TEST_F(TableItemModelTest, FollowsADownloadAPivotASortAndARefresh) {
    auto& grid = table->getTableObject();
    GridItemModel model(grid, GridItemModel::Mode::Table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_NO_FATAL_FAILURE(download("ifTable"));
    ASSERT_GT(model.rowCount(), 0);
    expectWholeGridMirrored(model, grid);
    EXPECT_EQ(model.columnCount(), grid.getCols() - grid.getFixedCols());
    for (int r = 0; r < model.rowCount(); ++r)
        EXPECT_EQ(model.headerData(r, Qt::Vertical).toString().toStdString(),
                  grid.getTextMatrix(r + grid.getFixedRows(), 0))
            << "the fixed column is the row header";

    table->PivotTable();
    expectWholeGridMirrored(model, grid);
    table->PivotTable();

    const QPersistentModelIndex first = model.index(0, 0);
    const auto firstRowData = grid.getRowData(model.gridRow(first)).toString();
    grid.UserSortByHeader(grid.getFixedCols());
    grid.UserSortByHeader(grid.getFixedCols());  // the other way round
    expectWholeGridMirrored(model, grid);
    EXPECT_EQ(grid.getRowData(model.gridRow(first)).toString(), firstRowData) << "a sort keeps items on their rows";

    const auto rows = model.rowCount();
    ASSERT_NO_FATAL_FAILURE(download("ifTable"));
    EXPECT_EQ(model.rowCount(), rows);
    expectWholeGridMirrored(model, grid);
    ASSERT_NO_FATAL_FAILURE(download("sysORTable"));
    expectWholeGridMirrored(model, grid);
}

}  // namespace
}  // namespace qlmib::test
