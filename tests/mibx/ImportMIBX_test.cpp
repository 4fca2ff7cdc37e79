#include <gtest/gtest.h>

#include <optional>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibx/ImportMIBX.h>
#include <qlmib/mibx/MIBXDate.h>

#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::ImportRecorder;
using test::MIBX;
using test::MibxFixture;
using Stored = ImportRecorder::Stored;

struct Row {
    std::string oid, parent;
    std::int64_t index, primary, typeI;
    std::string typeS, description;
    std::int64_t status, access;
    std::string enumName, parse, units;
};

std::optional<Row> treeRow(const std::string& module, const std::string& name) {
    auto q = SharedDatabase().prepare(
        "SELECT OID, ParentOID, \"Index\", \"Primary\", TypeI, TypeS, Description, Status, Access, Enum, Parse, "
        "Units FROM Tree WHERE MIB = ?1 AND Name = ?2");
    q.bind(1, module).bind(2, name);
    if (!q.step()) return std::nullopt;
    return Row{q.text(0),  q.text(1), q.int64(2),  q.int64(3),  q.int64(4),  q.text(5),
               q.text(6),  q.int64(7), q.int64(8), q.text(9), q.text(10), q.text(11)};
}

std::int64_t count(const char* sql) {
    auto q = SharedDatabase().prepare(sql);
    return q.step() ? q.int64(0) : -1;
}

std::vector<std::pair<std::int64_t, std::string>> enums(const std::string& name) {
    auto q = SharedDatabase().prepare("SELECT Value, Enum FROM Enums WHERE Name = ?1 ORDER BY Value");
    q.bind(1, name);
    std::vector<std::pair<std::int64_t, std::string>> out;
    while (q.step()) out.emplace_back(q.int64(0), q.text(1));
    return out;
}

const char* const kModule = R"(
<testRoot><OID>internet.4.1.99999</OID><SYNTAX></SYNTAX></testRoot>
<testTable><OID>testRoot.1</OID><SYNTAX>SEQUENCE</SYNTAX><ACCESS>not-accessible</ACCESS></testTable>
<testEntry><OID>testRoot(99999).1.1</OID><SYNTAX>TestEntry</SYNTAX><STATUS>current</STATUS></testEntry>
<testState>
  <OID>
    1.3.6.1.4.1.99999.1.1.2
  </OID>
  <SYNTAX>INTEGER</SYNTAX><ACCESS>READ-CREATE</ACCESS><STATUS>Deprecated</STATUS>
  <DESCRIPTION>  The state.
  Two lines.</DESCRIPTION>
  <ENUMS><up>1</up><down> 2 </down><odd>2.5</odd></ENUMS>
  <INDEX>ignored</INDEX>
</testState>)";

