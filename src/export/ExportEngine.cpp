#include "ExportEngine.h"

#include <algorithm>
#include <exception>

#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/mibdata/Version.h"
#include "qlmib/ui/ImageList.h"
#include "qlmib/ui/Menu.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {
namespace {

constexpr std::string_view kPrinter = "PRINTER";
constexpr std::string_view kPreview = "PREVIEW";

// Runs the reset at the end of an engine call, however the call ends.
class ResetAtEnd {
public:
    explicit ResetAtEnd(ExportEngine& engine) : engine_(engine) {}
    ~ResetAtEnd() { engine_.Reset(); }

private:
    ExportEngine& engine_;
};

ExportObject tableObject(const ui::GridModel& table) { return {&table, {}, nullptr}; }
ExportObject textObject(const std::string& text) { return {nullptr, text, nullptr}; }
ExportObject pictureObject(const ui::Picture& picture) { return {nullptr, {}, &picture}; }

}  // namespace

ExportEngine::ExportEngine(ui::Toolkit& toolkit) : toolkit_(toolkit) { Reset(); }

void ExportEngine::Reset() {
    programName_ = kLibraryDescription;
    programVersion_ = kLibraryVersion;
    title_.clear(), subTitle_.clear(), paragraph_.clear(), footer_.clear();
    orientation_ = 1;
    imageHeight_ = 400;
    imageWidth_ = 640;
    targetFilename_.clear(), initDir_.clear(), columnList_.clear(), fileFormat_.clear(), defaultPrinter_.clear();
    imageFormat_ = "GIF";
    selectMethod_ = skipFilenameSelection_ = skipFieldSelection_ = quiet_ = false;
}

std::unique_ptr<ExportBackend> ExportEngine::start(bool silent) {
    std::string error;
    try {
        if (auto engine = CreateExportBackend(toolkit_)) return engine;
        error = "no engine";
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        // The engine is foreign code: whatever it throws, the host gets the message box, not the exception.
        error = "unknown error";
    }
    if (!silent) {
        toolkit_.MsgBox("Cannot start Quellon Export Engine.\r\nYou may need to reinstall the Quellon software.\r\n\r\n"
                        "Error= " + error,
                        ui::MsgBoxExclamation, kLibraryDescription);
    }
    return nullptr;
}

void ExportEngine::writeSettings(ExportBackend& engine) const {
    engine.SetSetting("ProgramName", programName_);
    engine.SetSetting("ProgramVersion", programVersion_);
    engine.SetSetting("Title", title_);
    engine.SetSetting("SubTitle", subTitle_);
    engine.SetSetting("Paragraph", paragraph_);
    engine.SetSetting("Footer", footer_);
    engine.SetSetting("ImageHeight", imageHeight_);
    engine.SetSetting("ImageWidth", imageWidth_);
    engine.SetSetting("ImageFormat", imageFormat_);
    engine.SetSetting("FileFormat", fileFormat_);
    engine.SetSetting("Orientation", orientation_);
    engine.SetSetting("TargetFilename", targetFilename_);
    engine.SetSetting("InitDir", initDir_);
    engine.SetSetting("ColumnList", columnList_);
    engine.SetSetting("SelectMethod", selectMethod_);
    engine.SetSetting("SkipFieldSelection", skipFieldSelection_);
    engine.SetSetting("SkipFilenameSelection", skipFilenameSelection_);
    engine.SetSetting("Quiet", quiet_);
    engine.SetSetting("DefaultPrinter", defaultPrinter_);
}

bool ExportEngine::exportObject(ExportKind kind, const ExportObject& object, std::string_view method) {
    auto engine = start(false);
    if (!engine) return false;
    bool written = false;
    {
        ResetAtEnd reset(*this);
        writeSettings(*engine);
        written = engine->Export(kind, object, method, InstallFolder());
    }
    targetFilename_ = engine->TargetFilename();
    return written;
}

bool ExportEngine::exportAndSend(ExportKind kind, const ExportObject& object, long objectType,
                                 std::string_view sendToMethod) {
    ResetAtEnd reset(*this);
    if (targetFilename_.empty()) targetFilename_ = InstallFolder() + "/Export";
    const std::string method = BestExportMethod(objectType, sendToMethod);
    if (EqualsNoCase(sendToMethod, "MailContent")) {
        fileFormat_ = "MHTML";
        selectMethod_ = false;
    } else {
        fileFormat_ = method;
        selectMethod_ = true;
    }
    skipFilenameSelection_ = quiet_ = true;
    if (!exportObject(kind, object, method)) return false;
    const std::string written = targetFilename_;
    return SendTo(written, sendToMethod);
}

