// The module list driven as a host and a user drive it: its members, and the
// grid's input (current-row changes, header clicks, selections).

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include <qlmib/common/Error.h>
#include <qlmib/mibx/ManageMIBs.h>
#include <qlmib/ui/HeadlessToolkit.h>

#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::rows;
using Rows = std::vector<std::string>;

class ManageMIBsTest : public test::MibxFixture {
protected:
    // Modules with one object each, but for those named in `empty`.
    void addModules(std::initializer_list<test::ModuleRow> modules, std::initializer_list<std::string> empty = {}) {
        for (const auto& m : modules) {
            test::insertModule(home.db(), m);
            if (std::find(empty.begin(), empty.end(), m.name) == empty.end())
                test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.1", .name = "o" + m.name, .mib = m.name});
        }
    }
    void import(const std::string& module, const std::string& tree) {
        ImportMIBX importer;
        ASSERT_TRUE(importer.ImportMIBXFile(write("m.xml", test::MIBX(tree, module))));
        ASSERT_EQ(importer.getErrors(), 0);
    }
    // The listed module names.
    Rows names() const {
        Rows out;
        for (std::int32_t r = 1; r < grid.getRows(); ++r) out.push_back(grid.getTextMatrix(r, 0));
        return out;
    }
    std::string detailsTitle() const {
        const auto text = control.MIBDetails.getText();
        return text.substr(0, text.find('\r'));
    }

    ui::HeadlessToolkit toolkit;
    ManageMIBs control{toolkit};
    ui::GridModel& grid = control.getTableObject();
};

TEST_F(ManageMIBsTest, DateSortsOrderByTimeAndFlipOnEverySortWhateverTheColumn) {
    // Stored texts whose order as text is not their order in time.
    addModules({{.name = "A", .imported = "2024-9-5 08:00:00"}, {.name = "B", .imported = "2024-10-01 07:00:00"},
                {.name = "C", .imported = "2023-12-31T23:59:59"}, {.name = "D", .imported = "2024-09-05 7:59"},
                {.name = "E"}, {.name = "F", .imported = "unknown"}});
    control.Refresh();
    const Rows oldestFirst{"E", "C", "D", "A", "B", "F"};
    const Rows newestFirst(oldestFirst.rbegin(), oldestFirst.rend());

    grid.UserSortByHeader(1);
    EXPECT_EQ(names(), oldestFirst) << "no date first, then by time, a text that is no date last";
    EXPECT_EQ(toolkit.PointerChanges(), (std::vector<std::int16_t>{ui::PointerHourglass, ui::PointerDefault}));
    grid.UserSortByHeader(1);
    EXPECT_EQ(names(), newestFirst);

    grid.UserSortByHeader(0);
    EXPECT_EQ(names(), (Rows{"A", "B", "C", "D", "E", "F"}));
    grid.UserSortByHeader(1);
    EXPECT_EQ(names(), newestFirst) << "the name sort flipped the direction too";

    grid.Select(1, 1, grid.getRows() - 1, 1);
    grid.setSort(ui::SortStringAscending);
    EXPECT_EQ(names(), oldestFirst) << "a sort by code on the date column is a date sort as well";
}

TEST_F(ManageMIBsTest, DetailsFollowTheCurrentRowOnceAGridOperationEnds) {
    addModules({{.name = "FULL-MIB", .imported = "2024-03-01 00:00:00", .organization = " Org ", .contact = "Ops",
                 .description = "Two\r\nlines."},
                {.name = "BARE-MIB", .imported = "2024-02-01 00:00:00"},
                {.name = "C-MIB", .imported = "2024-01-01 00:00:00"}},
               {"C-MIB"});
    test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.2", .name = "b", .mib = "FULL-MIB"});
    control.Refresh();
    EXPECT_EQ(control.MIBDetails.getText(), "") << "a refresh does not fill the details";
    control.setRow(3);
    EXPECT_EQ(control.getSelectedMIB(), "FULL-MIB");
    EXPECT_EQ(control.MIBDetails.getText(), "FULL-MIB\r\n2 unique OIDs\r\nOrg\r\nOps\r\n\r\nTwo\r\nlines.\r\n")
        << "trimmed particulars";
    EXPECT_EQ(control.getOIDCount(), 3) << "every module's objects";
    control.setRow(1);
    EXPECT_EQ(control.MIBDetails.getText(), "BARE-MIB\r\n1 unique OIDs\r\n") << "empty particulars are left out";
    control.setRow(0);
    EXPECT_EQ(control.getSelectedMIB(), "");
    EXPECT_EQ(control.MIBDetails.getText(), "") << "the header row shows nothing";

    int composed = 0;
    const auto counting = control.MIBDetails.Changed.subscribe([&] { ++composed; });
    grid.BeginOperation();
    grid.setRow(3);
    grid.setRow(1);
    EXPECT_EQ(composed, 0);
    grid.EndOperation();
    EXPECT_EQ(detailsTitle(), "BARE-MIB");
    grid.UserSortByHeader(1);  // oldest first: the current row now holds C-MIB
    EXPECT_EQ(control.getSelectedMIB(), "C-MIB");
    EXPECT_EQ(detailsTitle(), "C-MIB") << "a sort ends with the details of the row under the cursor";
}

