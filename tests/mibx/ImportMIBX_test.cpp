#include <gtest/gtest.h>

#include <qlmib/common/Error.h>
#include <qlmib/mibx/ImportMIBX.h>
#include <qlmib/mibx/MIBXDate.h>

#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::ImportRecorder;
using test::MIBX;
using test::MibxFixture;
using test::rows;
using Rows = std::vector<std::string>;

const char* const kTreeColumns =
    "SELECT Name, OID, ParentOID, \"Index\", \"Primary\", TypeI, TypeS, Access, Status, Enum, Parse, Units, "
    "Description FROM Tree ";

TEST_F(MibxFixture, ImportStoresModuleObjectsAndNamedNumbers) {
    const auto path = write("test.xml", R"(<?xml version="1.0"?>
<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION><COMPILED>2024-05-01 10:11:12</COMPILED>
<MODULE><LAST-UPDATED>199905311200Z</LAST-UPDATED><NAME>
  TEST-MIB </NAME><DESCRIPTION>Module text.</DESCRIPTION><CONTACT>Ops</CONTACT><ORGANIZATION>Org</ORGANIZATION>
</MODULE><TREE>
  <testRoot><OID>internet.4.1.99999</OID><SYNTAX></SYNTAX></testRoot>
  <testTable><OID>testRoot.1</OID><SYNTAX>SEQUENCE</SYNTAX><ACCESS>not-accessible</ACCESS></testTable>
  <testEntry><OID>testRoot(99999).1.1</OID><SYNTAX>TestEntry</SYNTAX><STATUS>current</STATUS></testEntry>
  <testState><OID>
      1.3.6.1.4.1.99999.1.1.2
    </OID><SYNTAX>integer</SYNTAX><ACCESS>READ-CREATE</ACCESS><STATUS>Deprecated</STATUS><INDEX>ignored</INDEX>
    <DESCRIPTION>  Two
  lines.</DESCRIPTION><ENUMS><up>1</up><down> 2 </down><odd>2.5</odd><big>&amp;H10</big></ENUMS></testState>
</TREE></MIBX>)");
    ImportMIBX importer;
    ImportRecorder events(importer);
    ASSERT_TRUE(importer.ImportMIBXFile(path));

    EXPECT_EQ(events.logs, (Rows{"Importing " + path + " ...", "    File Format = 'Quellon.Net MIB-X 1.0'"}));
    EXPECT_EQ(events.errors, Rows{});
    EXPECT_EQ(events.stored, (Rows{"testRoot 1.3.6.1.4.1.99999", "testTable 1.3.6.1.4.1.99999.1",
                                   "testEntry 99999.1.1", "testState 1.3.6.1.4.1.99999.1.1.2"}));
    EXPECT_EQ(importer.getModuleName(), "TEST-MIB") << "without the white space around it";
    EXPECT_EQ(importer.getOIDCount(), 4);
    EXPECT_EQ(importer.getDuplicates() + importer.getErrors() + importer.getWarnings(), 0);
    EXPECT_EQ(rows(std::string(kTreeColumns) + "WHERE MIB = 'TEST-MIB' ORDER BY rowid"),
              (Rows{"testRoot|1.3.6.1.4.1.99999|1.3.6.1.4.1|99999|-1|0||0|0||||",
                    "testTable|1.3.6.1.4.1.99999.1|1.3.6.1.4.1.99999|1|-1|0|SEQUENCE|4|0||||",
                    "testEntry|99999.1.1|99999.1|1|-1|0|TestEntry|0|5||||",
                    "testState|1.3.6.1.4.1.99999.1.1.2|1.3.6.1.4.1.99999.1.1|2|-1|2|integer|2|4|testState|||"
                    "  Two\n  lines."}));
    EXPECT_EQ(rows("SELECT Name, Value, Enum FROM Enums ORDER BY Value"),
              (Rows{"testState|1|up", "testState|2|odd", "testState|16|big"}))
        << "2.5 rounds to even and relabels 2";
    EXPECT_EQ(rows("SELECT Name, Description, Organization, Contact, Compiled, LastUpdated, Imported > '2024' "
                   "FROM MIBs"),
              Rows{"TEST-MIB|Module text.|Org|Ops|2024-05-01 10:11:12|1999-05-31 12:00:00|1"});
    EXPECT_FALSE(importer.ImportMIBXFile(path + ".missing"));
    EXPECT_EQ(importer.getModuleName(), "TEST-MIB") << "a failed load keeps the last file's module";
}

