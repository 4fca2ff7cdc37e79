// The module list driven as a host and a user drive it: its members, and the
// grid's input (current-row changes, header clicks, selections).

#include <gtest/gtest.h>

#include <fstream>

#include <qlmib/common/Error.h>
#include <qlmib/mibx/ManageMIBs.h>
#include <qlmib/tree/ToolkitHooks.h>
#include <qlmib/ui/HeadlessToolkit.h>

#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::MIBX;
using test::ModuleRow;
using test::rows;
using Rows = std::vector<std::string>;

class ManageMIBsTest : public test::MibxFixture {
protected:
    void addModules(std::initializer_list<ModuleRow> modules) {
        for (const auto& m : modules) test::insertModule(home.db(), m);
    }

    void import(const std::string& module, const std::string& tree) {
        ImportMIBX importer;
        ASSERT_TRUE(importer.ImportMIBXFile(write("m.xml", MIBX(tree, module))));
        ASSERT_EQ(importer.getErrors(), 0);
    }

    // The grid's module rows, columns joined by TAB.
    static Rows listed(ManageMIBs& control) {
        Rows out;
        const auto& grid = control.getTableObject();
        for (std::int32_t r = 1; r < grid.getRows(); ++r)
            out.push_back(grid.getTextMatrix(r, 0) + "\t" + grid.getTextMatrix(r, 1));
        return out;
    }

    static Rows names(ManageMIBs& control) {
        Rows out;
        for (std::int32_t r = 1; r < control.MIBList.getRows(); ++r) out.push_back(control.MIBList.getTextMatrix(r, 0));
        return out;
    }

    ui::HeadlessToolkit toolkit;
    ToolkitHooks hooks{toolkit};
};

TEST_F(ManageMIBsTest, ListsTrimmedNamesWithImportTimesOnRefresh) {
    addModules({{.name = "b-mib", .imported = "2024-05-01 10:11:12"},
                {.name = "  PADDED-MIB  ", .imported = "2023-1-2 3:04"},
                {.name = "A-MIB", .imported = "2024-02-29T23:59:59Z"},
                {.name = "NO-DATE-MIB"},
                {.name = "ODD-MIB", .imported = "last Tuesday"}});
    ManageMIBs control(toolkit);
    EXPECT_EQ(control.getMIBCount(), 0) << "empty until the first Refresh";
    EXPECT_EQ(control.MIBList.getTextMatrix(0, 0) + "|" + control.MIBList.getTextMatrix(0, 1), "MIB|Last Update");

    control.Refresh();
    EXPECT_EQ(listed(control), (Rows{"PADDED-MIB\t2023-01-02 03:04:00", "A-MIB\t2024-02-29 23:59:59",
                                     "b-mib\t2024-05-01 10:11:12", "NO-DATE-MIB\t", "ODD-MIB\tlast Tuesday"}))
        << "by stored name ignoring case; dates in one form, a text that is no date as it stands";
    EXPECT_EQ(control.getMIBCount(), 5);

    addModules({{.name = "C-MIB", .imported = "2024-01-01 00:00:00"}});
    control.Refresh();
    EXPECT_EQ(control.getMIBCount(), 6) << "a refresh replaces the rows";
    EXPECT_EQ(control.MIBList.getTextMatrix(4, 0), "C-MIB");
}

