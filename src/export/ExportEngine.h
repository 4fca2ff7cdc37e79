#pragma once
// The bridge through which the controls and hosts print, export and send
// tables, rich text, text, pictures and files: it holds a job's settings,
// hands them with the object to a freshly started engine (ExportBackend),
// returns the engine's answer and resets the settings. It also fills host
// menus with the engine's export and send-to methods. Thread affinity: the
// thread of its toolkit.

#include <optional>
#include <string>
#include <string_view>

#include "qlmib/export/ExportBackend.h"

namespace qlmib {

namespace ui {
class ImageList;
class Menu;
}  // namespace ui

// The ObjectType of ExportMethods, LoadExportsMenu and BestExportMethod.
enum ExportObjectType : long {
    EXPORT_OBJECT_TABLE = 0,
    EXPORT_OBJECT_TEXT = 1,     // rich text, plain text, text files
    EXPORT_OBJECT_PICTURE = 2,  // pictures and image files
    EXPORT_OBJECT_CHART = 3,    // charts, maps, metafiles
};

class ExportEngine {
public:
    explicit ExportEngine(ui::Toolkit& toolkit);

    // ---- Job settings; Reset restores them.
    const std::string& getProgramName() const { return programName_; }
    void setProgramName(std::string_view v) { programName_ = v; }
    const std::string& getProgramVersion() const { return programVersion_; }
    void setProgramVersion(std::string_view v) { programVersion_ = v; }
    const std::string& getTitle() const { return title_; }
    void setTitle(std::string_view v) { title_ = v; }
    const std::string& getSubTitle() const { return subTitle_; }
    void setSubTitle(std::string_view v) { subTitle_ = v; }
    const std::string& getParagraph() const { return paragraph_; }
    void setParagraph(std::string_view v) { paragraph_ = v; }
    const std::string& getFooter() const { return footer_; }
    void setFooter(std::string_view v) { footer_ = v; }
    long getOrientation() const { return orientation_; }
    void setOrientation(long v) { orientation_ = v; }
    long getImageHeight() const { return imageHeight_; }  // pixels
    void setImageHeight(long v) { imageHeight_ = v; }
    long getImageWidth() const { return imageWidth_; }
    void setImageWidth(long v) { imageWidth_ = v; }
    const std::string& getTargetFilename() const { return targetFilename_; }
    void setTargetFilename(std::string_view v) { targetFilename_ = v; }
    const std::string& getInitDir() const { return initDir_; }
    void setInitDir(std::string_view v) { initDir_ = v; }
    const std::string& getImageFormat() const { return imageFormat_; }
    void setImageFormat(std::string_view v) { imageFormat_ = v; }
    const std::string& getColumnList() const { return columnList_; }
    void setColumnList(std::string_view v) { columnList_ = v; }
    const std::string& getFileFormat() const { return fileFormat_; }
    void setFileFormat(std::string_view v) { fileFormat_ = v; }
    bool getSelectMethod() const { return selectMethod_; }
    void setSelectMethod(bool v) { selectMethod_ = v; }
    bool getSkipFilenameSelection() const { return skipFilenameSelection_; }
    void setSkipFilenameSelection(bool v) { skipFilenameSelection_ = v; }
    bool getSkipFieldSelection() const { return skipFieldSelection_; }
    void setSkipFieldSelection(bool v) { skipFieldSelection_ = v; }
    bool getQuiet() const { return quiet_; }
    void setQuiet(bool v) { quiet_ = v; }
    const std::string& getDefaultPrinter() const { return defaultPrinter_; }
    void setDefaultPrinter(std::string_view v) { defaultPrinter_ = v; }

    // Every setting back to its first value (also after every export, print and send).
    void Reset();

