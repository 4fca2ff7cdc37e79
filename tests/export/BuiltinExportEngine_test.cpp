#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <qlmib/export/BuiltinExportEngine.h>
#include <qlmib/export/ExportEngine.h>
#include <qlmib/ui/GridModel.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/ImageList.h>
#include <qlmib/ui/RichTextDocument.h>

#include "TestHome.h"

namespace qlmib {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> filesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class BuiltinExport : public ::testing::Test {
protected:
    void SetUp() override {
        out = home.folder() / "out";
        fs::create_directories(out);
        // A tree table: header, a node with a collapsed child, a hidden column.
        table.setCols(3);
        table.setFixedRows(1);
        table.AddItem("Name\tOID\tHidden");
        const auto node = table.AddNode(-1, "ifTable, \"the\" table", "O:1");
        table.setTextMatrix(node, 1, "1.3.6.1.2.1.2.2");
        const auto child = table.AddNode(node, "ifEntry", "O:2");
        table.setTextMatrix(child, 1, "1.3.6.1.2.1.2.2.1");
        table.AddNode(-1, "line\r\nbreak", "O:3");
        table.setColHidden(2, true);
        table.setColKey(1, "OID");

        doc.AddMessage("Title <&>\r\n", ui::Color(0, 0, 255), true, 10);
        doc.AddMessage("OID \t1.3.6");
    }

