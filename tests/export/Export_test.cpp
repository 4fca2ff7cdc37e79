// The export bridge, against an engine that records what it is asked, and
// the built-in engine, writing real files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include <qlmib/export/BuiltinExportEngine.h>
#include <qlmib/export/ExportEngine.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/ui/GridModel.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/ImageList.h>
#include <qlmib/ui/Menu.h>
#include <qlmib/ui/RichTextDocument.h>

#include "TestHome.h"

namespace qlmib {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

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

class ExportTest : public ::testing::Test {
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
    ui::Picture png = ui::Picture::FromBytes(std::string("\x89PNG\r\n\x1a\n", 8) + "data");
};

// ---- The bridge

const std::string kWritten = "/written/by/engine.txt";
const MethodList kSendTo = {{"MailContent", "Mail Recipient (as content)"},
                            {"C:\\Office\\EXCEL.EXE", "Microsoft Excel Worksheet"},
                            {"Desktop", "Desktop (create shortcut)"}};

struct EngineLog {
    int started = 0;
    Strings settings;  // "Name=value", as the last export was given them
    Strings calls;     // member(object, method, folder)
    bool exportResult = true;
    std::string setting(const std::string& name) const {
        for (const auto& s : settings)
            if (s.starts_with(name + "=")) return s.substr(name.size() + 1);
        return "(unset)";
    }
};

// The built-in engine's lists and names; the rest is recorded.
class RecordingEngine : public BuiltinExportEngine {
public:
    RecordingEngine(ui::Toolkit& toolkit, EngineLog& log) : BuiltinExportEngine(toolkit), log_(log) { ++log_.started; }
    void SetSetting(std::string_view name, const ExportSettingValue& value) override {
        const auto text = [](const auto& v) { return (std::ostringstream() << std::boolalpha << v).str(); };
        settings_.push_back(std::string(name) + "=" + std::visit(text, value));
    }
    bool Export(ExportKind kind, const ExportObject& object, std::string_view method,
                const std::string& folder) override {
        log_.settings = settings_;
        const std::string what = object.table ? "table" : (object.picture ? "picture" : object.text);
        log_.calls.push_back(std::string(ExportMemberName(kind)) + "(" + what + ", " + std::string(method) + ", " +
                             (folder == InstallFolder() ? "library folder" : folder) + ")");
        return log_.exportResult;
    }
    bool SendTo(const std::string& filename, std::string_view method) override {
        log_.calls.push_back("SendTo(" + filename + ", " + std::string(method) + ")");
        return true;
    }
    std::string TargetFilename() const override { return kWritten; }
    MethodList SendToMethods() override { return kSendTo; }
    MethodList SentToMethods() override {
        log_.calls.push_back("SentToMethods");
        return kSendTo;
    }

private:
    EngineLog& log_;
    Strings settings_;
};

class ExportBridge : public ExportTest {
protected:
    void SetUp() override {
        ExportTest::SetUp();
        SetExportBackendFactory([this](ui::Toolkit& t) { return std::make_unique<RecordingEngine>(t, log); });
    }
    void TearDown() override { SetExportBackendFactory(nullptr); }

    // Every setting differs from its reset value.
    static void setEverything(ExportEngine& e) {
        e.setProgramName("P"), e.setProgramVersion("V"), e.setTitle("T"), e.setSubTitle("S");
        e.setParagraph("Para"), e.setFooter("F"), e.setOrientation(2), e.setImageHeight(1), e.setImageWidth(2);
        e.setTargetFilename("/tmp/x"), e.setInitDir("/tmp"), e.setImageFormat("PNG"), e.setColumnList("0");
        e.setFileFormat("TXT"), e.setSelectMethod(true), e.setSkipFilenameSelection(true);
        e.setSkipFieldSelection(true), e.setQuiet(true), e.setDefaultPrinter("Lab");
    }
    void expectResetExceptTarget(const ExportEngine& e, const std::string& target) {
        const auto settings = [](const ExportEngine& x) {
            return std::tuple(x.getProgramName(), x.getProgramVersion(), x.getTitle(), x.getSubTitle(),
                              x.getParagraph(), x.getFooter(), x.getOrientation(), x.getImageHeight(),
                              x.getImageWidth(), x.getInitDir(), x.getImageFormat(), x.getColumnList(),
                              x.getFileFormat(), x.getSelectMethod(), x.getSkipFilenameSelection(),
                              x.getSkipFieldSelection(), x.getQuiet(), x.getDefaultPrinter());
        };
        EXPECT_EQ(settings(e), settings(ExportEngine(toolkit)));
        EXPECT_EQ(e.getTargetFilename(), target);
    }