bool ExportEngine::exportAndSendDocument(ExportKind kind, const ExportObject& object, std::string_view sendToMethod) {
    ResetAtEnd reset(*this);
    if (targetFilename_.empty()) targetFilename_ = InstallFolder() + "/Export";
    selectMethod_ = skipFilenameSelection_ = quiet_ = true;
    if (UpperAscii(sendToMethod).find(".MAPIMAIL") != std::string::npos && EqualsNoCase(fileFormat_, "HTML"))
        fileFormat_ = "MHTML";
    // Without a method of its own the engine exports in FileFormat.
    const std::string method = fileFormat_;
    if (!exportObject(kind, object, method)) return false;
    const std::string written = targetFilename_;
    return SendTo(written, sendToMethod);
}

// ---- Print family

bool ExportEngine::PrintTable(const ui::GridModel& Table, bool Preview) {
    return ExportTable(Table, Preview ? kPreview : kPrinter);
}
bool ExportEngine::PrintRTF(const std::string& RTF, bool Preview) { return ExportRTF(RTF, Preview ? kPreview : kPrinter); }
bool ExportEngine::PrintText(const std::string& Text, bool Preview) {
    return ExportText(Text, Preview ? kPreview : kPrinter);
}
bool ExportEngine::PrintTextFile(const std::string& Filename, bool Preview) {
    return ExportTextFile(Filename, Preview ? kPreview : kPrinter);
}
bool ExportEngine::PrintEMFFile(const std::string& Filename, bool Preview) {
    return ExportEMFFile(Filename, Preview ? kPreview : kPrinter);
}
bool ExportEngine::PrintChart(const ui::Picture& Chart, bool Preview) {
    return ExportChart(Chart, Preview ? kPreview : kPrinter);
}
bool ExportEngine::PrintMap(const ui::Picture& Map, bool Preview) { return ExportMap(Map, Preview ? kPreview : kPrinter); }
bool ExportEngine::PrintPicture(const ui::Picture& Picture, bool Preview) {
    return ExportPicture(Picture, Preview ? kPreview : kPrinter);
}
bool ExportEngine::PrintImageFile(const std::string& Filename, bool Preview) {
    return ExportImageFile(Filename, Preview ? kPreview : kPrinter);
}

// ---- Export family

bool ExportEngine::ExportTable(const ui::GridModel& Table, std::string_view Method) {
    return exportObject(ExportKind::Table, tableObject(Table), Method);
}
bool ExportEngine::ExportRTF(const std::string& RTF, std::string_view Method) {
    return exportObject(ExportKind::RTF, textObject(RTF), Method);
}
bool ExportEngine::ExportText(const std::string& Text, std::string_view Method) {
    return exportObject(ExportKind::Text, textObject(Text), Method);
}
bool ExportEngine::ExportTextFile(const std::string& Filename, std::string_view Method) {
    return exportObject(ExportKind::TextFile, textObject(Filename), Method);
}
bool ExportEngine::ExportEMFFile(const std::string& Filename, std::string_view Method) {
    return exportObject(ExportKind::EMFFile, textObject(Filename), Method);
}
bool ExportEngine::ExportChart(const ui::Picture& Chart, std::string_view Method) {
    return exportObject(ExportKind::Chart, pictureObject(Chart), Method);
}
bool ExportEngine::ExportMap(const ui::Picture& Map, std::string_view Method) {
    return exportObject(ExportKind::Map, pictureObject(Map), Method);
}
bool ExportEngine::ExportPicture(const ui::Picture& Picture, std::string_view Method) {
    return exportObject(ExportKind::Picture, pictureObject(Picture), Method);
}
bool ExportEngine::ExportImageFile(const std::string& Filename, std::string_view Method) {
    return exportObject(ExportKind::ImageFile, textObject(Filename), Method);
}

// ---- Send family

