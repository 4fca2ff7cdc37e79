#include "BuiltinExportEngine.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "internal/Renderers.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/ui/Rtf.h"
#include "qlmib/ui/Toolkit.h"

extern char** environ;

namespace qlmib {
namespace {

namespace fs = std::filesystem;

struct MethodInfo {
    std::string_view key, name, extension;
};

constexpr MethodInfo kMethods[] = {
    {"CSV", "Comma-separated values (CSV)", "csv"},
    {"HTML", "Web page (HTML)", "html"},
    {"IMAGE", "Image file", ""},
    {"RTF", "Rich text (RTF)", "rtf"},
    {"TXT", "Plain text (TXT)", "txt"},
    {"PRINTER", "Printer", ""},
    {"PREVIEW", "Print preview", ""},
    {"PDF", "Portable document (PDF)", "pdf"},
};

const MethodList kSendTo = {
    {"SaveToFolder", "Documents (save a copy)"},
    {"OpenWith", "Application (open with the default program)"},
};

bool isTextKind(ExportKind kind) {
    return kind == ExportKind::RTF || kind == ExportKind::Text || kind == ExportKind::TextFile;
}

bool isPictureKind(ExportKind kind) { return !isTextKind(kind) && kind != ExportKind::Table; }

// The methods each object type offers, in menu order; PDF where the toolkit draws it.
std::vector<std::string_view> methodsFor(std::optional<long> objectType, bool pdf) {
    std::vector<std::string_view> methods;
    if (!objectType) methods = {"CSV", "HTML", "IMAGE", "RTF", "TXT"};
    else if (*objectType == 0) methods = {"CSV", "HTML", "RTF", "TXT"};
    else if (*objectType == 1) methods = {"HTML", "RTF", "TXT"};
    else if (*objectType == 2 || *objectType == 3) methods = {"HTML", "IMAGE"};
    if (pdf && !methods.empty()) methods.push_back("PDF");
    return methods;
}

long objectTypeOf(ExportKind kind) {
    if (kind == ExportKind::Table) return 0;
    if (isTextKind(kind)) return 1;
    return kind == ExportKind::Picture || kind == ExportKind::ImageFile ? 2 : 3;
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// A title as a file name: no path separators or control characters.
std::string fileStem(std::string_view title) {
    std::string stem;
    for (unsigned char c : title) stem += (c < 0x20 || c == '/' || c == '\\' || c == ':') ? '_' : static_cast<char>(c);
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.')) stem.pop_back();
    while (!stem.empty() && stem.front() == '.') stem.erase(stem.begin());
    return stem.empty() ? "Export" : stem;
}

fs::path uniquePath(const fs::path& folder, const std::string& stem, std::string_view extension) {
    const std::string suffix = extension.empty() ? std::string() : "." + std::string(extension);
    fs::path candidate = folder / (stem + suffix);
    std::error_code ec;
    for (int n = 2; fs::exists(candidate, ec); ++n) candidate = folder / (stem + " (" + std::to_string(n) + ")" + suffix);
    return candidate;
}

fs::path documentsFolder() {
    std::error_code ec;
    if (const char* xdg = std::getenv("XDG_DOCUMENTS_DIR"); xdg && fs::is_directory(xdg, ec)) return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    if (fs::is_directory(fs::path(home) / "Documents", ec)) return fs::path(home) / "Documents";
    return home;
}

}  // namespace

void BuiltinExportEngine::SetSetting(std::string_view name, const SettingValue& value) {
    settings_[std::string(name)] = value;
}

std::string BuiltinExportEngine::text(std::string_view setting) const {
    const auto it = settings_.find(setting);
    if (it == settings_.end()) return {};
    if (const auto* s = std::get_if<std::string>(&it->second)) return *s;
    if (const auto* n = std::get_if<long>(&it->second)) return std::to_string(*n);
    return std::get<bool>(it->second) ? "True" : "False";
}

bool BuiltinExportEngine::fail(std::string message) {
    lastError_ = std::move(message);
    return false;
}

MethodList BuiltinExportEngine::ExportMethods(std::optional<long> objectType) {
    MethodList list;
    for (auto key : methodsFor(objectType, toolkit_.CanWritePdf())) list.push_back({std::string(key), MethodName(key)});
    return list;
}

std::string BuiltinExportEngine::MethodName(std::string_view method) {
    const std::string key = UpperAscii(method);
    for (const auto& m : kMethods)
        if (m.key == key) return std::string(m.name);
    for (const auto& target : kSendTo)
        if (UpperAscii(target.Key) == key) return target.Name;
    return {};
}

MethodList BuiltinExportEngine::SendToMethods() { return kSendTo; }

std::string BuiltinExportEngine::targetPath(const std::string& libraryFolder, std::string_view extension) const {
    std::string target = text("TargetFilename");
    if (!target.empty()) {
        const std::string name = fs::path(target).filename().string();
        if (name.find('.') == std::string::npos && !extension.empty()) target += "." + std::string(extension);
        return target;
    }
    std::string folder = text("InitDir");
    if (folder.empty()) folder = libraryFolder;
    return uniquePath(folder, fileStem(text("Title")), extension).string();
}

bool BuiltinExportEngine::Export(ExportKind kind, const ExportObject& object, std::string_view method,
                                 const std::string& libraryFolder) {
    lastError_.clear();
    target_.clear();
    std::string key = UpperAscii(method);
    if (key.empty()) key = UpperAscii(text("FileFormat"));
    if (key.empty()) key = kind == ExportKind::Table ? "CSV" : (isTextKind(kind) ? "TXT" : "IMAGE");

    // The object's content.
    std::vector<ui::TextRun> runs;
    ui::Picture picture;
    std::string source;
    const ui::TextFormat base;
    switch (kind) {
        case ExportKind::Table:
            if (!object.table) return fail("There is no table to export.");
            break;
        case ExportKind::RTF:
            source = object.text;
            runs = ui::ReadRtf(source);
            break;
        case ExportKind::Text:
            source = object.text;
            runs = {{source, base}};
            break;
        case ExportKind::TextFile:
            if (!readFile(object.text, source)) return fail("Cannot read " + object.text + ".");
            runs = {{source, base}};
            break;
        case ExportKind::EMFFile:
        case ExportKind::ImageFile:
            if (!readFile(object.text, picture.Bytes)) return fail("Cannot read " + object.text + ".");
            break;
        case ExportKind::Chart:
        case ExportKind::Map:
        case ExportKind::Picture:
            if (!object.picture) return fail("There is no picture to export.");
            picture = *object.picture;
            break;
    }

    // Printing, preview and PDF share the toolkit's renderer.
    ui::RichTextDocument document;
    document.setRuns(runs);
    ui::PrintJob job;
    job.ProgramName = text("ProgramName");
    job.ProgramVersion = text("ProgramVersion");
    job.Title = text("Title");
    job.SubTitle = text("SubTitle");
    job.Paragraph = text("Paragraph");
    job.Footer = text("Footer");
    job.Printer = text("DefaultPrinter");
    job.Orientation = static_cast<std::int32_t>(std::atol(text("Orientation").c_str()));
    job.Preview = key == "PREVIEW";
    if (isTextKind(kind)) job.Document = &document;
    else if (kind == ExportKind::Table) job.Table = object.table;
    else job.Image = &picture;
    if (key == "PRINTER" || key == "PREVIEW") {
        if (toolkit_.Printers().empty()) return fail("No printer is available.");
        return toolkit_.Print(job) || fail("The job could not be printed.");
    }

    const auto offered = methodsFor(objectTypeOf(kind), toolkit_.CanWritePdf());
    if (std::find(offered.begin(), offered.end(), key) == offered.end())
        return fail("The method " + key + " cannot export this object.");
    if (isPictureKind(kind) && picture.Bytes.empty()) return fail("The picture holds no image data.");

    // The file's bytes and its extension.
    std::string bytes;
    std::string_view extension;
    for (const auto& m : kMethods)
        if (m.key == key) extension = m.extension;
    const exporter::PageInfo page{text("Title"), text("SubTitle"), text("Paragraph"), text("Footer"),
                                  text("ProgramName") + " " + text("ProgramVersion")};
    if (key == "PDF") {
        // The toolkit draws the file.
    } else if (kind == ExportKind::Table) {
        const auto columns = exporter::ExportedColumns(*object.table, text("ColumnList"));
        if (key == "CSV") bytes = exporter::TableCsv(*object.table, columns);
        else if (key == "HTML") bytes = exporter::HtmlPage(page, exporter::TableHtml(*object.table, columns));
        else if (key == "RTF") bytes = ui::WriteRtf({{exporter::TableText(*object.table, columns), base}}, base);
        else bytes = exporter::TableText(*object.table, columns);
    } else if (isTextKind(kind)) {
        if (key == "HTML") bytes = exporter::HtmlPage(page, exporter::DocumentHtml(runs));
        else if (key == "RTF") bytes = kind == ExportKind::RTF ? source : ui::WriteRtf(runs, base);
        else
            for (const auto& run : runs) bytes += run.text;
    } else if (key == "HTML") {
        bytes = exporter::HtmlPage(page, exporter::PictureHtml(picture));
    } else {
        bytes = picture.Bytes;
        extension = exporter::DetectImage(bytes).extension;
    }

    const fs::path path = targetPath(libraryFolder, extension);
    std::error_code ec;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::current_path(ec);
    if (!fs::is_directory(folder, ec)) return fail("The folder " + folder.string() + " does not exist.");
    if (key == "PDF") {
        job.PdfFile = path.string();
        if (toolkit_.Print(job)) {
            target_ = path.string();
            return true;
        }
    } else {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out && out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush()) {
            target_ = path.string();
            return true;
        }
    }
    fs::remove(path, ec);
    return fail("Cannot write " + path.string() + ".");
}

bool BuiltinExportEngine::SendTo(const std::string& filename, std::string_view sendToMethod) {
    lastError_.clear();
    std::error_code ec;
    if (!fs::is_regular_file(filename, ec)) return fail("There is no file " + filename + ".");
    const std::string target = UpperAscii(sendToMethod);
    if (target == "SAVETOFOLDER") {
        fs::path folder = text("InitDir");
        if (folder.empty()) folder = documentsFolder();
        if (folder.empty() || !fs::is_directory(folder, ec)) return fail("There is no folder to save to.");
        const fs::path source(filename);
        std::string extension = source.extension().string();
        if (!extension.empty()) extension.erase(0, 1);
        const fs::path copy = uniquePath(folder, source.stem().string(), extension);
        if (!fs::copy_file(source, copy, ec)) return fail("Cannot copy to " + copy.string() + ": " + ec.message());
        target_ = copy.string();
        return true;
    }
    if (target == "OPENWITH") {
        const std::string program = "xdg-open";
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(filename.c_str()), nullptr};
        pid_t pid = 0;
        if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
            return fail("Cannot start xdg-open.");
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return (WIFEXITED(status) && WEXITSTATUS(status) == 0) || fail("xdg-open could not open " + filename + ".");
    }
    return fail("Unknown send-to target " + std::string(sendToMethod) + ".");
}

}  // namespace qlmib