TEST_F(MibxFixture, ImportStoresModuleObjectsAndNamedNumbers) {
    const auto path = write("test.xml", "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION>"
                                        "<COMPILED>2024-05-01 10:11:12</COMPILED><MODULE>"
                                        "<LAST-UPDATED>199905311200Z</LAST-UPDATED><NAME>TEST-MIB</NAME>"
                                        "<DESCRIPTION>Module text.</DESCRIPTION><CONTACT>Ops</CONTACT>"
                                        "<ORGANIZATION>Org</ORGANIZATION></MODULE><TREE>" +
                                            std::string(kModule) + "</TREE></MIBX>");
    ImportMIBX importer;
    ImportRecorder events(importer);
    ASSERT_TRUE(importer.ImportMIBXFile(path));

    EXPECT_EQ(events.logs, (std::vector<std::string>{"Importing " + path + " ...",
                                                     "    File Format = 'Quellon.Net MIB-X 1.0'"}));
    EXPECT_TRUE(events.errors.empty()) << events.errors.front();
    EXPECT_EQ(events.stored, (std::vector<Stored>{{"testRoot", "1.3.6.1.4.1.99999", false},
                                                   {"testTable", "1.3.6.1.4.1.99999.1", false},
                                                   {"testEntry", "99999.1.1", false},
                                                   {"testState", "1.3.6.1.4.1.99999.1.1.2", false}}));
    EXPECT_EQ(importer.getModuleName(), "TEST-MIB");
    EXPECT_EQ(importer.getOIDCount(), 4);
    EXPECT_EQ(importer.getDuplicates(), 0);
    EXPECT_EQ(importer.getErrors(), 0);
    EXPECT_EQ(importer.getWarnings(), 0);

    const auto table = treeRow("TEST-MIB", "testTable");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->oid, "1.3.6.1.4.1.99999.1") << "resolved through the row stored just before";
    EXPECT_EQ(table->parent, "1.3.6.1.4.1.99999");
    EXPECT_EQ(table->index, 1);
    EXPECT_EQ(table->access, 4);

    const auto state = treeRow("TEST-MIB", "testState");
    ASSERT_TRUE(state);
    EXPECT_EQ(state->parent, "1.3.6.1.4.1.99999.1.1");
    EXPECT_EQ(state->index, 2);
    EXPECT_EQ(state->primary, 1);
    EXPECT_EQ(state->typeI, 2) << "INTEGER from the type catalogue";
    EXPECT_EQ(state->typeS, "INTEGER");
    EXPECT_EQ(state->access, 2) << "READ-CREATE stores as read-write";
    EXPECT_EQ(state->status, 4);
    EXPECT_EQ(state->description, "  The state.\n  Two lines.") << "descriptions are kept as written";
    EXPECT_EQ(state->enumName, "testState");
    EXPECT_EQ(state->parse, "");
    EXPECT_EQ(state->units, "");
    EXPECT_EQ(enums("testState"), (decltype(enums("")){{1, "up"}, {2, "odd"}}))
        << "2.5 rounds to even and relabels 2";

    const auto entry = treeRow("TEST-MIB", "testEntry");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->typeI, 0) << "a syntax the catalogue does not know";
    EXPECT_EQ(entry->typeS, "TestEntry");
    EXPECT_EQ(entry->enumName, "");

    auto module = SharedDatabase().prepare(
        "SELECT Name, Description, Organization, Contact, Compiled, Imported, LastUpdated FROM MIBs");
    ASSERT_TRUE(module.step());
    EXPECT_EQ(module.text(0), "TEST-MIB");
    EXPECT_EQ(module.text(1), "Module text.");
    EXPECT_EQ(module.text(2), "Org");
    EXPECT_EQ(module.text(3), "Ops");
    EXPECT_EQ(module.text(4), "2024-05-01 10:11:12");
    EXPECT_GE(module.text(5), "2024-") << "imported now";
    EXPECT_EQ(module.text(6), "1999-05-31 12:00:00");
    EXPECT_FALSE(module.step()) << "one row per module";
}

TEST_F(MibxFixture, ImportStoresAccessAndStatusCodes) {
    const struct {
        const char* text;
        std::int64_t access, status;
    } cases[] = {
        {"read-only", 1, 0},      {"Read-Write", 2, 0},    {"read-create", 2, 0}, {"WRITE-ONLY", 3, 0},
        {"not-accessible", 4, 0}, {"accessible-for-notify", 0, 0}, {"mandatory", 0, 1}, {"optional", 0, 2},
        {"obsolete", 0, 3},       {"deprecated", 0, 4},    {"CURRENT", 0, 5},     {"", 0, 0},
    };
    std::string tree;
    for (size_t i = 0; i < std::size(cases); ++i)
        tree += "<o" + std::to_string(i) + "><OID>1.3." + std::to_string(i) + "</OID><ACCESS>" + cases[i].text +
                "</ACCESS><STATUS>" + cases[i].text + "</STATUS></o" + std::to_string(i) + ">";
    ImportMIBX importer;
    ASSERT_TRUE(importer.ImportMIBXFile(write("codes.xml", MIBX(tree))));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto row = treeRow("TEST-MIB", "o" + std::to_string(i));
        ASSERT_TRUE(row) << cases[i].text;
        EXPECT_EQ(row->access, cases[i].access) << cases[i].text;
        EXPECT_EQ(row->status, cases[i].status) << cases[i].text;
    }
}

// File-level rejections: one Error, false, nothing written.
struct RejectCase {
    const char* label;
    std::string content;
    std::string message;  // FILE stands for the path
    size_t logs;          // Log lines before the rejection
};