TEST_F(ManageMIBsTest, DeleteMIBRemovesObjectsAndModuleKeepsEnumsAndOtherModulesWhateverTheName) {
    import("FIRST-MIB", "<fa><OID>1.3.6.1.4.1.7</OID><ENUMS><on>1</on><off>2</off></ENUMS></fa>"
                        "<shared><OID>1.3.6.1.4.1.7.1</OID><ENUMS><x>5</x></ENUMS></shared>");
    const Rows quoted{"O'Brien \"Q\"-MIB", "x'); DROP TABLE Tree; --"};
    for (const auto& module : quoted) import(module, "<q><OID>1.3.6.1.4.1.5</OID></q>");
    import("SECOND-MIB", "<sa><OID>1.3.6.1.4.1.8</OID><ENUMS><up>1</up></ENUMS></sa>");
    const auto enums = rows("SELECT Name, Value, Enum FROM Enums ORDER BY Name, Value");
    control.Refresh();
    const Rows listed{"FIRST-MIB", quoted[0], "SECOND-MIB", quoted[1]};
    ASSERT_EQ(names(), listed);
    control.DeleteMIB("first-mib");
    EXPECT_EQ(control.getOIDCount(), 3);
    for (std::int32_t row : {4, 2}) {
        control.setRow(row);
        EXPECT_EQ(control.MIBDetails.getText(), control.getSelectedMIB() + "\r\n1 unique OIDs\r\n");
        control.DeleteMIB(control.getSelectedMIB());
    }
    EXPECT_EQ(rows("SELECT Name, MIB FROM Tree"), Rows{"sa|SECOND-MIB"});
    EXPECT_EQ(rows("SELECT Name FROM MIBs"), Rows{"SECOND-MIB"});
    EXPECT_EQ(rows("SELECT Name, Value, Enum FROM Enums ORDER BY Name, Value"), enums);
    EXPECT_EQ(names(), listed) << "the list waits for a refresh";
    control.Refresh();
    EXPECT_EQ(names(), Rows{"SECOND-MIB"});
}

TEST_F(ManageMIBsTest, DeleteSelectedMIBsDeletesTheModuleRowsOfTheSelectionAllOrNone) {
    addModules({{.name = "A", .imported = "2024-01-01 00:00:00"}, {.name = "B", .imported = "2024-01-02 00:00:00"},
                {.name = "C", .imported = "2024-01-03 00:00:00"}, {.name = "D"}, {.name = "MIB"}},
               {"D"});
    control.Refresh();
    grid.Select(3, 1, 2, 0);  // dragged upwards
    EXPECT_EQ(control.getSelection(), "B\t2024-01-02 00:00:00\r\nC\t2024-01-03 00:00:00");
    control.DeleteSelectedMIBs();
    EXPECT_EQ(rows("SELECT Name FROM MIBs ORDER BY Name"), (Rows{"A", "D", "MIB"}));
    EXPECT_EQ(rows("SELECT MIB FROM Tree ORDER BY MIB"), (Rows{"A", "MIB"}));

    grid.setRow(0);
    control.DeleteSelectedMIBs();
    grid.Select(0, 0, 1, 0);
    control.DeleteSelectedMIBs();
    EXPECT_EQ(rows("SELECT Name FROM MIBs ORDER BY Name"), (Rows{"D", "MIB"}))
        << "the header row's text is no module: only row 1 went";

    home.db().exec("CREATE TRIGGER keep BEFORE DELETE ON MIBs WHEN OLD.Name = 'MIB' "
                   "BEGIN SELECT RAISE(ABORT, 'MIB is protected'); END");
    control.Refresh();
    EXPECT_THROW(control.DeleteMIB("MIB"), Error);
    grid.Select(1, 0, 2, 0);
    EXPECT_THROW(control.DeleteSelectedMIBs(), Error);
    EXPECT_EQ(rows("SELECT Name FROM MIBs ORDER BY Name"), (Rows{"D", "MIB"})) << "a failed delete loses nothing";
    EXPECT_EQ(rows("SELECT MIB FROM Tree ORDER BY MIB"), (Rows{"MIB"}));
}

TEST_F(ManageMIBsTest, ForwardsTheGridsInputEventsAndKeepsTheDetailsHeight) {
    Rows seen;
    const Subscription subscriptions[] = {
        control.KeyPress.subscribe([&](std::int16_t& key) { seen.push_back(std::to_string(std::exchange(key, 0))); }),
        control.MouseDown.subscribe([&](std::int16_t& button, std::int16_t&, float& x, float&) {
            seen.push_back(std::to_string(button) + "@" + std::to_string(static_cast<int>(x)));
        }),
        control.DblClick.subscribe([&] { seen.push_back("double"); }),
    };
    EXPECT_EQ(control.MIBList.UserKeyPress('d'), 0) << "the host's answer goes back to the grid";
    control.MIBList.UserMouseDown(ui::RightButton, 0, 30, 40, 0, 0);
    control.MIBList.UserDoubleClick();
    EXPECT_EQ(seen, (Rows{"100", "2@30", "double"}));

    const auto details = control.Splitter.getPaneSize("MIBDetails");
    control.Move(0, 0, 9000, 7000);
    EXPECT_EQ(control.Splitter.getPaneSize("MIBDetails"), details);
    EXPECT_EQ(control.Splitter.getPaneSize("MIBList"), 7000 - 240 - ui::Splitter::kBarSize - details);
}

}  // namespace
}  // namespace qlmib