    EngineLog log;
};

TEST_F(ExportBridge, EveryExportWritesAllSettingsInOrderCallsItsMemberAndResets) {
    // Each Print call is its Export with the PRINTER or PREVIEW method; a few stand for them all.
    const struct {
        std::function<bool(ExportEngine&)> call;
        std::string expected;  // without ", library folder)"
    } cases[] = {
        {[&](ExportEngine& e) { return e.ExportTable(table, "CSV"); }, "ExportTable(table, CSV"},
        {[&](ExportEngine& e) { return e.ExportRTF("{\\rtf1 x}", "RTF"); }, "ExportRTF({\\rtf1 x}, RTF"},
        {[&](ExportEngine& e) { return e.ExportText("text", "TXT"); }, "ExportText(text, TXT"},
        {[&](ExportEngine& e) { return e.ExportTextFile("a.txt", "HTML"); }, "ExportTextFile(a.txt, HTML"},
        {[&](ExportEngine& e) { return e.ExportEMFFile("a.emf", "IMAGE"); }, "ExportEMFFile(a.emf, IMAGE"},
        {[&](ExportEngine& e) { return e.ExportChart(png, "HTML"); }, "ExportChart(picture, HTML"},
        {[&](ExportEngine& e) { return e.ExportMap(png, "HTML"); }, "ExportMap(picture, HTML"},
        {[&](ExportEngine& e) { return e.ExportPicture(png, "IMAGE"); }, "ExportPicture(picture, IMAGE"},
        {[&](ExportEngine& e) { return e.ExportImageFile("a.png", "HTML"); }, "ExportImageFile(a.png, HTML"},
        {[&](ExportEngine& e) { return e.PrintTable(table, true); }, "ExportTable(table, PREVIEW"},
        {[&](ExportEngine& e) { return e.PrintTable(table); }, "ExportTable(table, PRINTER"},
        {[&](ExportEngine& e) { return e.PrintEMFFile("m", true); }, "ExportEMFFile(m, PREVIEW"},
        {[&](ExportEngine& e) { return e.PrintMap(png, false); }, "ExportMap(picture, PRINTER"},
    };
    const Strings settings = {"ProgramName=P", "ProgramVersion=V", "Title=T", "SubTitle=S", "Paragraph=Para",
                              "Footer=F", "ImageHeight=1", "ImageWidth=2", "ImageFormat=PNG", "FileFormat=TXT",
                              "Orientation=2", "TargetFilename=/tmp/x", "InitDir=/tmp", "ColumnList=0",
                              "SelectMethod=true", "SkipFieldSelection=true", "SkipFilenameSelection=true",
                              "Quiet=true", "DefaultPrinter=Lab"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        log.calls.clear();
        ExportEngine e(toolkit);
        setEverything(e);
        EXPECT_TRUE(c.call(e));
        EXPECT_EQ(log.calls, Strings{c.expected + ", library folder)"});
        EXPECT_EQ(log.settings, settings);
        expectResetExceptTarget(e, kWritten);
    }
}

TEST_F(ExportBridge, ExportAndSendExportsQuietlyInTheBestFormatThenSendsTheWrittenFile) {
    const std::string library = InstallFolder() + "/Export";
    const struct {
        std::function<bool(ExportEngine&, const std::string&)> call;
        std::string sendTo;
        bool exported;
        std::string exportCall, fileFormat, selectMethod, target;  // the export's, as it was given them
    } cases[] = {
        {[&](ExportEngine& e, auto& to) { return e.ExportAndSendTable(table, to); }, "SaveToFolder", true,
         "ExportTable(table, HTML, library folder)", "HTML", "true", library},
        {[&](ExportEngine& e, auto& to) { return e.ExportAndSendPicture(png, to); }, "mailcontent", false,
         "ExportPicture(picture, HTML, library folder)", "MHTML", "false", library},
        {[&](ExportEngine& e, auto& to) { return e.ExportAndSendChart(png, to); }, "X.MAPIMAIL", true,
         "ExportChart(picture, MHTML, library folder)", "MHTML", "true", library},
        {[&](ExportEngine& e, auto& to) {
             e.setFileFormat("html"), e.setTargetFilename("/chosen");
             return e.ExportAndSendRTF("r", to);
         },
         "Outlook.MAPIMail", true, "ExportRTF(r, MHTML, library folder)", "MHTML", "true", "/chosen"},
        {[&](ExportEngine& e, auto& to) { return e.setFileFormat("TXT"), e.ExportAndSendText("t", to); }, "OpenWith",
         true, "ExportText(t, TXT, library folder)", "TXT", "true", library},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exportCall);
        Strings calls{c.exportCall};  // each from an engine of its own
        if (c.exported) calls.push_back("SendTo(" + kWritten + ", " + c.sendTo + ")");
        log.calls.clear();
        log.exportResult = c.exported;
        const int started = log.started;
        ExportEngine e(toolkit);
        EXPECT_EQ(c.call(e, c.sendTo), c.exported);
        EXPECT_EQ(log.calls, calls) << "nothing is sent when the export fails";
        EXPECT_EQ(log.started - started, std::ssize(calls));
        EXPECT_EQ(log.setting("FileFormat"), c.fileFormat);
        EXPECT_EQ(log.setting("SelectMethod"), c.selectMethod);
        EXPECT_EQ(log.setting("TargetFilename"), c.target);
        EXPECT_EQ(log.setting("Quiet") + log.setting("SkipFilenameSelection"), "truetrue");
        expectResetExceptTarget(e, "");
    }
}