class ImportRejects : public MibxFixture, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(ImportRejects, WithOneErrorAndNothingWritten) {
    const auto& c = GetParam();
    const auto path = write("bad.xml", c.content);
    std::string expected = c.message;
    expected.replace(expected.find("FILE"), 4, path);
    ImportMIBX importer;
    ImportRecorder events(importer);
    EXPECT_FALSE(importer.ImportMIBXFile(path));
    EXPECT_EQ(events.errors, std::vector<std::string>{expected});
    EXPECT_EQ(importer.getErrors(), 1);
    EXPECT_EQ(events.logs.size(), c.logs);
    EXPECT_EQ(count("SELECT Count(*) FROM Tree") + count("SELECT Count(*) FROM MIBs") +
                  count("SELECT Count(*) FROM Enums"),
              0);
}

const std::string kObject = "<TREE><a><OID>1.3</OID><ENUMS><x>1</x></ENUMS></a></TREE>";

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportRejects,
    ::testing::Values(
        RejectCase{"notWellFormed", "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION>\n<TREE><a></b></TREE></MIBX>",
                   "Could not load FILE\r\nStart-end tags mismatch at line 2, column 12", 0},
        RejectCase{"wrongRoot", "<MIB><VERSION>Quellon.Net MIB-X 1.0</VERSION>" + kObject + "</MIB>",
                   "FILE is not a Quellon MIBX file or is corrupt.", 0},
        RejectCase{"noVersion", "<MIBX><MODULE><NAME>M</NAME></MODULE>" + kObject + "</MIBX>",
                   "FILE is not a Quellon MIBX file or is corrupt.", 0},
        RejectCase{"wrongVersion",
                   "<MIBX><VERSION>Quellon.Net MIB-X 1.1</VERSION><MODULE><NAME>M</NAME></MODULE>" + kObject +
                       "</MIBX>",
                   "FILE is 'Quellon.Net MIB-X 1.1' format. This version of the RAD-Ivazudar/Oriredu only "
                   "supports MIB-X Version 1.0. Please visit the Quellon web site for an update.",
                   0},
        RejectCase{"noName",
                   "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION><COMPILED>2024-01-01</COMPILED>" + kObject +
                       "</MIBX>",
                   "FILE is not a Quellon MIBX file or is corrupt.", 2},
        RejectCase{"noTree",
                   "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION><MODULE><NAME>M</NAME></MODULE>"
                   "<TREES><a><OID>1.3</OID></a></TREES></MIBX>",
                   "FILE is not a Quellon MIBX file or is corrupt.", 2},
        RejectCase{"binary", std::string("\x00\x01\x02MIBX\xFF", 8),
                   "Could not load FILE\r\nNo document element found at line 1, column 9", 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MibxFixture, ImportSkipsBrokenObjectsAndGoesOn) {
    const auto path = write("objects.xml", MIBX(R"(
<first><OID>1.3.6.1.4.1.1</OID></first>
<noOID><SYNTAX>INTEGER</SYNTAX><ENUMS><kept>1</kept></ENUMS></noOID>
<early><ENUMS><before>7</before></ENUMS><OID>later.1</OID><ENUMS><after>8</after></ENUMS></early>
<!-- a comment -->
<later><OID>first.2</OID></later>
<quote><OID>o'brien".1</OID></quote>
<gap><OID>1..3</OID></gap>
<emptyOID><OID> </OID></emptyOID>
<emptyEnums><OID>1.3.6.1.4.1.1.3</OID><ENUMS></ENUMS></emptyEnums>
<hugeArc><OID>1.3.6.1.4.1.4294967296</OID></hugeArc>
<hugeValue><OID>1.3.6.1.4.1.1.4</OID><ENUMS><big>3000000000</big><small>-2147483648</small></ENUMS></hugeValue>
)"));
    ImportMIBX importer;
    ImportRecorder events(importer);
    ASSERT_TRUE(importer.ImportMIBXFile(path));
    EXPECT_EQ(events.errors, (std::vector<std::string>{
                                 "noOID has no OID.",
                                 "Cannot determine OID value for 'later' in { later.1 }.",
                                 "#comment has no OID.",
                                 "Cannot determine OID value for 'o'brien\"' in { o'brien\".1 }.",
                                 "Cannot determine OID value for '' in { 1..3 }.",
                                 "emptyOID has no OID.",
                                 "Cannot store hugeArc: the last arc of 1.3.6.1.4.1.4294967296 is out of range.",
                                 "Cannot store hugeValue: the value 3000000000 of big is out of range.",
                             }));
    EXPECT_EQ(importer.getErrors(), 8);
    EXPECT_EQ(events.stored, (std::vector<Stored>{{"first", "1.3.6.1.4.1.1", false},
                                                   {"later", "1.3.6.1.4.1.1.2", false},
                                                   {"emptyEnums", "1.3.6.1.4.1.1.3", false},
                                                   {"hugeValue", "1.3.6.1.4.1.1.4", false}}));
    EXPECT_EQ(importer.getOIDCount(), 4);
    EXPECT_FALSE(treeRow("TEST-MIB", "early")) << "an OID naming a later object is not stored";
    EXPECT_EQ(enums("early"), (decltype(enums("")){{7, "before"}})) << "named numbers before the OID are stored";
    EXPECT_EQ(enums("noOID"), (decltype(enums("")){{1, "kept"}}));
    EXPECT_EQ(enums("emptyEnums"), (decltype(enums("")){}));
    EXPECT_EQ(treeRow("TEST-MIB", "emptyEnums")->enumName, "") << "an empty ENUMS is no enumeration";
    EXPECT_EQ(enums("hugeValue"), (decltype(enums("")){{-2147483648LL, "small"}}));
    EXPECT_EQ(count("SELECT Count(*) FROM MIBs"), 1);
}

TEST_F(MibxFixture, ImportWithoutCompiledStoresObjectsButNoModule) {
    const auto path = write("nocompiled.xml", MIBX("<a><OID>1.3.6</OID></a>", "TEST-MIB", ""));
    ImportMIBX importer;
    ImportRecorder events(importer);
    EXPECT_TRUE(importer.ImportMIBXFile(path));
    EXPECT_EQ(events.errors, std::vector<std::string>{path + " is not a Quellon MIBX file or is corrupt."});
    EXPECT_TRUE(treeRow("TEST-MIB", "a"));
    EXPECT_EQ(count("SELECT Count(*) FROM MIBs"), 0);
}

TEST_F(MibxFixture, ImportOfAnEmptyTreeWritesTheModuleRow) {
    ImportMIBX importer;
    EXPECT_TRUE(importer.ImportMIBXFile(write("empty.xml", MIBX("", "EMPTY-MIB", "<COMPILED>garbage</COMPILED>"))));
    EXPECT_EQ(importer.getOIDCount(), 0);
    auto q = SharedDatabase().prepare("SELECT Name, Compiled, LastUpdated FROM MIBs");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.text(0), "EMPTY-MIB");
    EXPECT_EQ(q.text(1), kZeroDate) << "a date that does not convert";
    EXPECT_EQ(q.text(2), kZeroDate) << "no LAST-UPDATED";
}

TEST_F(MibxFixture, ReimportOverwritesCountsDuplicatesAndDeletesNothing) {
    const auto first = write("v1.xml", MIBX("<a><OID>1.3.6.1.4.1.5</OID><DESCRIPTION>one</DESCRIPTION></a>"
                                            "<b><OID>a.1</OID><ENUMS><on>1</on></ENUMS></b>"
                                            "<gone><OID>a.2</OID></gone>"));
    const auto second = write("v2.xml", MIBX("<a><OID>1.3.6.1.4.1.6</OID><DESCRIPTION>two</DESCRIPTION></a>"
                                             "<B><OID>a.1</OID><ENUMS><ON>1</ON></ENUMS></B>"));
    ImportMIBX importer;
    ImportRecorder events(importer);
    ASSERT_TRUE(importer.ImportMIBXFile(first));
    SharedDatabase().exec("UPDATE Tree SET \"Primary\" = 0 WHERE Name = 'a'");
    ASSERT_TRUE(importer.ImportMIBXFile(first));
    EXPECT_EQ(importer.getOIDCount(), 6);
    EXPECT_EQ(importer.getDuplicates(), 3);
    EXPECT_EQ(std::vector<Stored>(events.stored.begin() + 3, events.stored.end()),
              (std::vector<Stored>{{"a", "1.3.6.1.4.1.5", true}, {"b", "1.3.6.1.4.1.5.1", true},
                                   {"gone", "1.3.6.1.4.1.5.2", true}}));
    EXPECT_EQ(count("SELECT Count(*) FROM Tree"), 3);
    EXPECT_EQ(count("SELECT Count(*) FROM Enums"), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM MIBs"), 1);

    ASSERT_TRUE(importer.ImportMIBXFile(second));
    EXPECT_EQ(importer.getOIDCount(), 8);
    EXPECT_EQ(importer.getDuplicates(), 5) << "descriptors match without regard to case";
    EXPECT_EQ(count("SELECT Count(*) FROM Tree"), 3) << "gone stays: an import never deletes";
    const auto a = treeRow("TEST-MIB", "a");
    EXPECT_EQ(a->oid, "1.3.6.1.4.1.6");
    EXPECT_EQ(a->index, 6);
    EXPECT_EQ(a->description, "two");
    EXPECT_EQ(a->primary, 0) << "an existing row keeps its Primary";
    EXPECT_EQ(treeRow("TEST-MIB", "B")->oid, "1.3.6.1.4.1.6.1") << "the name as the new file spells it";
    EXPECT_EQ(enums("B"), (decltype(enums("")){{1, "ON"}}));
}

TEST_F(MibxFixture, CountersAccumulateAcrossFilesOfOneInstanceOnly) {
    const auto good = write("good.xml", MIBX("<a><OID>1.3</OID></a><b><OID>1.3.1</OID></b>"));
    const auto bad = write("bad.xml", "<MIBX>");
    ImportMIBX importer;
    importer.ImportMIBXFile(good);
    importer.ImportMIBXFile(bad);
    importer.ImportMIBXFile(good);
    importer.ImportMIBXFile(bad);
    EXPECT_EQ(importer.getOIDCount(), 4);
    EXPECT_EQ(importer.getDuplicates(), 2);
    EXPECT_EQ(importer.getErrors(), 2);
    EXPECT_EQ(importer.getModuleName(), "") << "the last file had no module";

    ImportMIBX fresh;
    fresh.ImportMIBXFile(good);
    EXPECT_EQ(fresh.getOIDCount(), 2);
    EXPECT_EQ(fresh.getDuplicates(), 2);
    EXPECT_EQ(fresh.getErrors(), 0);
}

TEST_F(MibxFixture, ImportKeepsQuotesInNamesAndTexts) {
    const std::string module = "QUO'TE\"MIB";
    const auto path = write("quotes.xml", "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION><COMPILED>2024-01-01"
                                          "</COMPILED><MODULE><NAME>QUO'TE&quot;MIB</NAME><DESCRIPTION>it's "
                                          "\"quoted\"</DESCRIPTION></MODULE><TREE><a><OID>1.3</OID><DESCRIPTION>"
                                          "'; DROP TABLE Tree; --\"</DESCRIPTION><ENUMS><it-s>1</it-s></ENUMS>"
                                          "</a></TREE></MIBX>");
    ImportMIBX importer;
    ASSERT_TRUE(importer.ImportMIBXFile(path));
    ASSERT_TRUE(importer.ImportMIBXFile(path));
    EXPECT_EQ(importer.getDuplicates(), 1) << "the row is found again by a module name with quotes";
    EXPECT_EQ(importer.getModuleName(), module);
    EXPECT_EQ(treeRow(module, "a")->description, "'; DROP TABLE Tree; --\"");
    auto q = SharedDatabase().prepare("SELECT Name, Description FROM MIBs");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.text(0), module);
    EXPECT_EQ(q.text(1), "it's \"quoted\"");
    EXPECT_FALSE(q.step());
}

TEST_F(MibxFixture, ImportStoresATenMegabyteDescription) {
    const std::string description(10 * 1024 * 1024, 'd');
    ImportMIBX importer;
    ASSERT_TRUE(importer.ImportMIBXFile(
        write("big.xml", MIBX("<big><OID>1.3</OID><DESCRIPTION>" + description + "</DESCRIPTION></big>"))));
    EXPECT_EQ(treeRow("TEST-MIB", "big")->description.size(), description.size());
}

TEST_F(MibxFixture, ModulesSharingADescriptorShareItsNamedNumbers) {
    ImportMIBX importer;
    ASSERT_TRUE(importer.ImportMIBXFile(
        write("one.xml", MIBX("<state><OID>1.3.1</OID><ENUMS><up>1</up><down>2</down></ENUMS></state>", "ONE"))));
    ASSERT_TRUE(importer.ImportMIBXFile(
        write("two.xml", MIBX("<state><OID>1.3.2</OID><ENUMS><on>1</on></ENUMS></state>", "TWO"))));
    EXPECT_EQ(enums("state"), (decltype(enums("")){{1, "on"}, {2, "down"}}));
    EXPECT_EQ(importer.getDuplicates(), 0) << "rows are per module";
}

TEST_F(MibxFixture, DatabaseFailureKeepsEarlierRowsAndReachesTheCaller) {
    SharedDatabase().exec("CREATE TRIGGER refuse BEFORE INSERT ON Tree WHEN NEW.Name = 'boom' "
                          "BEGIN SELECT RAISE(ABORT, 'disk on fire'); END");
    const auto path = write("fail.xml", MIBX("<a><OID>1.3</OID><ENUMS><x>1</x></ENUMS></a>"
                                             "<boom><OID>1.3.1</OID></boom><c><OID>1.3.2</OID></c>"));
    ImportMIBX importer;
    ImportRecorder events(importer);
    try {
        importer.ImportMIBXFile(path);
        FAIL() << "the failure must reach the caller";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_DATABASE);
        EXPECT_NE(std::string(e.what()).find("disk on fire"), std::string::npos) << e.what();
    }
    EXPECT_EQ(events.stored, (std::vector<Stored>{{"a", "1.3", false}}));
    // Another connection sees what was committed.
    CloseSharedDatabase();
    EXPECT_TRUE(treeRow("TEST-MIB", "a"));
    EXPECT_EQ(enums("a").size(), 1u);
    EXPECT_FALSE(treeRow("TEST-MIB", "c"));
    EXPECT_EQ(count("SELECT Count(*) FROM MIBs"), 0);

    SharedDatabase().exec("DROP TRIGGER refuse");
    ImportMIBX again;
    EXPECT_TRUE(again.ImportMIBXFile(path)) << "no transaction is left open";
    EXPECT_EQ(again.getDuplicates(), 1);
    EXPECT_EQ(count("SELECT Count(*) FROM Tree"), 3);
}