TEST_F(ManageMIBsTest, DateSortsOrderByTimeAndFlipOnEverySortWhateverTheColumn) {
    // Stored texts whose order as text is not their order in time.
    addModules({{.name = "A", .imported = "2024-9-5 08:00:00"},
                {.name = "B", .imported = "2024-10-01 07:00:00"},
                {.name = "C", .imported = "2023-12-31T23:59:59"},
                {.name = "D", .imported = "2024-09-05 7:59"},
                {.name = "E"},
                {.name = "F", .imported = "unknown"}});
    ManageMIBs control(toolkit);
    control.Refresh();
    auto& grid = control.getTableObject();
    const Rows oldestFirst{"E", "C", "D", "A", "B", "F"};
    const Rows newestFirst(oldestFirst.rbegin(), oldestFirst.rend());

    grid.UserSortByHeader(1);
    EXPECT_EQ(names(control), oldestFirst) << "no date first, then by time, a text that is no date last";
    EXPECT_EQ(toolkit.PointerChanges(), (std::vector<std::int16_t>{ui::PointerHourglass, ui::PointerDefault}));
    grid.UserSortByHeader(1);
    EXPECT_EQ(names(control), newestFirst);

    grid.UserSortByHeader(0);
    EXPECT_EQ(names(control), (Rows{"A", "B", "C", "D", "E", "F"}));
    grid.UserSortByHeader(1);
    EXPECT_EQ(names(control), newestFirst) << "the name sort flipped the direction too";

    grid.Select(1, 1, grid.getRows() - 1, 1);
    grid.setSort(ui::SortStringAscending);
    EXPECT_EQ(names(control), oldestFirst) << "a sort by code on the date column is a date sort as well";
}

TEST_F(ManageMIBsTest, DetailsFollowTheCurrentRow) {
    addModules({{.name = "FULL-MIB", .imported = "2024-01-01 00:00:00", .organization = " Org ",
                 .contact = "Ops", .description = "Two\r\nlines."},
                {.name = "BARE-MIB", .imported = "2024-01-01 00:00:00"}});
    test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.1", .name = "a", .mib = "FULL-MIB"});
    test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.2", .name = "b", .mib = "FULL-MIB"});
    test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.3", .name = "c", .mib = "BARE-MIB"});
    ManageMIBs control(toolkit);
    control.Refresh();
    EXPECT_EQ(control.MIBDetails.getText(), "") << "a refresh does not fill the details";

    const ui::Color green(0, 128, 0), blue(0, 0, 255);
    const auto run = [](std::string text, ui::Color color, std::int16_t size) {
        return ui::TextRun{std::move(text), {.color = color, .bold = true, .size = size}};
    };
    control.setRow(2);
    EXPECT_EQ(control.getSelectedMIB(), "FULL-MIB");
    EXPECT_EQ(control.MIBDetails.Runs(),
              (std::vector<ui::TextRun>{run("FULL-MIB\r\n", green, 10), run("2 unique OIDs\r\n", green, 8),
                                        run("Org\r\nOps\r\n\r\nTwo\r\nlines.\r\n", blue, 8)}))
        << "trimmed particulars; runs of one format join";
    EXPECT_EQ(control.MIBDetails.getSelStart(), 0);
    EXPECT_EQ(control.getOIDCount(), 3) << "every module's objects";

    control.setRow(1);
    EXPECT_EQ(control.MIBDetails.getText(), "BARE-MIB\r\n1 unique OIDs\r\n") << "empty particulars are left out";

    control.setRow(0);
    EXPECT_EQ(control.getSelectedMIB(), "");
    EXPECT_EQ(control.MIBDetails.getText(), "") << "the header row shows nothing";

    control.setRow(3);
    control.setRow(-1);
    EXPECT_EQ(control.getRow(), 0) << "rows the grid refuses are ignored";
}