TEST_F(ExportBridge, AnEngineThatCannotStartIsReportedOnceAndNothingHappens) {
    SetExportBackendFactory([](ui::Toolkit&) -> std::unique_ptr<ExportBackend> {
        throw std::runtime_error("engine library missing");
    });
    ExportEngine e(toolkit);
    e.setTitle("kept");
    EXPECT_FALSE(e.ExportText("x", "TXT"));
    EXPECT_EQ(e.getTitle(), "kept");
    ui::Menu menu;
    e.LoadSendToMenu(menu);
    EXPECT_TRUE(e.ExportMethods().empty() && menu.Count() == 0);
    ASSERT_EQ(toolkit.Messages().size(), 1u) << "lists and menus start the engine silently";
    const auto& m = toolkit.Messages()[0];
    EXPECT_EQ(m.Title + "|" + m.Prompt,
              " Quellon MIB Tree|Cannot start Quellon Export Engine.\r\n"
              "You may need to reinstall the Quellon software.\r\n\r\nError= engine library missing");
    EXPECT_EQ(m.Buttons, ui::MsgBoxExclamation);
}

TEST_F(ExportBridge, MenusCarryPrefixedKeysCutSendToCaptionsAndGroups) {
    const auto entries = [](const ui::Menu& menu) {
        Strings out;  // caption|key|image, then |group when the entry begins a group
        for (const auto& m : menu.Entries())
            out.push_back(m.Caption + "|" + m.Key + "|" + m.Image + (m.BeginGroup ? "|group" : ""));
        return out;
    };
    ExportEngine e(toolkit);
    ui::ImageList images;
    images.Add("HTML", ui::Picture::Stock("html"));
    ui::Menu exports, sendTo;
    e.LoadExportsMenu(exports, &images, "Export:", 1);
    EXPECT_EQ(entries(exports), (Strings{"Web page (HTML)|Export:HTML|HTML", "Rich text (RTF)|Export:RTF|",
                                         "Plain text (TXT)|Export:TXT|"}));
    e.LoadSendToMenu(sendTo);
    EXPECT_EQ(entries(sendTo), (Strings{"Mail|SendTo:MailContent||group", "Excel|SendTo:C:\\Office\\EXCEL.EXE||group",
                                        "Desktop|SendTo:Desktop|"}));

    log.calls.clear();
    EXPECT_EQ(e.SendToMethods(), kSendTo);
    EXPECT_EQ(log.calls, Strings{"SentToMethods"}) << "the bridge's own list asks by that name";
}

// ---- The built-in engine

