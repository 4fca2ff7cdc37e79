#pragma once
// The contract between ExportEngine and the engine that does the work. The
// bridge creates an engine afresh for every call, writes the job's settings
// to it by name, calls one member, and reads back what it reports. Hosts may
// put their own engine in place of the built-in one.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qlmib {

namespace ui {
class GridModel;
class Toolkit;
struct Picture;
}  // namespace ui

// The object kinds of the export members; the engine member of a kind is
// "Export" followed by its name ("ExportTable", "ExportRTF", ...).
enum class ExportKind { Table, RTF, Text, TextFile, EMFFile, Chart, Map, Picture, ImageFile };
std::string_view ExportMemberName(ExportKind kind);

// The object handed to an export: a table, a text (rich text, plain text or
// a file name, by kind) or a picture (charts and maps arrive rendered).
struct ExportObject {
    const ui::GridModel* table = nullptr;
    std::string text;
    const ui::Picture* picture = nullptr;
};

// A job setting: text, number or switch.
using ExportSettingValue = std::variant<std::string, long, bool>;

struct ExportMethod {
    std::string Key;   // what the export and send members take
    std::string Name;  // what a menu shows
    friend bool operator==(const ExportMethod&, const ExportMethod&) = default;
};
using MethodList = std::vector<ExportMethod>;

class ExportBackend {
public:
    virtual ~ExportBackend() = default;
    // One of the job settings, by its name ("Title", "TargetFilename", ...).
    virtual void SetSetting(std::string_view name, const ExportSettingValue& value) = 0;
    // The Export* members: the object, the method key and the library's folder.
    virtual bool Export(ExportKind kind, const ExportObject& object, std::string_view method,
                        const std::string& libraryFolder) = 0;
    virtual bool SendTo(const std::string& filename, std::string_view sendToMethod) = 0;
    // The file the last export wrote.
    virtual std::string TargetFilename() const = 0;
    // For one object type (see ExportObjectType), or every method.
    virtual MethodList ExportMethods(std::optional<long> objectType) = 0;
    virtual std::string MethodName(std::string_view method) = 0;
    virtual MethodList SendToMethods() = 0;
    // The name under which the bridge's own SendToMethods asks; engines
    // answer it with the same list.
    virtual MethodList SentToMethods() { return SendToMethods(); }
};

// Creates an engine; throws (any exception) when it cannot be started.
using ExportBackendFactory = std::function<std::unique_ptr<ExportBackend>(ui::Toolkit&)>;
// Sets the engine of every later call on any thread; an empty factory
// restores the built-in engine.
void SetExportBackendFactory(ExportBackendFactory factory);
std::unique_ptr<ExportBackend> CreateExportBackend(ui::Toolkit& toolkit);

}  // namespace qlmib
