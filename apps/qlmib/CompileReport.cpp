#include "CompileReport.h"

#include <iostream>
#include <sstream>

#include "CommandLine.h"

namespace qlmib::cli {
namespace fs = std::filesystem;

namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

}  // namespace

void addSearchPathOption(CLI::App& command, std::vector<std::string>& arguments) {
    command
        .add_option("-p,--path", arguments,
                    "Folder of MIB files for imports (repeatable, or ':'-separated); searched before "
                    "libsmi's configured path, and before the folders of the FILEs given")
        ->allow_extra_args(false);
}

std::vector<fs::path> searchFolders(const std::vector<std::string>& arguments) {
    std::vector<fs::path> folders;
    for (const auto& argument : arguments) {
        std::istringstream parts(argument);
        for (std::string part; std::getline(parts, part, ':');) {
            if (part.empty()) continue;
            std::error_code ec;
            if (!fs::is_directory(part, ec)) throw UsageError("no folder " + part + " to search");
            folders.emplace_back(part);
        }
    }
    return folders;
}

void printCompileProblems(const compiler::CompileReport& report) {
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

}  // namespace qlmib::cli
