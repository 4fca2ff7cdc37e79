// MIBTable against the loopback snmpd: downloads of tables and object lists,
// placing answers, pivot, sort, refresh and writing values.
#include <map>
#include <regex>

#include <qlmib/snmp/MIBTable.h>

#include "LiveFixture.h"

namespace qlmib::test {
namespace {

constexpr const char* kIfTable = "1.3.6.1.2.1.2.2";
constexpr std::int32_t kIfDescr = 2, kIfType = 3, kIfMtu = 4, kIfSpeed = 5, kIfPhysAddress = 6;

class MIBTableTest : public LiveTest {
protected:
    void SetUp() override {
        LiveTest::SetUp();
        if (IsSkipped()) return;
        table = std::make_unique<MIBTable>(toolkit);
        table->setTarget("the test agent");
    }

    ui::GridModel& grid() { return table->getTableObject(); }

    void download(const std::string& name, const char* community = SnmpAgent::kReadCommunity) {
        aim(*table, 2, community);
        ASSERT_TRUE(runToIdle(*table, [&] { table->GetTable(name); }));
        ASSERT_FALSE(table->getUnSupported());
    }

    void downloadList(const std::string& list, const char* community = SnmpAgent::kReadCommunity) {
        aim(*table, 2, community);
        ASSERT_TRUE(runToIdle(*table, [&] { table->GetOIDList(list); }));
    }

    // Values of one column of the agent's ifTable, by index.
    std::map<std::string, std::string> agentColumn(std::int32_t column, const char* options = "") {
        std::map<std::string, std::string> values;
        const std::string prefix = std::string(kIfTable) + ".1." + std::to_string(column) + ".";
        for (const auto& b : NetSnmpWalk(std::string(options) + " -v2c -c public " + agent().address() + " ." +
                                         prefix.substr(0, prefix.size() - 1)))
            values[b.oid.substr(prefix.size())] = b.value;
        return values;
    }

    // Everything a pivot must carry over.
    struct Snapshot {
        std::vector<std::string> texts, rowData, colData, colKeys;
        std::vector<ui::Variant> data;
        std::vector<std::optional<ui::Color>> fore, back;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot(bool transposed = false) {
        Snapshot s;
        const auto rows = transposed ? grid().getCols() : grid().getRows();
        const auto cols = transposed ? grid().getRows() : grid().getCols();
        for (std::int32_t r = 0; r < rows; ++r) {
            s.rowData.push_back((transposed ? grid().getColData(r) : grid().getRowData(r)).toString());
            for (std::int32_t c = 0; c < cols; ++c) {
                const auto gr = transposed ? c : r, gc = transposed ? r : c;
                s.texts.push_back(grid().getTextMatrix(gr, gc));
                s.data.push_back(grid().getCellData(gr, gc));
                s.fore.push_back(grid().getCellForeColor(gr, gc));
                s.back.push_back(grid().getCellBackColor(gr, gc));
            }
        }
        for (std::int32_t c = 1; c < cols; ++c) {
            s.colData.push_back((transposed ? grid().getRowData(c) : grid().getColData(c)).toString());
            if (!transposed) s.colKeys.push_back(grid().getColKey(c));
        }
        return s;
    }