TEST_F(MibxFixture, ConvertOIDResolvesEachKindOfComponent) {
    test::insertRow(home.db(), {.oid = "1.3.6.1.2.1", .name = "mib-2", .mib = "SNMPv2-SMI"});
    const struct {
        const char* value;
        bool resolved;
        const char* oid;
    } cases[] = {
        {"1.3.6.1.4.1.99999", true, "1.3.6.1.4.1.99999"},
        {"internet.2.1", true, "1.3.6.1.2.1"},
        {"iso.org(3).dod(6).1", true, "1.3.6.1"},
        {"MIB-2.7", true, "1.3.6.1.2.1.7"},
        {"mib-2.system(1)", true, "1.3.6.1.2.1.1"},
        {"dod.Internet", false, "1.3.6."},
        {"", true, ""},
        {"1.3.x", false, "1.3."},
        {"1.-3", false, "1."},
    };
    ImportMIBX importer;
    for (const auto& c : cases) {
        std::string oid;
        EXPECT_EQ(importer.ConvertOID(c.value, oid), c.resolved) << c.value;
        EXPECT_EQ(oid, c.oid) << c.value;
    }
    EXPECT_EQ(importer.getErrors(), 3);
    std::string oid = "1.3";
    EXPECT_TRUE(importer.ConvertOID("6", oid));
    EXPECT_EQ(oid, "1.36") << "appends to what the caller passes";
}

TEST_F(MibxFixture, LookupOIDSearchesEveryModule) {
    test::insertRow(home.db(), {.oid = "1.3.6.1.2.1.2", .name = "interfaces", .mib = "IF-MIB", .primary = false});
    ImportMIBX importer;
    std::string oid = "unchanged";
    EXPECT_TRUE(importer.LookupOID("INTERFACES", oid));
    EXPECT_EQ(oid, "1.3.6.1.2.1.2");
    oid = "unchanged";
    EXPECT_FALSE(importer.LookupOID("ifTable", oid));
    EXPECT_EQ(oid, "unchanged");
}

}  // namespace
}  // namespace qlmib