TEST_F(ManageMIBsTest, DetailsWaitForTheEndOfAGridOperation) {
    addModules({{.name = "A-MIB", .imported = "2024-03-01 00:00:00"},
                {.name = "B-MIB", .imported = "2024-02-01 00:00:00"},
                {.name = "C-MIB", .imported = "2024-01-01 00:00:00"}});
    ManageMIBs control(toolkit);
    control.Refresh();
    auto& grid = control.getTableObject();
    const auto title = [&] {
        const auto text = control.MIBDetails.getText();
        return text.substr(0, text.find('\r'));
    };
    grid.setRow(2);
    ASSERT_EQ(title(), "B-MIB");

    int composed = 0;
    const auto counting = control.MIBDetails.Changed.subscribe([&] { ++composed; });
    grid.BeginOperation();
    grid.setRow(3);
    grid.setRow(1);
    EXPECT_EQ(title(), "B-MIB");
    EXPECT_EQ(composed, 0);
    grid.EndOperation();
    EXPECT_EQ(title(), "A-MIB");
    EXPECT_GT(composed, 0);

    grid.UserSortByHeader(1);  // oldest first: the current row now holds C-MIB
    EXPECT_EQ(control.getSelectedMIB(), "C-MIB");
    EXPECT_EQ(title(), "C-MIB") << "a sort ends with the details of the row under the cursor";
}

TEST_F(ManageMIBsTest, DeleteMIBRemovesObjectsAndModuleKeepsEnumsAndOtherModules) {
    import("FIRST-MIB", "<fa><OID>1.3.6.1.4.1.7</OID><ENUMS><on>1</on><off>2</off></ENUMS></fa>"
                        "<shared><OID>1.3.6.1.4.1.7.1</OID><ENUMS><x>5</x></ENUMS></shared>");
    import("SECOND-MIB", "<sa><OID>1.3.6.1.4.1.8</OID><ENUMS><up>1</up></ENUMS></sa>");
    const auto enums = rows("SELECT Name, Value, Enum FROM Enums ORDER BY Name, Value");
    ManageMIBs control(toolkit);
    control.Refresh();
    ASSERT_EQ(control.getOIDCount(), 3);

    control.DeleteMIB("first-mib");
    EXPECT_EQ(control.getOIDCount(), 1);
    EXPECT_EQ(rows("SELECT Name, MIB FROM Tree"), Rows{"sa|SECOND-MIB"});
    EXPECT_EQ(rows("SELECT Name FROM MIBs"), Rows{"SECOND-MIB"});
    EXPECT_EQ(rows("SELECT Name, Value, Enum FROM Enums ORDER BY Name, Value"), enums);
    EXPECT_EQ(names(control), (Rows{"FIRST-MIB", "SECOND-MIB"})) << "the list waits for a refresh";
    control.Refresh();
    EXPECT_EQ(names(control), Rows{"SECOND-MIB"});
}

TEST_F(ManageMIBsTest, NamesWithQuotesListShowDetailsAndDelete) {
    const Rows quoted{"O'Brien \"Q\"-MIB", "x'); DROP TABLE Tree; --"};
    for (const auto& module : quoted) import(module, "<q><OID>1.3.6.1.4.1.5</OID></q>");
    import("PLAIN-MIB", "<p><OID>1.3.6.1.4.1.6</OID></p>");
    ManageMIBs control(toolkit);
    control.Refresh();
    ASSERT_EQ(names(control), (Rows{quoted[0], "PLAIN-MIB", quoted[1]}));

    for (std::int32_t row : {3, 1}) {
        control.setRow(row);
        EXPECT_EQ(control.MIBDetails.getText(), control.getSelectedMIB() + "\r\n1 unique OIDs\r\n");
        control.DeleteMIB(control.getSelectedMIB());
    }
    EXPECT_EQ(rows("SELECT Name FROM MIBs"), Rows{"PLAIN-MIB"});
    EXPECT_EQ(rows("SELECT Name, MIB FROM Tree"), Rows{"p|PLAIN-MIB"});
}

TEST_F(ManageMIBsTest, DeleteSelectedMIBsDeletesTheModuleRowsOfTheSelection) {
    addModules({{.name = "A", .imported = "2024-01-01 00:00:00"},
                {.name = "B", .imported = "2024-01-02 00:00:00"},
                {.name = "C", .imported = "2024-01-03 00:00:00"},
                {.name = "D", .imported = "2024-01-04 00:00:00"},
                {.name = "MIB", .imported = "2024-01-05 00:00:00"}});
    for (const char* module : {"A", "B", "C", "MIB"})
        test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.1", .name = std::string("o") + module, .mib = module});
    ManageMIBs control(toolkit);
    control.Refresh();
    auto& grid = control.getTableObject();

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
}

