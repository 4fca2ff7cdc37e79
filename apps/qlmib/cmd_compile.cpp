#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include <qlmib/common/Error.h>
#include <qlmib/compiler/MibCompiler.h>
#include <qlmib/compiler/MibxWriter.h>

#include "CommandLine.h"

namespace qlmib::cli {
namespace {

namespace fs = std::filesystem;
using namespace qlmib::compiler;

struct CompileArguments {
    std::vector<std::string> searchPath;
    std::string outputFolder = ".";
    std::vector<std::string> requests;
};

// -p takes a folder or a ":"-separated list of them, as SMIPATH does.
std::vector<fs::path> searchFolders(const std::vector<std::string>& arguments) {
    std::vector<fs::path> folders;
    for (const auto& argument : arguments) {
        std::istringstream parts(argument);
        for (std::string part; std::getline(parts, part, ':');) {
            if (!part.empty()) folders.emplace_back(part);
        }
    }
    return folders;
}

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

// One line per request: written with its object count, or failed and why.
bool writeModules(const CompileReport& report, const fs::path& folder, std::time_t now) {
    bool allWritten = true;
    for (const auto& r : report.modules) {
        if (!r.ok) {
            std::cout << r.request << ": failed: " << r.error << '\n';
            allWritten = false;
            continue;
        }
        try {
            const auto path = WriteMibxFile(r.module, folder, now);
            std::cout << r.module.name << ": written " << path.string() << " (" << r.module.objects.size()
                      << " objects)\n";
        } catch (const Error& e) {
            std::cout << r.module.name << ": failed: " << e.what() << '\n';
            allWritten = false;
        }
    }
    return allWritten;
}

void printProblems(const CompileReport& report) {
    std::vector<std::string> skipped;
    for (const auto& r : report.modules) {
        for (const auto& name : r.skipped) skipped.push_back(r.module.name + ": " + name);
    }
    if (report.missingModules.empty() && report.diagnostics.empty() && skipped.empty()) return;
    std::cout << "\nProblems:\n";
    if (!report.missingModules.empty()) {
        std::cout << "Unresolved imports:\n";
        for (const auto& m : report.missingModules) {
            std::cout << "  " << m.name << " not found; imported by " << joined(m.importers) << ": "
                      << joined(m.names) << '\n';
        }
    }
    if (!skipped.empty()) {
        std::cout << "Names that cannot be XML element names (skipped):\n";
        for (const auto& line : skipped) std::cout << "  " << line << '\n';
    }
    if (!report.diagnostics.empty()) {
        std::cout << "libsmi errors (severity 3 or worse):\n";
        for (const auto& d : report.diagnostics) {
            std::cout << "  ";
            if (!d.file.empty()) std::cout << d.file << ':' << d.line << ": ";
            std::cout << '[' << d.severity << "] " << d.message << '\n';
        }
    }
}

int runCompile(const CompileArguments& args) {
    const fs::path folder = args.outputFolder;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw UsageError("cannot create " + folder.string() + ": " + ec.message());

    const auto searchPath = searchFolders(args.searchPath);
    for (const auto& searched : searchPath) {
        if (!fs::is_directory(searched, ec)) throw UsageError("no folder " + searched.string() + " to search");
    }
    MibCompiler compiler(CompileOptions{searchPath, true});
    const auto report = compiler.compile(args.requests);
    const bool written = writeModules(report, folder, std::time(nullptr));
    printProblems(report);
    return written ? 0 : 1;
}

}  // namespace

const CommandRegistrar registrar("compile", [](CLI::App& app, Action& selected) {
    auto args = std::make_shared<CompileArguments>();
    auto* cmd = addCommand(app, "compile", "Compile MIB text modules into MIB-X files", selected,
                           [args] { return runCompile(*args); });
    cmd->add_option("-p,--path", args->searchPath,
                    "Folder of MIB files for imports (repeatable, or ':'-separated); searched before "
                    "libsmi's configured path, and before the folders of the FILEs given");
    cmd->add_option("-o,--output", args->outputFolder, "Folder for the MODULE.mibx files (default: .)");
    cmd->add_option("modules", args->requests, "MIB text FILE or MODULE name")->required();
});

}  // namespace qlmib::cli
