#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include <qlmib/export/ExportEngine.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/Version.h>
#include <qlmib/ui/GridModel.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/ImageList.h>
#include <qlmib/ui/Menu.h>

#include "TestHome.h"

namespace qlmib {
namespace {

// What the bridge did with the engines it started.
struct EngineLog {
    int started = 0;
    std::vector<std::pair<std::string, SettingValue>> settings;  // of the last engine
    std::vector<std::pair<std::string, SettingValue>> exportSettings;  // as the last export found them
    std::vector<std::string> calls;                              // member(object, method)
    std::string reportTarget = "/written/by/engine.txt";
    bool exportResult = true;
    MethodList methods{{"HTML", "Web page"}, {"TXT", "Text"}};
    MethodList sendTo{{"MailContent", "Mail Recipient (as content)"},
                      {"C:\\Office\\EXCEL.EXE", "Microsoft Excel Worksheet"},
                      {"Desktop", "Desktop (create shortcut)"}};
    // A setting as the last export was given it.
    std::string setting(const std::string& name) const {
        for (auto it = exportSettings.rbegin(); it != exportSettings.rend(); ++it) {
            if (it->first != name) continue;
            if (auto* s = std::get_if<std::string>(&it->second)) return *s;
            if (auto* n = std::get_if<long>(&it->second)) return std::to_string(*n);
            return std::get<bool>(it->second) ? "true" : "false";
        }
        return "(unset)";
    }
};

class RecordingEngine : public ExportBackend {
public:
    explicit RecordingEngine(EngineLog& log) : log_(log) {
        ++log_.started;
        log_.settings.clear();
    }
    void SetSetting(std::string_view name, const SettingValue& value) override {
        log_.settings.emplace_back(std::string(name), value);
    }
    bool Export(ExportKind kind, const ExportObject& object, std::string_view method,
                const std::string& folder) override {
        log_.exportSettings = log_.settings;
        const std::string what = object.table ? "table" : (object.picture ? "picture" : object.text);
        log_.calls.push_back(std::string(ExportMemberName(kind)) + "(" + what + ", " + std::string(method) + ", " +
                             (folder == InstallFolder() ? "library folder" : folder) + ")");
        return log_.exportResult;
    }
    bool SendTo(const std::string& filename, std::string_view method) override {
        log_.calls.push_back("SendTo(" + filename + ", " + std::string(method) + ")");
        return true;
    }
    std::string TargetFilename() const override { return log_.reportTarget; }
    MethodList ExportMethods(std::optional<long> type) override {
        log_.calls.push_back("ExportMethods(" + (type ? std::to_string(*type) : std::string("all")) + ")");
        return log_.methods;
    }
    std::string MethodName(std::string_view method) override { return "name of " + std::string(method); }
    MethodList SendToMethods() override {
        log_.calls.push_back("SendToMethods");
        return log_.sendTo;
    }
    MethodList SentToMethods() override {
        log_.calls.push_back("SentToMethods");
        return log_.sendTo;
    }

private:
    EngineLog& log_;
};

class ExportBridge : public ::testing::Test {
protected:
    void SetUp() override {
        SetExportBackendFactory([this](ui::Toolkit&) { return std::make_unique<RecordingEngine>(log); });
        table.setCols(1);
        table.AddItem("cell");
    }
    void TearDown() override { SetExportBackendFactory(nullptr); }