TEST_F(MibxFixture, ImportRejectsBadFilesWithOneErrorAndWritesNothing) {
    const std::string object = "<TREE><a><OID>1.3</OID><ENUMS><x>1</x></ENUMS></a></TREE>";
    const std::string module = "<MODULE><NAME>M</NAME></MODULE>";
    const auto version = [](const char* tag) { return std::string("<VERSION>") + tag + "</VERSION>"; };
    const std::string notMIBX = "FILE is not a Quellon MIBX file or is corrupt.";
    const struct {
        std::string content, message;  // FILE stands for the path
        size_t logs;                   // Log lines before the rejection
    } cases[] = {
        {"<MIBX>" + version("Quellon.Net MIB-X 1.0") + "\n<TREE><a></b></TREE></MIBX>",
         "Could not load FILE\r\nStart-end tags mismatch at line 2, column 12", 0},
        {std::string("\0\1MIBX", 6), "Could not load FILE\r\nNo document element found at line 1, column 7", 0},
        {"<MIB>" + version("Quellon.Net MIB-X 1.0") + module + object + "</MIB>", notMIBX, 0},
        {"<MIBX>" + module + object + "</MIBX>", notMIBX, 0},
        {"<MIBX>" + version("quellon.net MIB-X 1.0") + module + object + "</MIBX>",
         "FILE is 'quellon.net MIB-X 1.0' format. This version of the RAD-Ivazudar/Oriredu only supports MIB-X "
         "Version 1.0. Please visit the Quellon web site for an update.",
         0},
        {"<MIBX>" + version("Quellon.Net MIB-X 1.0") + object + "</MIBX>", notMIBX, 2},
        {"<MIBX>" + version("Quellon.Net MIB-X 1.0") + module + "<TREES/></MIBX>", notMIBX, 2},
    };
    for (const auto& c : cases) {
        const auto path = write("bad.xml", c.content);
        std::string expected = c.message;
        expected.replace(expected.find("FILE"), 4, path);
        ImportMIBX importer;
        ImportRecorder events(importer);
        EXPECT_FALSE(importer.ImportMIBXFile(path)) << expected;
        EXPECT_EQ(events.errors, Rows{expected});
        EXPECT_EQ(importer.getErrors(), 1);
        EXPECT_EQ(events.logs.size(), c.logs) << expected;
        EXPECT_EQ(rows("SELECT (SELECT Count(*) FROM Tree) + (SELECT Count(*) FROM Enums) + "
                       "(SELECT Count(*) FROM MIBs)"),
                  Rows{"0"});
    }
}