    // ---- Print family: the export of the same kind with "PREVIEW" or "PRINTER".
    bool PrintTable(const ui::GridModel& Table, bool Preview = false);
    bool PrintRTF(const std::string& RTF, bool Preview);
    bool PrintText(const std::string& Text, bool Preview);
    bool PrintTextFile(const std::string& Filename, bool Preview);
    bool PrintEMFFile(const std::string& Filename, bool Preview);
    bool PrintChart(const ui::Picture& Chart, bool Preview);
    bool PrintMap(const ui::Picture& Map, bool Preview);
    bool PrintPicture(const ui::Picture& Picture, bool Preview);
    bool PrintImageFile(const std::string& Filename, bool Preview);

    // ---- Export family. Afterwards the settings are reset and
    // TargetFilename names the file the engine wrote.
    bool ExportTable(const ui::GridModel& Table, std::string_view Method);
    bool ExportRTF(const std::string& RTF, std::string_view Method);
    bool ExportText(const std::string& Text, std::string_view Method);
    bool ExportTextFile(const std::string& Filename, std::string_view Method);
    bool ExportEMFFile(const std::string& Filename, std::string_view Method);
    bool ExportChart(const ui::Picture& Chart, std::string_view Method);
    bool ExportMap(const ui::Picture& Map, std::string_view Method);
    bool ExportPicture(const ui::Picture& Picture, std::string_view Method);
    bool ExportImageFile(const std::string& Filename, std::string_view Method);

    // ---- Send family: export without asking, then send the file. True
    // when both succeeded; the settings are reset afterwards.
    bool ExportAndSendTable(const ui::GridModel& Table, std::string_view SendToMethod);
    bool ExportAndSendChart(const ui::Picture& Chart, std::string_view SendToMethod);
    bool ExportAndSendMap(const ui::Picture& Map, std::string_view SendToMethod);
    bool ExportAndSendPicture(const ui::Picture& Picture, std::string_view SendToMethod);
    bool ExportAndSendRTF(const std::string& RTF, std::string_view SendToMethod);
    bool ExportAndSendEMFFile(const std::string& Filename, std::string_view SendToMethod);
    bool ExportAndSendText(const std::string& Text, std::string_view SendToMethod);
    bool SendTo(const std::string& Filename, std::string_view SendToMethod);

    // ---- Lists and menus
    MethodList ExportMethods(std::optional<long> ObjectType = std::nullopt);
    std::string MethodName(std::string_view Method);
    MethodList SendToMethods();
    // Appends one entry per export method: caption its name, key Prefix +
    // method key, image the key's picture in Parent when it has one.
    void LoadExportsMenu(ui::Menu& MenuItem, const ui::ImageList* Parent = nullptr,
                         std::string_view Prefix = "Export:", std::optional<long> ObjectType = std::nullopt);
    // Appends one entry per send-to target, captioned with its name less
    // "Microsoft " and cut before the first blank; mail, documents and
    // spreadsheet targets begin a group.
    void LoadSendToMenu(ui::Menu& MenuItem, const ui::ImageList* Parent = nullptr,
                        std::string_view Prefix = "SendTo:");
    static std::string BestExportMethod(long ObjectType, std::string_view Method);
    // Shows a message and answers true when no printer is installed.
    bool NoPrinters();

private:
    std::unique_ptr<ExportBackend> start(bool silent);
    void writeSettings(ExportBackend& engine) const;
    bool exportObject(ExportKind kind, const ExportObject& object, std::string_view method);
    bool exportAndSend(ExportKind kind, const ExportObject& object, long objectType, std::string_view sendToMethod);
    bool exportAndSendDocument(ExportKind kind, const ExportObject& object, std::string_view sendToMethod);

    ui::Toolkit& toolkit_;
    std::string programName_, programVersion_, title_, subTitle_, paragraph_, footer_;
    long orientation_ = 1, imageHeight_ = 400, imageWidth_ = 640;
    std::string targetFilename_, initDir_, imageFormat_, columnList_, fileFormat_, defaultPrinter_;
    bool selectMethod_ = false, skipFilenameSelection_ = false, skipFieldSelection_ = false, quiet_ = false;
};

// The file name of a path: "/" counts as "\", the text after the last "\"
// and then after the last ":" remains; StripExtension drops the last "." on.
std::string FileNameOf(std::string_view Path, bool StripExtension);

}  // namespace qlmib