bool ExportEngine::ExportAndSendTable(const ui::GridModel& Table, std::string_view SendToMethod) {
    return exportAndSend(ExportKind::Table, tableObject(Table), EXPORT_OBJECT_TABLE, SendToMethod);
}
bool ExportEngine::ExportAndSendChart(const ui::Picture& Chart, std::string_view SendToMethod) {
    return exportAndSend(ExportKind::Chart, pictureObject(Chart), EXPORT_OBJECT_CHART, SendToMethod);
}
bool ExportEngine::ExportAndSendMap(const ui::Picture& Map, std::string_view SendToMethod) {
    return exportAndSend(ExportKind::Map, pictureObject(Map), EXPORT_OBJECT_CHART, SendToMethod);
}
bool ExportEngine::ExportAndSendPicture(const ui::Picture& Picture, std::string_view SendToMethod) {
    return exportAndSend(ExportKind::Picture, pictureObject(Picture), EXPORT_OBJECT_PICTURE, SendToMethod);
}
bool ExportEngine::ExportAndSendEMFFile(const std::string& Filename, std::string_view SendToMethod) {
    return exportAndSend(ExportKind::EMFFile, textObject(Filename), EXPORT_OBJECT_CHART, SendToMethod);
}
bool ExportEngine::ExportAndSendRTF(const std::string& RTF, std::string_view SendToMethod) {
    return exportAndSendDocument(ExportKind::RTF, textObject(RTF), SendToMethod);
}
bool ExportEngine::ExportAndSendText(const std::string& Text, std::string_view SendToMethod) {
    return exportAndSendDocument(ExportKind::Text, textObject(Text), SendToMethod);
}

bool ExportEngine::SendTo(const std::string& Filename, std::string_view SendToMethod) {
    auto engine = start(false);
    if (!engine) return false;
    ResetAtEnd reset(*this);
    writeSettings(*engine);
    return engine->SendTo(Filename, SendToMethod);
}

// ---- Lists and menus. These start the engine silently: hosts fill their
// menus at start-up, and a missing engine then only leaves them empty.

MethodList ExportEngine::ExportMethods(std::optional<long> ObjectType) {
    auto engine = start(true);
    return engine ? engine->ExportMethods(ObjectType) : MethodList();
}

std::string ExportEngine::MethodName(std::string_view Method) {
    auto engine = start(true);
    return engine ? engine->MethodName(Method) : std::string();
}

MethodList ExportEngine::SendToMethods() {
    auto engine = start(true);
    return engine ? engine->SentToMethods() : MethodList();
}

void ExportEngine::LoadExportsMenu(ui::Menu& MenuItem, const ui::ImageList* Parent, std::string_view Prefix,
                                   std::optional<long> ObjectType) {
    auto engine = start(true);
    if (!engine) return;
    for (const auto& method : engine->ExportMethods(ObjectType)) {
        const bool hasImage = Parent && Parent->Exists(method.Key);
        MenuItem.Add(method.Name, std::string(Prefix) + method.Key, hasImage ? method.Key : std::string());
    }
}

void ExportEngine::LoadSendToMenu(ui::Menu& MenuItem, const ui::ImageList* Parent, std::string_view Prefix) {
    auto engine = start(true);
    if (!engine) return;
    for (const auto& target : engine->SendToMethods()) {
        std::string caption = target.Name;
        for (auto at = caption.find("Microsoft "); at != std::string::npos; at = caption.find("Microsoft "))
            caption.erase(at, 10);
        caption = caption.substr(0, caption.find(' '));
        const std::string file = UpperAscii(FileNameOf(target.Key, false));
        const bool group = file == "MAILCONTENT" || file == "MYDOCUMENTS" || file == "EXCEL.EXE";
        const bool hasImage = Parent && Parent->Exists(target.Key);
        MenuItem.Add(caption, std::string(Prefix) + target.Key, hasImage ? target.Key : std::string(), group);
    }
}

std::string ExportEngine::BestExportMethod(long ObjectType, std::string_view Method) {
    switch (ObjectType) {
        case EXPORT_OBJECT_TABLE:
        case EXPORT_OBJECT_PICTURE:
        case EXPORT_OBJECT_CHART:
            return Method.find(".MAPIMAIL") != std::string_view::npos ? "MHTML" : "HTML";
        case EXPORT_OBJECT_TEXT:
            return "TXT";
        default:
            return "";
    }
}

bool ExportEngine::NoPrinters() {
    if (!toolkit_.Printers().empty()) return false;
    toolkit_.MsgBox("You do not have a Printer installed.\r\nYou must install a Printer before you can print.",
                    ui::MsgBoxCritical);
    return true;
}

std::string FileNameOf(std::string_view Path, bool StripExtension) {
    std::string name(Path);
    std::replace(name.begin(), name.end(), '/', '\\');
    if (const auto slash = name.rfind('\\'); slash != std::string::npos) name.erase(0, slash + 1);
    if (const auto colon = name.rfind(':'); colon != std::string::npos) name.erase(0, colon + 1);
    if (StripExtension) {
        if (const auto dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
    }
    return name;
}

}  // namespace qlmib
