#include "ExportBackend.h"

#include <mutex>

#include "BuiltinExportEngine.h"

namespace qlmib {
namespace {

std::mutex factoryMutex;
ExportBackendFactory factory;

}  // namespace

std::string_view ExportMemberName(ExportKind kind) {
    switch (kind) {
        case ExportKind::Table: return "ExportTable";
        case ExportKind::RTF: return "ExportRTF";
        case ExportKind::Text: return "ExportText";
        case ExportKind::TextFile: return "ExportTextFile";
        case ExportKind::EMFFile: return "ExportEMFFile";
        case ExportKind::Chart: return "ExportChart";
        case ExportKind::Map: return "ExportMap";
        case ExportKind::Picture: return "ExportPicture";
        case ExportKind::ImageFile: return "ExportImageFile";
    }
    return {};
}

void SetExportBackendFactory(ExportBackendFactory f) {
    std::lock_guard lock(factoryMutex);
    factory = std::move(f);
}

std::unique_ptr<ExportBackend> CreateExportBackend(ui::Toolkit& toolkit) {
    ExportBackendFactory f;
    {
        std::lock_guard lock(factoryMutex);
        f = factory;
    }
    if (f) return f(toolkit);
    return std::make_unique<BuiltinExportEngine>(toolkit);
}

}  // namespace qlmib