TEST_F(MibxFixture, ImportSkipsBrokenObjectsAndGoesOn) {
    test::insertRow(home.db(), {.oid = "1.3.6.1.4.1", .name = "enterprises", .mib = "OTHER-MIB", .primary = false});
    const auto path = write("objects.xml", MIBX(R"(
<first><OID>ENTERPRISES.1</OID></first>
<noOID><SYNTAX>INTEGER</SYNTAX><ENUMS><kept>1</kept></ENUMS></noOID>
<early><ENUMS><before>7</before></ENUMS><OID>later.1</OID><ENUMS><after>8</after></ENUMS></early>
<!-- a comment -->
<later><OID>first.2</OID></later>
<quote><OID>o'brien".1</OID></quote>
<rootCase><OID>dod.Internet.1</OID></rootCase>
<gap><OID>1..3</OID></gap>
<lead><OID>.1.3</OID></lead>
<trail><OID>1.3.</OID></trail>
<emptyOID><OID> </OID></emptyOID>
<emptyEnums><OID>1.3.6.1.4.1.1.3</OID><ENUMS></ENUMS></emptyEnums>
<hugeArc><OID>1.3.6.1.4.1.4294967296</OID></hugeArc>
<hugeValue><OID>1.3.6.1.4.1.1.4</OID><ENUMS><big>3000000000</big><small>-2147483648</small></ENUMS></hugeValue>
)"));
    ImportMIBX importer;
    ImportRecorder events(importer);
    ASSERT_TRUE(importer.ImportMIBXFile(path));
    EXPECT_EQ(events.errors, (Rows{"noOID has no OID.", "Cannot determine OID value for 'later' in { later.1 }.",
                                   "#comment has no OID.",
                                   "Cannot determine OID value for 'o'brien\"' in { o'brien\".1 }.",
                                   "Cannot determine OID value for 'Internet' in { dod.Internet.1 }.",
                                   "Cannot determine OID value for '' in { 1..3 }.",
                                   "Cannot determine OID value for '' in { .1.3 }.",
                                   "Cannot determine OID value for '' in { 1.3. }.", "emptyOID has no OID.",
                                   "Cannot store hugeArc: the last arc of 1.3.6.1.4.1.4294967296 is out of range.",
                                   "Cannot store hugeValue: the value 3000000000 of big is out of range."}));
    EXPECT_EQ(importer.getErrors(), 11);
    EXPECT_EQ(importer.getOIDCount(), 4);
    EXPECT_EQ(rows("SELECT Name, OID, Enum FROM Tree WHERE MIB = 'TEST-MIB' ORDER BY rowid"),
              (Rows{"first|1.3.6.1.4.1.1|", "later|1.3.6.1.4.1.1.2|", "emptyEnums|1.3.6.1.4.1.1.3|",
                    "hugeValue|1.3.6.1.4.1.1.4|hugeValue"}))
        << "a descriptor of any module, primary or not, in any case; root names only as written";
    EXPECT_EQ(rows("SELECT Name, Value, Enum FROM Enums ORDER BY rowid"),
              (Rows{"noOID|1|kept", "early|7|before", "hugeValue|-2147483648|small"}))
        << "named numbers before an unresolved OID are stored, those after it are not";
    EXPECT_EQ(rows("SELECT Name FROM MIBs"), Rows{"TEST-MIB"});
}

TEST_F(MibxFixture, ADescriptorRepeatedInANewModulesFileOverwritesTheRowItsFirstStoredTwinWrote) {
    const auto path = write("repeats.xml", MIBX(R"(
<twin><OID>1.3.6.1.4.1.9.1</OID></twin>
<single><OID>1.3.6.1.4.1.9.2</OID></single>
<broken><OID>nowhere.1</OID></broken>
<TWIN><OID>1.3.6.1.4.1.9.3</OID></TWIN>
<broken><OID>1.3.6.1.4.1.9.4</OID></broken>
<twin><OID>1.3.6.1.4.1.9.5</OID></twin>
)", "NEW-MIB"));
    ImportMIBX importer;
    ImportRecorder events(importer);
    ASSERT_TRUE(importer.ImportMIBXFile(path));
    EXPECT_EQ(events.stored, (Rows{"twin 1.3.6.1.4.1.9.1", "single 1.3.6.1.4.1.9.2", "TWIN 1.3.6.1.4.1.9.3 dup",
                                   "broken 1.3.6.1.4.1.9.4", "twin 1.3.6.1.4.1.9.5 dup"}))
        << "a twin whose first could not be stored is no duplicate";
    EXPECT_EQ(importer.getDuplicates(), 2);
    EXPECT_EQ(rows("SELECT Name, OID FROM Tree WHERE MIB = 'NEW-MIB' ORDER BY rowid"),
              (Rows{"twin|1.3.6.1.4.1.9.5", "single|1.3.6.1.4.1.9.2", "broken|1.3.6.1.4.1.9.4"}));
    EXPECT_EQ(rows("SELECT DISTINCT typeof(TypeS) || ' ' || typeof(Description) FROM Tree WHERE MIB = 'NEW-MIB'"),
              Rows{"text text"})
        << "a SYNTAX or DESCRIPTION the object lacks is stored as empty text, not null";
}

TEST_F(MibxFixture, ImportWithoutCompiledOrObjects) {
    ImportMIBX importer;
    ImportRecorder events(importer);
    const auto noCompiled = write("nocompiled.xml", MIBX("<a><OID>1.3.6</OID></a>", "A-MIB", ""));
    EXPECT_TRUE(importer.ImportMIBXFile(noCompiled));
    EXPECT_EQ(events.errors, Rows{noCompiled + " is not a Quellon MIBX file or is corrupt."});
    EXPECT_EQ(rows("SELECT Name FROM Tree"), Rows{"a"}) << "objects are stored before COMPILED is looked for";
    EXPECT_EQ(rows("SELECT Name FROM MIBs"), Rows{});

    EXPECT_TRUE(importer.ImportMIBXFile(write("empty.xml", MIBX("", "EMPTY-MIB", "<COMPILED>x</COMPILED>"))));
    const std::string zero(kZeroDate);
    EXPECT_EQ(rows("SELECT Name, Compiled, LastUpdated FROM MIBs"), Rows{"EMPTY-MIB|" + zero + "|" + zero});
}

TEST_F(MibxFixture, ReimportOverwritesCountsDuplicatesAndDeletesNothing) {
    const auto first = write("v1.xml", MIBX("<a><OID>1.3.6.1.4.1.5</OID><DESCRIPTION>one</DESCRIPTION></a>"
                                            "<b><OID>a.1</OID><ENUMS><on>1</on><off>2</off></ENUMS></b>"
                                            "<gone><OID>a.2</OID></gone>"));
    const auto second = write("v2.xml", MIBX("<a><OID>1.3.6.1.4.1.6</OID><DESCRIPTION>two</DESCRIPTION></a>"
                                             "<B><OID>a.1</OID><ENUMS><ON>1</ON></ENUMS></B>"));
    const auto broken = write("broken.xml", "<MIBX>");
    ImportMIBX importer;
    ImportRecorder events(importer);
    ASSERT_TRUE(importer.ImportMIBXFile(first));
    SharedDatabase().exec("UPDATE Tree SET \"Primary\" = 0 WHERE Name = 'a'");
    ASSERT_TRUE(importer.ImportMIBXFile(first));
    EXPECT_EQ(Rows(events.stored.begin() + 3, events.stored.end()),
              (Rows{"a 1.3.6.1.4.1.5 dup", "b 1.3.6.1.4.1.5.1 dup", "gone 1.3.6.1.4.1.5.2 dup"}));
    EXPECT_FALSE(importer.ImportMIBXFile(broken));
    ASSERT_TRUE(importer.ImportMIBXFile(second));
    EXPECT_EQ(importer.getOIDCount(), 8) << "counters accumulate over the files";
    EXPECT_EQ(importer.getDuplicates(), 5) << "descriptors match without regard to case";
    EXPECT_EQ(importer.getErrors(), 1);
    EXPECT_EQ(rows(std::string(kTreeColumns) + "ORDER BY rowid"),
              (Rows{"a|1.3.6.1.4.1.6|1.3.6.1.4.1|6|0|0||0|0||||two", "B|1.3.6.1.4.1.6.1|1.3.6.1.4.1.6|1|-1|0||0|0|B|||",
                    "gone|1.3.6.1.4.1.5.2|1.3.6.1.4.1.5|2|-1|0||0|0||||"}))
        << "rows keep their Primary, take the new spelling, and none is deleted";
    EXPECT_EQ(rows("SELECT Name, Value, Enum FROM Enums ORDER BY Value"), (Rows{"B|1|ON", "b|2|off"}));
    EXPECT_EQ(rows("SELECT Count(*) FROM MIBs"), Rows{"1"});

    ImportMIBX fresh;
    fresh.ImportMIBXFile(write("other.xml", MIBX("<a><OID>1.3.6.1.4.1.7</OID></a>", "OTHER-MIB")));
    fresh.ImportMIBXFile(second);
    EXPECT_EQ(fresh.getOIDCount() * 10 + fresh.getDuplicates(), 32)
        << "counters belong to their instance; rows are per module";
}

TEST_F(MibxFixture, ImportKeepsQuotesAndLongTexts) {
    const std::string description(10 * 1024 * 1024, 'd');
    const auto path = write("quotes.xml", "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION><COMPILED>2024-01-01"
                                          "</COMPILED><MODULE><NAME>QUO'TE&quot;MIB</NAME><DESCRIPTION>it's "
                                          "\"quoted\"</DESCRIPTION></MODULE><TREE><a><OID>1.3</OID><DESCRIPTION>"
                                          "'; DROP TABLE Tree; --\"</DESCRIPTION></a><big><OID>1.4</OID>"
                                          "<DESCRIPTION>" + description + "</DESCRIPTION></big></TREE></MIBX>");
    ImportMIBX importer;
    ASSERT_TRUE(importer.ImportMIBXFile(path));
    ASSERT_TRUE(importer.ImportMIBXFile(path));
    EXPECT_EQ(importer.getDuplicates(), 2) << "rows are found again under a module name with quotes";
    EXPECT_EQ(importer.getModuleName(), "QUO'TE\"MIB");
    EXPECT_EQ(rows("SELECT MIB, iif(Length(Description) < 100, Description, Length(Description)) FROM Tree"),
              (Rows{"QUO'TE\"MIB|'; DROP TABLE Tree; --\"", "QUO'TE\"MIB|10485760"}));
    EXPECT_EQ(rows("SELECT Name, Description FROM MIBs"), Rows{"QUO'TE\"MIB|it's \"quoted\""});
}

TEST_F(MibxFixture, DatabaseFailureKeepsEarlierRowsAndReachesTheCaller) {
    SharedDatabase().exec("CREATE TRIGGER refuse BEFORE INSERT ON Tree WHEN NEW.Name = 'boom' "
                          "BEGIN SELECT RAISE(ABORT, 'disk on fire'); END");
    const auto path = write("fail.xml", MIBX("<a><OID>1.3</OID><ENUMS><x>1</x></ENUMS></a>"
                                             "<boom><OID>1.3.1</OID></boom><c><OID>1.3.2</OID></c>"));
    ImportMIBX importer;
    try {
        importer.ImportMIBXFile(path);
        FAIL() << "the failure must reach the caller";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_DATABASE);
        EXPECT_STREQ(e.what(), "disk on fire");
    }
    CloseSharedDatabase();  // another connection sees only what was committed
    EXPECT_EQ(rows("SELECT Name FROM Tree UNION ALL SELECT Name FROM Enums UNION ALL SELECT Name FROM MIBs"),
              (Rows{"a", "a"}));

    SharedDatabase().exec("DROP TRIGGER refuse");
    ImportMIBX again;
    EXPECT_TRUE(again.ImportMIBXFile(path)) << "no transaction was left open";
    EXPECT_EQ(rows("SELECT Count(*) FROM Tree"), Rows{"3"});
}

}  // namespace
}  // namespace qlmib