TEST_F(ManageMIBsTest, AFailedDeleteLosesNothing) {
    addModules({{.name = "A"}, {.name = "B"}, {.name = "C"}});
    for (const char* module : {"A", "B", "C"})
        test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.1", .name = std::string("o") + module, .mib = module});
    home.db().exec("CREATE TRIGGER keepC BEFORE DELETE ON MIBs WHEN OLD.Name = 'C' "
                   "BEGIN SELECT RAISE(ABORT, 'C is protected'); END");
    ManageMIBs control(toolkit);
    control.Refresh();

    EXPECT_THROW(control.DeleteMIB("C"), Error);
    control.getTableObject().Select(1, 0, 3, 0);
    try {
        control.DeleteSelectedMIBs();
        ADD_FAILURE() << "the third module's delete fails";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("C is protected"), std::string::npos) << e.what();
    }
    EXPECT_EQ(rows("SELECT Name FROM MIBs ORDER BY Name"), (Rows{"A", "B", "C"}));
    EXPECT_EQ(rows("SELECT MIB FROM Tree ORDER BY MIB"), (Rows{"A", "B", "C"}));
}

TEST_F(ManageMIBsTest, ForwardsTheGridsInputEvents) {
    ManageMIBs control(toolkit);
    Rows seen;
    const auto keys = control.KeyPress.subscribe([&](std::int16_t& key) {
        seen.push_back(std::to_string(key));
        key = 0;
    });
    const auto mouse = control.MouseDown.subscribe([&](std::int16_t& button, std::int16_t&, float& x, float&) {
        seen.push_back(std::to_string(button) + "@" + std::to_string(static_cast<int>(x)));
    });
    const auto clicks = control.DblClick.subscribe([&] { seen.push_back("double"); });
    EXPECT_EQ(control.MIBList.UserKeyPress('d'), 0) << "the host's answer goes back to the grid";
    control.MIBList.UserMouseDown(ui::RightButton, 0, 30, 40, 0, 0);
    control.MIBList.UserDoubleClick();
    EXPECT_EQ(seen, (Rows{"100", "2@30", "double"}));
}

TEST_F(ManageMIBsTest, TheDetailsPaneKeepsItsHeightWhenTheControlIsResized) {
    ManageMIBs control(toolkit);
    const auto details = control.Splitter.getPaneSize("MIBDetails");
    EXPECT_EQ(details, control.getHeight() / 4);
    control.Move(0, 0, 9000, 7000);
    EXPECT_EQ(control.Splitter.getPaneSize("MIBDetails"), details);
    EXPECT_EQ(control.Splitter.getPaneSize("MIBList"), 7000 - 240 - ui::Splitter::kBarSize - details);
}

TEST(ManageMIBsDatabase, ABrokenDatabaseIsReportedAndItsReadsFailWithoutHarm) {
    ui::HeadlessToolkit toolkit;
    ToolkitHooks hooks(toolkit);
    test::TestHome home(false);
    std::ofstream(home.databasePath()) << "not a database";
    ManageMIBs control(toolkit);
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt.rfind("Cannot open MIB Database (" + home.databasePath() + ")\r\r", 0), 0u)
        << toolkit.Messages()[0].Prompt;
    EXPECT_THROW(control.Refresh(), Error);
    EXPECT_THROW(control.getOIDCount(), Error);
    auto& grid = control.getTableObject();
    grid.setRows(2);
    grid.setTextMatrix(1, 0, "A-MIB");
    grid.setRow(1);
    EXPECT_EQ(control.MIBDetails.getText(), "") << "the details ignore the failing reads";
}

}  // namespace
}  // namespace qlmib