    test::TestHome home;
    fs::path out;
    ui::HeadlessToolkit toolkit;
    ui::GridModel table;
    ui::RichTextDocument doc;
};

TEST_F(BuiltinExport, TablesAsCsvTextHtmlAndRtfWithTheVisibleRowsAndColumns) {
    struct Case {
        const char* method;
        const char* extension;
        std::string expected;  // the whole file, or a part of it for HTML and RTF
        bool whole;
    };
    const Case cases[] = {
        {"CSV", ".csv", "Name,OID\r\n\"ifTable, \"\"the\"\" table\",1.3.6.1.2.1.2.2\r\nifEntry,1.3.6.1.2.1.2.2.1\r\n"
                        "\"line\r\nbreak\",\r\n", true},
        {"txt", ".txt", "Name\tOID\r\nifTable, \"the\" table\t1.3.6.1.2.1.2.2\r\nifEntry\t1.3.6.1.2.1.2.2.1\r\n"
                        "line\r\nbreak\t\r\n", true},
        {"HTML", ".html", "<tr><th>Name</th><th>OID</th></tr>\n<tr><td>ifTable, &quot;the&quot; table</td>", false},
        {"RTF", ".rtf", "ifTable, \"the\" table\\tab 1.3.6.1.2.1.2.2\\par", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        ExportEngine e(toolkit);
        e.setTargetFilename((out / c.method).string());
        ASSERT_TRUE(e.ExportTable(table, c.method));
        const fs::path written = out / (std::string(c.method) + c.extension);
        EXPECT_EQ(e.getTargetFilename(), written.string());
        const std::string content = slurp(written);
        if (c.whole) EXPECT_EQ(content, c.expected);
        else EXPECT_NE(content.find(c.expected), std::string::npos) << content;
    }
    table.setIsCollapsed(1, true);
    ExportEngine e(toolkit);
    e.setTargetFilename((out / "collapsed.csv").string());
    e.setColumnList("OID, 0");
    ASSERT_TRUE(e.ExportTable(table, "CSV"));
    EXPECT_EQ(slurp(out / "collapsed.csv"), "OID,Name\r\n1.3.6.1.2.1.2.2,\"ifTable, \"\"the\"\" table\"\r\n,\"line\r\nbreak\"\r\n")
        << "collapsed rows are left out; ColumnList picks columns by key or number";
}

TEST_F(BuiltinExport, RichTextAsTextHtmlAndUnchangedRtf) {
    const std::string rtf = doc.getTextRTF();
    ExportEngine e(toolkit);
    e.setTargetFilename((out / "d.txt").string());
    ASSERT_TRUE(e.ExportRTF(rtf, "TXT"));
    EXPECT_EQ(slurp(out / "d.txt"), "Title <&>\r\nOID \t1.3.6");

    e.setTargetFilename((out / "d.rtf").string());
    ASSERT_TRUE(e.ExportRTF(rtf, "RTF"));
    EXPECT_EQ(slurp(out / "d.rtf"), rtf);

    e.setTargetFilename((out / "d.html").string());
    e.setTitle("Details");
    ASSERT_TRUE(e.ExportRTF(rtf, "HTML"));
    const std::string html = slurp(out / "d.html");
    EXPECT_NE(html.find("<title>Details</title>"), std::string::npos);
    EXPECT_NE(html.find("color:#0000ff;font-size:10pt;font-weight:bold\">Title &lt;&amp;&gt;\n</span>"),
              std::string::npos)
        << html;
}

TEST_F(BuiltinExport, WithoutATargetTheFileIsNamedAfterTheTitleInInitDir) {
    for (int i = 0; i < 2; ++i) {
        ExportEngine e(toolkit);
        e.setInitDir(out.string());
        e.setTitle("IF-MIB: ifTable/details");
        ASSERT_TRUE(e.ExportText("x", "TXT"));
    }
    EXPECT_EQ(filesUnder(out), (std::vector<fs::path>{out / "IF-MIB_ ifTable_details (2).txt",
                                                      out / "IF-MIB_ ifTable_details.txt"}));
}

TEST_F(BuiltinExport, AMissingFolderFailsAndWritesNothingAnywhere) {
    const auto before = filesUnder(home.folder());
    ExportEngine e(toolkit);
    e.setTargetFilename((out / "missing" / "deeper" / "file.csv").string());
    EXPECT_FALSE(e.ExportTable(table, "CSV"));
    e.setInitDir((out / "missing").string());
    EXPECT_FALSE(e.ExportText("x", "TXT"));
    EXPECT_EQ(filesUnder(home.folder()), before);
    EXPECT_FALSE(fs::exists(out / "missing"));
    EXPECT_EQ(e.getTargetFilename(), "");
    EXPECT_TRUE(toolkit.Messages().empty());

    BuiltinExportEngine engine(toolkit);
    engine.SetSetting("TargetFilename", (out / "missing" / "f").string());
    EXPECT_FALSE(engine.Export(ExportKind::Text, {nullptr, "x", nullptr}, "TXT", home.folder().string()));
    EXPECT_EQ(engine.LastError(), "The folder " + (out / "missing").string() + " does not exist.");
}

TEST_F(BuiltinExport, MethodsTheObjectDoesNotOfferAreRefused) {
    BuiltinExportEngine engine(toolkit);
    engine.SetSetting("InitDir", out.string());
    EXPECT_FALSE(engine.Export(ExportKind::Text, {nullptr, "x", nullptr}, "CSV", ""));
    EXPECT_EQ(engine.LastError(), "The method CSV cannot export this object.");
    const auto stock = ui::Picture::Stock("leaf");
    EXPECT_FALSE(engine.Export(ExportKind::Picture, {nullptr, {}, &stock}, "IMAGE", ""));
    EXPECT_FALSE(engine.Export(ExportKind::TextFile, {nullptr, (out / "none.txt").string(), nullptr}, "TXT", ""));
    EXPECT_TRUE(filesUnder(out).empty());
}

TEST_F(BuiltinExport, PicturesKeepTheirOwnFormat) {
    const auto png = ui::Picture::FromBytes(std::string("\x89PNG\r\n\x1a\n", 8) + "data");
    ExportEngine e(toolkit);
    e.setTargetFilename((out / "icon").string());
    ASSERT_TRUE(e.ExportPicture(png, "IMAGE"));
    EXPECT_EQ(e.getTargetFilename(), (out / "icon.png").string());
    EXPECT_EQ(slurp(out / "icon.png"), png.Bytes);
    e.setTargetFilename((out / "icon.html").string());
    ASSERT_TRUE(e.ExportImageFile((out / "icon.png").string(), "HTML"));
    EXPECT_NE(slurp(out / "icon.html").find("src=\"data:image/png;base64,iVBORw0KGgpkYXRh\""), std::string::npos);
}

TEST_F(BuiltinExport, PrintingGoesToTheToolkitWhenThereIsAPrinter) {
    ExportEngine e(toolkit);
    e.setTitle("SNMPv2-MIB:sysDescr");
    EXPECT_FALSE(e.PrintRTF(doc.getTextRTF(), false));
    EXPECT_TRUE(toolkit.PrintJobs().empty());
    BuiltinExportEngine engine(toolkit);
    EXPECT_FALSE(engine.Export(ExportKind::Text, {nullptr, "x", nullptr}, "PRINTER", ""));
    EXPECT_EQ(engine.LastError(), "No printer is available.");

    toolkit.setPrinters({"Office"});
    e.setTitle("SNMPv2-MIB:sysDescr");
    EXPECT_TRUE(e.PrintRTF(doc.getTextRTF(), true));
    EXPECT_TRUE(e.PrintTable(table));
    ASSERT_EQ(toolkit.PrintJobs().size(), 2u);
    EXPECT_EQ(toolkit.PrintJobs()[0].Title, "SNMPv2-MIB:sysDescr");
    EXPECT_EQ(toolkit.PrintJobs()[0].Content, doc.getText());
    EXPECT_TRUE(toolkit.PrintJobs()[0].Preview);
    EXPECT_EQ(toolkit.PrintJobs()[1].Title, "") << "reset after the first print";
    EXPECT_FALSE(toolkit.PrintJobs()[1].Preview);
}

TEST_F(BuiltinExport, SendToSavesACopyOrOpensTheFile) {
    const fs::path file = out / "export.txt";
    std::ofstream(file) << "content";
    const fs::path folder = home.folder() / "saved";
    fs::create_directories(folder);
    ExportEngine e(toolkit);
    e.setInitDir(folder.string());
    EXPECT_TRUE(e.SendTo(file.string(), "SaveToFolder"));
    e.setInitDir(folder.string());
    EXPECT_TRUE(e.SendTo(file.string(), "savetofolder"));
    EXPECT_EQ(filesUnder(folder), (std::vector<fs::path>{folder / "export (2).txt", folder / "export.txt"}));
    EXPECT_FALSE(e.SendTo((out / "absent.txt").string(), "SaveToFolder"));
    EXPECT_FALSE(e.SendTo(file.string(), "Fax"));

    // A stand-in xdg-open on the PATH records what it was asked to open.
    const fs::path bin = home.folder() / "bin";
    fs::create_directories(bin);
    const fs::path opened = home.folder() / "opened";
    std::ofstream(bin / "xdg-open") << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened.string() << "'\n";
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    const bool sent = e.ExportAndSendText("hello", "OpenWith");
    setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(sent);
    EXPECT_EQ(slurp(opened), home.folder().string() + "/Export.txt") << "the library folder's Export file";
    EXPECT_EQ(slurp(home.folder() / "Export.txt"), "hello");
}

TEST_F(BuiltinExport, MethodListsAndNames) {
    ExportEngine e(toolkit);
    const auto keys = [](const MethodList& list) {
        std::vector<std::string> out;
        for (const auto& m : list) out.push_back(m.Key);
        return out;
    };
    EXPECT_EQ(keys(e.ExportMethods(0)), (std::vector<std::string>{"CSV", "HTML", "RTF", "TXT"}));
    EXPECT_EQ(keys(e.ExportMethods(1)), (std::vector<std::string>{"HTML", "RTF", "TXT"}));
    EXPECT_EQ(keys(e.ExportMethods(3)), (std::vector<std::string>{"HTML", "IMAGE"}));
    EXPECT_EQ(keys(e.ExportMethods()), (std::vector<std::string>{"CSV", "HTML", "IMAGE", "RTF", "TXT"}));
    EXPECT_TRUE(e.ExportMethods(9).empty());
    EXPECT_EQ(e.MethodName("csv"), "Comma-separated values (CSV)");
    EXPECT_EQ(e.MethodName("nothing"), "");
    EXPECT_EQ(keys(e.SendToMethods()), (std::vector<std::string>{"SaveToFolder", "OpenWith"}));
}

}  // namespace
}  // namespace qlmib