TEST_F(ExportTest, TablesAsCsvTextHtmlAndRtfWithTheVisibleRowsAndColumns) {
    const struct {
        const char *method, *extension;
        std::string expected;  // the whole file, or a part of it for HTML and RTF
        bool whole;
    } cases[] = {
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

TEST_F(ExportTest, RichTextAsTextHtmlAndUnchangedRtf) {
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

TEST_F(ExportTest, PicturesKeepTheirOwnFormatAndWithoutATargetFilesAreNamedAfterTheTitle) {
    ExportEngine e(toolkit);
    e.setTargetFilename((out / "icon").string());
    ASSERT_TRUE(e.ExportPicture(png, "IMAGE"));
    EXPECT_EQ(e.getTargetFilename(), (out / "icon.png").string());
    EXPECT_EQ(slurp(out / "icon.png"), png.Bytes);
    for (int i = 0; i < 2; ++i) {
        e.setTargetFilename(""), e.setInitDir(out.string()), e.setTitle("IF-MIB: ifTable/details");
        ASSERT_TRUE(e.ExportImageFile((out / "icon.png").string(), "HTML"));
    }
    EXPECT_EQ(filesUnder(out), (std::vector<fs::path>{out / "IF-MIB_ ifTable_details (2).html",
                                                      out / "IF-MIB_ ifTable_details.html", out / "icon.png"}));
    EXPECT_NE(slurp(out / "IF-MIB_ ifTable_details.html").find("src=\"data:image/png;base64,iVBORw0KGgpkYXRh\""),
              std::string::npos);
}

TEST_F(ExportTest, AMissingFolderOrAMethodTheObjectDoesNotOfferFailsAndWritesNothing) {
    const auto before = filesUnder(home.folder());
    ExportEngine e(toolkit);
    e.setInitDir((out / "missing").string());
    EXPECT_FALSE(e.ExportText("x", "TXT"));
    EXPECT_EQ(e.getTargetFilename(), "");
    EXPECT_TRUE(toolkit.Messages().empty());

    BuiltinExportEngine engine(toolkit);
    engine.SetSetting("TargetFilename", (out / "missing" / "f").string());
    EXPECT_FALSE(engine.Export(ExportKind::Text, {nullptr, "x", nullptr}, "TXT", home.folder().string()));
    EXPECT_EQ(engine.LastError(), "The folder " + (out / "missing").string() + " does not exist.");
    engine.SetSetting("TargetFilename", std::string());
    engine.SetSetting("InitDir", out.string());
    EXPECT_FALSE(engine.Export(ExportKind::Text, {nullptr, "x", nullptr}, "CSV", ""));
    EXPECT_EQ(engine.LastError(), "The method CSV cannot export this object.");
    const auto stock = ui::Picture::Stock("leaf");
    EXPECT_FALSE(engine.Export(ExportKind::Picture, {nullptr, {}, &stock}, "IMAGE", "")) << "no image data";
    EXPECT_FALSE(engine.Export(ExportKind::TextFile, {nullptr, (out / "none.txt").string(), nullptr}, "TXT", ""));
    EXPECT_EQ(filesUnder(home.folder()), before);
    EXPECT_FALSE(fs::exists(out / "missing"));
}

TEST_F(ExportTest, PrintingGoesToTheToolkitWhenThereIsAPrinter) {
    ExportEngine e(toolkit);
    EXPECT_FALSE(e.PrintRTF(doc.getTextRTF(), false));
    EXPECT_TRUE(e.NoPrinters());
    ASSERT_EQ(toolkit.Messages().size(), 1u) << "NoPrinters tells, printing does not";
    EXPECT_EQ(toolkit.Messages()[0].Buttons, ui::MsgBoxCritical);

    toolkit.setPrinters({"Office"});
    EXPECT_FALSE(e.NoPrinters());
    e.setTitle("SNMPv2-MIB:sysDescr");
    EXPECT_TRUE(e.PrintRTF(doc.getTextRTF(), true));
    e.setDefaultPrinter("Lab");
    EXPECT_TRUE(e.PrintTable(table));
    ASSERT_EQ(toolkit.PrintJobs().size(), 2u);
    const auto &first = toolkit.PrintJobs()[0], &second = toolkit.PrintJobs()[1];
    EXPECT_EQ(first.Title + "|" + first.Printer + "|" + first.Content, "SNMPv2-MIB:sysDescr|Office|" + doc.getText());
    EXPECT_EQ(second.Title + "|" + second.Printer, "|Lab") << "the title is reset after the first print";
    EXPECT_EQ(second.Content, "Name\tOID\tHidden\r\nifTable, \"the\" table\t1.3.6.1.2.1.2.2\t\r\n"
                              "ifEntry\t1.3.6.1.2.1.2.2.1\t\r\nline\r\nbreak\t\t\r\n");
    EXPECT_TRUE(first.Preview && !second.Preview);
}

TEST_F(ExportTest, SendToSavesACopyOrOpensTheFile) {
    const fs::path file = home.folder() / "export.txt";
    std::ofstream(file) << "content";
    ExportEngine e(toolkit);
    e.setInitDir(out.string());
    EXPECT_TRUE(e.SendTo(file.string(), "savetofolder"));
    EXPECT_EQ(slurp(out / "export.txt"), "content");
    EXPECT_FALSE(e.SendTo((out / "absent.txt").string(), "SaveToFolder"));
    EXPECT_FALSE(e.SendTo(file.string(), "Fax"));

    // A stand-in xdg-open on the PATH records what it was asked to open.
    const fs::path opened = home.folder() / "opened";
    std::ofstream(home.folder() / "xdg-open") << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened.string() << "'\n";
    fs::permissions(home.folder() / "xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (home.folder().string() + ":" + path).c_str(), 1);
    const bool sent = e.ExportAndSendText("hello", "OpenWith");
    setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(sent);
    EXPECT_EQ(slurp(opened), home.folder().string() + "/Export.txt") << "the library folder's Export file";
    EXPECT_EQ(slurp(home.folder() / "Export.txt"), "hello");
}

}  // namespace
}  // namespace qlmib
