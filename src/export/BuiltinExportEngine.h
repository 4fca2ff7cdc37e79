#pragma once
// The library's own export engine. Export methods: "TXT", "RTF" and "HTML"
// for rich text, text and text files; "TXT", "CSV", "HTML" and "RTF" for
// tables (the visible rows and columns, or the columns of ColumnList);
// "IMAGE" and "HTML" for pictures, charts, maps and image files. It writes
// TargetFilename (adding the method's extension when it has none) or a
// file named after Title in InitDir, else in the library's folder, and
// never creates folders. "PRINTER" and "PREVIEW" go to the toolkit's
// printing, and "PDF", offered when the toolkit can write PDF files, to its
// print renderer. Send-to targets: "SaveToFolder" copies the file into InitDir,
// else the user's documents folder; "OpenWith" opens it with xdg-open.

#include <map>
#include <string>

#include "qlmib/export/ExportBackend.h"

namespace qlmib {

class BuiltinExportEngine : public ExportBackend {
public:
    explicit BuiltinExportEngine(ui::Toolkit& toolkit) : toolkit_(toolkit) {}

    void SetSetting(std::string_view name, const SettingValue& value) override;
    bool Export(ExportKind kind, const ExportObject& object, std::string_view method,
                const std::string& libraryFolder) override;
    bool SendTo(const std::string& filename, std::string_view sendToMethod) override;
    std::string TargetFilename() const override { return target_; }
    MethodList ExportMethods(std::optional<long> objectType) override;
    std::string MethodName(std::string_view method) override;
    MethodList SendToMethods() override;

    // Why the last export or send failed.
    const std::string& LastError() const { return lastError_; }

private:
    std::string text(std::string_view setting) const;
    bool fail(std::string message);
    std::string targetPath(const std::string& libraryFolder, std::string_view extension) const;

    ui::Toolkit& toolkit_;
    std::map<std::string, SettingValue, std::less<>> settings_;
    std::string target_, lastError_;
};

}  // namespace qlmib