    // Every setting differs from its reset value.
    void setEverything(ExportEngine& e) {
        e.setProgramName("P"), e.setProgramVersion("V"), e.setTitle("T"), e.setSubTitle("S");
        e.setParagraph("Para"), e.setFooter("F"), e.setOrientation(2), e.setImageHeight(1), e.setImageWidth(2);
        e.setTargetFilename("/tmp/x"), e.setInitDir("/tmp"), e.setImageFormat("PNG"), e.setColumnList("0");
        e.setFileFormat("TXT"), e.setSelectMethod(true), e.setSkipFilenameSelection(true);
        e.setSkipFieldSelection(true), e.setQuiet(true), e.setDefaultPrinter("Lab");
    }
    void expectResetExceptTarget(const ExportEngine& e, const std::string& target) {
        const ExportEngine fresh(toolkit);
        EXPECT_EQ(e.getProgramName(), fresh.getProgramName());
        EXPECT_EQ(e.getProgramVersion(), fresh.getProgramVersion());
        EXPECT_EQ(e.getTitle() + e.getSubTitle() + e.getParagraph() + e.getFooter(), "");
        EXPECT_EQ(e.getOrientation(), 1);
        EXPECT_EQ(e.getImageHeight(), 400);
        EXPECT_EQ(e.getImageWidth(), 640);
        EXPECT_EQ(e.getInitDir() + e.getColumnList() + e.getFileFormat() + e.getDefaultPrinter(), "");
        EXPECT_EQ(e.getImageFormat(), "GIF");
        EXPECT_FALSE(e.getSelectMethod() || e.getSkipFilenameSelection() || e.getSkipFieldSelection() || e.getQuiet());
        EXPECT_EQ(e.getTargetFilename(), target);
    }

    test::TestHome home;
    ui::HeadlessToolkit toolkit;
    EngineLog log;
    ui::GridModel table;
    ui::Picture picture = ui::Picture::FromBytes("GIF89a");
};

TEST_F(ExportBridge, ResetValues) {
    ExportEngine e(toolkit);
    EXPECT_EQ(e.getProgramName(), " Quellon MIB Tree");
    EXPECT_EQ(e.getProgramVersion(), kLibraryVersion);
    expectResetExceptTarget(e, "");
}

TEST_F(ExportBridge, EveryExportWritesAllSettingsInOrderCallsItsMemberAndResets) {
    struct Case {
        std::function<bool(ExportEngine&)> call;
        std::string expected;
    };
    const Case cases[] = {
        {[&](ExportEngine& e) { return e.ExportTable(table, "CSV"); }, "ExportTable(table, CSV, library folder)"},
        {[&](ExportEngine& e) { return e.ExportRTF("{\\rtf1 x}", "RTF"); }, "ExportRTF({\\rtf1 x}, RTF, library folder)"},
        {[&](ExportEngine& e) { return e.ExportText("text", "TXT"); }, "ExportText(text, TXT, library folder)"},
        {[&](ExportEngine& e) { return e.ExportTextFile("a.txt", "HTML"); }, "ExportTextFile(a.txt, HTML, library folder)"},
        {[&](ExportEngine& e) { return e.ExportEMFFile("a.emf", "IMAGE"); }, "ExportEMFFile(a.emf, IMAGE, library folder)"},
        {[&](ExportEngine& e) { return e.ExportChart(picture, "HTML"); }, "ExportChart(picture, HTML, library folder)"},
        {[&](ExportEngine& e) { return e.ExportMap(picture, "HTML"); }, "ExportMap(picture, HTML, library folder)"},
        {[&](ExportEngine& e) { return e.ExportPicture(picture, "IMAGE"); }, "ExportPicture(picture, IMAGE, library folder)"},
        {[&](ExportEngine& e) { return e.ExportImageFile("a.png", "HTML"); }, "ExportImageFile(a.png, HTML, library folder)"},
        {[&](ExportEngine& e) { return e.PrintTable(table, true); }, "ExportTable(table, PREVIEW, library folder)"},
        {[&](ExportEngine& e) { return e.PrintTable(table); }, "ExportTable(table, PRINTER, library folder)"},
        {[&](ExportEngine& e) { return e.PrintRTF("r", false); }, "ExportRTF(r, PRINTER, library folder)"},
        {[&](ExportEngine& e) { return e.PrintText("t", true); }, "ExportText(t, PREVIEW, library folder)"},
        {[&](ExportEngine& e) { return e.PrintTextFile("f", false); }, "ExportTextFile(f, PRINTER, library folder)"},
        {[&](ExportEngine& e) { return e.PrintEMFFile("m", true); }, "ExportEMFFile(m, PREVIEW, library folder)"},
        {[&](ExportEngine& e) { return e.PrintChart(picture, false); }, "ExportChart(picture, PRINTER, library folder)"},
        {[&](ExportEngine& e) { return e.PrintMap(picture, true); }, "ExportMap(picture, PREVIEW, library folder)"},
        {[&](ExportEngine& e) { return e.PrintPicture(picture, false); }, "ExportPicture(picture, PRINTER, library folder)"},
        {[&](ExportEngine& e) { return e.PrintImageFile("i", true); }, "ExportImageFile(i, PREVIEW, library folder)"},
    };
    const std::vector<std::string> order = {"ProgramName", "ProgramVersion", "Title", "SubTitle", "Paragraph",
                                            "Footer", "ImageHeight", "ImageWidth", "ImageFormat", "FileFormat",
                                            "Orientation", "TargetFilename", "InitDir", "ColumnList", "SelectMethod",
                                            "SkipFieldSelection", "SkipFilenameSelection", "Quiet", "DefaultPrinter"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        log.calls.clear();
        ExportEngine e(toolkit);
        setEverything(e);
        EXPECT_TRUE(c.call(e));
        EXPECT_EQ(log.calls, std::vector<std::string>{c.expected});
        std::vector<std::string> names;
        for (const auto& [name, value] : log.settings) names.push_back(name);
        EXPECT_EQ(names, order);
        EXPECT_EQ(log.setting("Title"), "T");
        EXPECT_EQ(log.setting("SkipFieldSelection"), "true");
        EXPECT_EQ(log.setting("Orientation"), "2");
        expectResetExceptTarget(e, log.reportTarget);
    }
}

TEST_F(ExportBridge, ExportAndSendExportsQuietlyWithTheBestMethodThenSendsTheWrittenFile) {
    ExportEngine e(toolkit);
    EXPECT_TRUE(e.ExportAndSendTable(table, "SaveToFolder"));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"ExportTable(table, HTML, library folder)",
                                                   "SendTo(" + log.reportTarget + ", SaveToFolder)"}));
    expectResetExceptTarget(e, "");
    ASSERT_EQ(log.started, 2);

    log.calls.clear();
    ExportEngine mail(toolkit);
    log.exportResult = false;
    EXPECT_FALSE(mail.ExportAndSendPicture(picture, "mailcontent"));
    EXPECT_EQ(log.calls, std::vector<std::string>{"ExportPicture(picture, HTML, library folder)"})
        << "nothing is sent when the export fails";
    EXPECT_EQ(log.setting("FileFormat"), "MHTML");
    EXPECT_EQ(log.setting("SelectMethod"), "false");
    EXPECT_EQ(log.setting("Quiet"), "true");
    EXPECT_EQ(log.setting("SkipFilenameSelection"), "true");
    EXPECT_EQ(log.setting("TargetFilename"), InstallFolder() + "/Export");
    expectResetExceptTarget(mail, "");
}