    std::unique_ptr<MIBTable> table;
};

TEST_F(MIBTableTest, IfTableDownloadsOneRowPerIfIndexWithParsedValues) {
    download("ifTable");
    const auto types = agentColumn(kIfType), speeds = agentColumn(kIfSpeed);
    const auto addresses = agentColumn(kIfPhysAddress, "-Ox");
    ASSERT_FALSE(types.empty());
    ASSERT_EQ(grid().getRows(), static_cast<std::int32_t>(types.size()) + 1);
    EXPECT_EQ(grid().getTextMatrix(0, kIfType), "ifType");
    EXPECT_EQ(grid().getColData(kIfType).toString(), std::string(kIfTable) + ".1.3");
    const std::regex label(R"([A-Za-z][A-Za-z0-9-]*\((\d+)\))");
    for (std::int32_t r = 1; r < grid().getRows(); ++r) {
        const std::string index = grid().getRowData(r).toString();
        EXPECT_EQ(grid().getTextMatrix(r, 0), index);
        std::smatch match;
        const std::string type = grid().getTextMatrix(r, kIfType);
        ASSERT_TRUE(std::regex_match(type, match, label)) << type;
        EXPECT_EQ(match[1].str(), types.at(index));
        EXPECT_EQ(grid().getTextMatrix(r, kIfSpeed), speeds.at(index));
        EXPECT_TRUE(grid().getCellData(r, kIfSpeed).isNumber());
        // snmpwalk -Ox writes "F6 74 B0 65 62 FD "; the table groups four hex digits.
        std::string hex = std::regex_replace(addresses.at(index), std::regex(" "), "");
        std::string grouped;
        for (size_t i = 0; i < hex.size(); i += 4) grouped += (i ? "." : "") + hex.substr(i, 4);
        EXPECT_EQ(grid().getTextMatrix(r, kIfPhysAddress), grouped);
        EXPECT_EQ(grid().getCellForeColor(r, kIfDescr), std::nullopt);
    }
    EXPECT_FALSE(table->Message.getVisible());
}

TEST_F(MIBTableTest, AnyColumnNumberGrowsTheGridAndCurrentOIDObjectEndsOnTheCurrentColumn) {
    download("ifTable");
    const std::string entry = std::string(kIfTable) + ".1.";
    table->PopulateCell(entry + "1500.1", "wide", "", "OK");
    ASSERT_EQ(grid().getCols(), 1501);
    EXPECT_EQ(grid().getTextMatrix(0, 1500), entry + "1500");  // a column the database lacks: named by its OID
    EXPECT_EQ(grid().getTextMatrix(rowWithData(grid(), "1"), 1500), "wide");

    // The row's datum (the index) and then the column's (the column object) are assigned in turn.
    grid().Select(1, kIfDescr);
    EXPECT_EQ(table->getCurrentOIDObject()->getOID(), entry + std::to_string(kIfDescr));
    EXPECT_EQ(table->getCurrentOIDObject()->getName(), "ifDescr");
    table->setOrientation(TABLE_ORIENTATION_PIVOTED);
    grid().Select(kIfMtu, 1);
    EXPECT_EQ(table->getCurrentOIDObject()->getOID(), grid().getColData(1).toString());
}

TEST_F(MIBTableTest, NameTheDatabaseLacksSendsNothingAndATableTheAgentLacksIsNotSupported) {
    aim(*table);
    int starts = 0, events = 0;
    const auto active = table->Active.subscribe([&](bool status) { starts += status; });
    const auto unsupported = table->UnSupportedTable.subscribe([&] { ++events; });
    ASSERT_TRUE(runToIdle(*table, [&] { table->GetTable("dot1dTpFdbTable"); }));
    EXPECT_TRUE(table->getUnSupported());
    EXPECT_EQ(events, 1);
    EXPECT_EQ(table->Message.getCaption(), "dot1dTpFdbTable\r\n is not supported on \r\nthe test agent");
    EXPECT_EQ(grid().getRows(), 1);

    table->GetOIDList("sysContact,noSuchObject");
    EXPECT_TRUE(table->Message.getVisible());
    EXPECT_EQ(table->Message.getCaption(), "noSuchObject is not a valid MIB specification.");
    EXPECT_EQ(starts, 1) << "the list was not started";
}

TEST_F(MIBTableTest, PivotingTwiceRestoresTheFirstLayoutAndAnswersPlacedPivotedLandInTheirCells) {
    download("ifTable", SnmpAgent::kWriteCommunity);
    const auto before = snapshot();
    ASSERT_TRUE(std::find(before.back.begin(), before.back.end(), kLightGrey) != before.back.end())
        << "ifAdminStatus, read-write, gives the table some colour";
    table->setOrientation(TABLE_ORIENTATION_NORMAL);  // the orientation it has: nothing happens
    EXPECT_EQ(snapshot(), before);

    table->setOrientation(TABLE_ORIENTATION_PIVOTED);
    EXPECT_EQ(table->getOrientation(), TABLE_ORIENTATION_PIVOTED);
    auto transposed = before;
    transposed.colKeys.clear();  // pivoted, the column objects are rows, found by their number
    EXPECT_EQ(snapshot(true), transposed);
    EXPECT_EQ(grid().getTextMatrix(kIfDescr, 0), "ifDescr");
    EXPECT_EQ(grid().getColKey(1), grid().getColData(1).toString());  // columns keyed by index

    table->setOrientation(TABLE_ORIENTATION_NORMAL);
    EXPECT_EQ(snapshot(), before);

    table->PivotTable();
    const std::string mtu = std::string(kIfTable) + ".1." + std::to_string(kIfMtu) + ".";
    const auto cols = grid().getCols();
    table->PopulateCell(mtu + grid().getColData(1).toString(), "1234", "", "OK");
    table->PopulateCell(mtu + "99", "12abc", "", "OK");              // a new index: a new column
    table->PopulateCell("1.3.6.1.2.1.1.5.0", "outside", "", "OK");  // not under the table: nowhere
    ASSERT_EQ(grid().getCols(), cols + 1);
    EXPECT_EQ(grid().getTextMatrix(kIfMtu, 1), "1234");
    EXPECT_EQ(grid().getCellData(kIfMtu, 1), ui::Variant(1234));  // a number, to sort by value
    EXPECT_EQ(grid().getTextMatrix(0, cols), "99");
    EXPECT_EQ(grid().getCellData(kIfMtu, cols), ui::Variant("12abc"));
}

TEST_F(MIBTableTest, ObjectListDownloadsEachObjectUnderItsOwnTag) {
    downloadList("sysContact, sysName");
    ASSERT_EQ(grid().getRows(), 2);
    ASSERT_EQ(grid().getCols(), 3);
    EXPECT_EQ(grid().getRowData(1).toString(), "0");
    EXPECT_EQ(grid().getTextMatrix(0, 2), "sysName");
    EXPECT_EQ(grid().getTextMatrix(1, 2), SnmpAgent::kSysName);
    EXPECT_EQ(table->FindListedObject(kSysName, ""), 2);
    EXPECT_EQ(table->FindListedObject(kSysName, "sysName"), 2);
    EXPECT_EQ(table->FindListedObject(kSysName, "sysContact"), 0);  // another object's walk
    EXPECT_EQ(table->FindListedObject("1.3.6.1.2.1.1.5", ""), 0);   // the object itself is no instance
    EXPECT_EQ(table->LookupOID(1, 2)->getName(), "sysName");

    table->SelectAll();  // rows end with CR LF
    EXPECT_EQ(table->getSelection(), "Index\tsysContact\tsysName\r\n0\t" + grid().getTextMatrix(1, 1) + "\t" +
                                         SnmpAgent::kSysName);
}

TEST_F(MIBTableTest, CustomSortByCellDataAlternatesItsDirection) {
    download("hrSWRunTable");
    ASSERT_GT(grid().getRows(), 10);
    auto indexes = [&] {
        std::vector<double> values;
        for (std::int32_t r = 1; r < grid().getRows(); ++r) values.push_back(grid().getCellData(r, 1).number());
        return values;
    };
    table->Sort(1);
    auto sorted = indexes();
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));  // 9 before 10: by value, not by text
    table->Sort(1);
    sorted = indexes();
    EXPECT_TRUE(std::is_sorted(sorted.rbegin(), sorted.rend()));
    EXPECT_EQ(grid().getRow(), 0);
    const auto row = grid().FindRow("1");  // answers still find their row by its index
    ASSERT_GT(row, 0);
    EXPECT_EQ(grid().getTextMatrix(row, 1), "1");
}

TEST_F(MIBTableTest, RefreshCellReadsOnlyThatCellAgainAndRefreshRowTheRowWithoutItsIndex) {
    downloadList("sysContact,sysLocation");
    NetSnmpSet(kSysLocation, 's', "moved");
    NetSnmpSet(kSysContact, 's', "not refreshed");
    grid().Select(1, 2);
    int answers = 0;
    const auto counting = table->SNMP().ValueReceived.subscribe(
        [&](const std::string&, const std::string&, int, const std::string&, const std::string&,
            const std::string&) { ++answers; });
    // Green from before the request until the answer.
    const auto started = table->Active.subscribe([&](bool status) {
        if (status) {
            EXPECT_EQ(grid().getCellForeColor(1, 2), kGreen);
        }
    });
    ASSERT_TRUE(runToIdle(*table, [&] { table->RefreshCell(); }));
    EXPECT_EQ(answers, 1);
    EXPECT_EQ(grid().getTextMatrix(1, 2), "moved");
    EXPECT_NE(grid().getTextMatrix(1, 1), "not refreshed");
    EXPECT_EQ(grid().getCellForeColor(1, 2), kBlue);
    EXPECT_EQ(table->getSelectedOID(), kSysLocation);
    EXPECT_EQ(table->getSelectedRawValue(), "moved");

    ASSERT_TRUE(runToIdle(*table, [&] { table->RefreshRow(); }));
    EXPECT_EQ(answers, 3);
    EXPECT_EQ(grid().getTextMatrix(1, 1), "not refreshed");
    EXPECT_EQ(grid().getTextMatrix(1, 0), "0");
}

TEST_F(MIBTableTest, OnlyReadWriteValuesAreSetAndReadBack) {
    downloadList("sysDescr,sysContact,sysName", SnmpAgent::kWriteCommunity);
    for (const auto& [row, col] : {std::pair{1, 1}, std::pair{0, 2}, std::pair{1, 0}}) {
        EXPECT_FALSE(grid().EditCell(row, col)) << row << "," << col;  // read-only, header, index
        EXPECT_FALSE(grid().getEditing());
    }
    EXPECT_FALSE(table->getBusy()) << "nothing was sent";

    ASSERT_TRUE(grid().EditCell(1, 2));
    EXPECT_EQ(grid().getEditText(), grid().getCellData(1, 2).toString());  // the raw value, not the parsed text
    grid().setEditText("set through the table");
    ASSERT_TRUE(runToIdle(*table, [&] { grid().CommitEdit(); }));
    EXPECT_EQ(grid().getTextMatrix(1, 2), "set through the table");
    EXPECT_EQ(grid().getCellForeColor(1, 2), kBlue);
    EXPECT_EQ(grid().getCellBackColor(1, 2), kLightGrey);
    EXPECT_TRUE(toolkit.Messages().empty());

    ASSERT_TRUE(grid().EditCell(1, 3));
    grid().setEditText("renamed");
    ASSERT_TRUE(runToIdle(*table, [&] { grid().CommitEdit(); }));
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt, "Could not change sysName.0\r\n\r\nrenamed");
    EXPECT_EQ(toolkit.Messages()[0].Buttons, ui::MsgBoxExclamation);
    EXPECT_EQ(grid().getTextMatrix(1, 3), SnmpAgent::kSysName);
}

TEST_F(MIBTableTest, FormattingEventsDecideWhatHeadersAndCellsShow) {
    const auto headers = table->CustomHeaderFormating.subscribe(
        [](std::int32_t index, std::string&, std::string& parsed) {
            parsed = "[" + std::to_string(index) + "] " + parsed;
        });
    const auto cells = table->CustomCellFormating.subscribe(
        [](std::int32_t, std::int32_t col, std::string& value, std::string& parsed) {
            if (col == kIfMtu) value = "7";
            parsed = "<" + parsed + ">";
        });
    download("ifTable");
    EXPECT_EQ(grid().getTextMatrix(0, 0), "[0] Index");
    EXPECT_EQ(grid().getTextMatrix(0, kIfDescr), "[2] ifDescr");
    EXPECT_EQ(grid().getTextMatrix(1, 0), "<" + grid().getRowData(1).toString() + ">");
    EXPECT_EQ(grid().getCellData(1, kIfMtu), ui::Variant(7));
    EXPECT_TRUE(grid().getTextMatrix(1, kIfDescr).starts_with("<"));
}

}  // namespace
}  // namespace qlmib::test