TEST_F(ExportBridge, ExportAndSendOfTextUsesTheFileFormatAndMailsHtmlAsMhtml) {
    ExportEngine e(toolkit);
    e.setFileFormat("html");
    e.setTargetFilename("/chosen/name");
    EXPECT_TRUE(e.ExportAndSendRTF("{\\rtf1 r}", "Outlook.MAPIMail"));
    EXPECT_EQ(log.calls.front(), "ExportRTF({\\rtf1 r}, MHTML, library folder)");
    EXPECT_EQ(log.setting("SelectMethod"), "true");
    log.calls.clear();
    e.setFileFormat("TXT");
    EXPECT_TRUE(e.ExportAndSendText("t", "OpenWith"));
    EXPECT_EQ(log.calls.front(), "ExportText(t, TXT, library folder)");
}

TEST_F(ExportBridge, AnEngineThatCannotStartIsReportedOnceAndNothingHappens) {
    SetExportBackendFactory([](ui::Toolkit&) -> std::unique_ptr<ExportBackend> {
        throw std::runtime_error("engine library missing");
    });
    ExportEngine e(toolkit);
    e.setTitle("kept");
    EXPECT_FALSE(e.ExportText("x", "TXT"));
    EXPECT_EQ(e.getTitle(), "kept");
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    const auto& m = toolkit.Messages()[0];
    EXPECT_EQ(m.Prompt,
              "Cannot start Quellon Export Engine.\r\nYou may need to reinstall the Quellon software.\r\n\r\n"
              "Error= engine library missing");
    EXPECT_EQ(m.Buttons, ui::MsgBoxExclamation);
    EXPECT_EQ(m.Title, " Quellon MIB Tree");
    EXPECT_TRUE(e.ExportMethods().empty());
    ui::Menu menu;
    e.LoadSendToMenu(menu);
    EXPECT_EQ(menu.Count(), 0);
    EXPECT_EQ(toolkit.Messages().size(), 1u) << "lists and menus start the engine silently";
}

TEST_F(ExportBridge, MenusCarryPrefixedKeysCutSendToCaptionsAndGroups) {
    ExportEngine e(toolkit);
    ui::ImageList images;
    images.Add("HTML", ui::Picture::Stock("html"));
    ui::Menu exports;
    e.LoadExportsMenu(exports, &images, "Export:", 0);
    ASSERT_EQ(exports.Count(), 2);
    EXPECT_EQ(exports.Entries()[0].Caption, "Web page");
    EXPECT_EQ(exports.Entries()[0].Key, "Export:HTML");
    EXPECT_EQ(exports.Entries()[0].Image, "HTML");
    EXPECT_EQ(exports.Entries()[1].Image, "") << "no picture for that key";

    ui::Menu sendTo;
    e.LoadSendToMenu(sendTo);
    ASSERT_EQ(sendTo.Count(), 3);
    const std::pair<std::string, bool> expected[] = {{"Mail", true}, {"Excel", true}, {"Desktop", false}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sendTo.Entries()[i].Caption, expected[i].first);
        EXPECT_EQ(sendTo.Entries()[i].BeginGroup, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(sendTo.Entries()[1].Key, "SendTo:C:\\Office\\EXCEL.EXE");

    log.calls.clear();
    EXPECT_EQ(e.SendToMethods(), log.sendTo);
    EXPECT_EQ(e.MethodName("TXT"), "name of TXT");
    EXPECT_EQ(log.calls, std::vector<std::string>{"SentToMethods"}) << "the bridge's own list asks by that name";
}

TEST(ExportEngineRules, BestExportMethod) {
    struct Case {
        long type;
        const char* method;
        const char* best;
    };
    const Case cases[] = {
        {0, "Outlook.MAPIMail", "HTML"}, {0, "X.MAPIMAIL", "MHTML"}, {2, "SaveToFolder", "HTML"},
        {3, ".MAPIMAIL", "MHTML"},       {1, ".MAPIMAIL", "TXT"},   {1, "", "TXT"},
        {7, ".MAPIMAIL", ""},            {-1, "HTML", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ExportEngine::BestExportMethod(c.type, c.method), c.best) << c.type << c.method;
}

TEST(ExportEngineRules, FileNameOf) {
    struct Case {
        const char* path;
        bool strip;
        const char* name;
    };
    const Case cases[] = {
        {"C:/a/b.txt", true, "b"},       {"C:/a/b.txt", false, "b.txt"}, {"C:\\a\\b.tar.gz", true, "b.tar"},
        {"/home/u/Export", true, "Export"}, {"drive:name.ext", false, "name.ext"}, {"", true, ""},
        {"noext", true, "noext"},
    };
    for (const auto& c : cases) EXPECT_EQ(FileNameOf(c.path, c.strip), c.name) << c.path;
}

TEST(ExportEngineRules, NoPrintersAsksForAPrinter) {
    ui::HeadlessToolkit toolkit;
    ExportEngine e(toolkit);
    EXPECT_TRUE(e.NoPrinters());
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt,
              "You do not have a Printer installed.\r\nYou must install a Printer before you can print.");
    EXPECT_EQ(toolkit.Messages()[0].Buttons, ui::MsgBoxCritical);
    toolkit.setPrinters({"Office"});
    EXPECT_FALSE(e.NoPrinters());
    EXPECT_EQ(toolkit.Messages().size(), 1u);
}

}  // namespace
}  // namespace qlmib
