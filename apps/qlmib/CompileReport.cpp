#include "CompileReport.h"

#include <unistd.h>

#include <iostream>
#include <map>
#include <set>
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

ProgressLine::ProgressLine() : terminal_(::isatty(STDERR_FILENO) == 1) {}

void ProgressLine::show(const std::string& text) {
    if (!terminal_ || text == shown_) return;
    std::cerr << "\r\033[K" << text << std::flush;
    shown_ = text;
}

void ProgressLine::clear() {
    if (!terminal_ || shown_.empty()) return;
    std::cerr << "\r\033[K" << std::flush;
    shown_.clear();
}

void addVerboseOption(CLI::App& command, bool& verbose) {
    command.add_flag("-v,--verbose", verbose, "List every libsmi message, warnings included");
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

namespace {

// libsmi's scale: 0 and 1 are errors a person must act on; 2 and 3 are
// departures from the rules that libsmi read past.
constexpr int kWorstWarning = 3, kWorstError = 1;

void printDiagnostic(const compiler::Diagnostic& d) {
    std::cout << "    ";
    if (!d.file.empty()) std::cout << d.file << ':' << d.line << ": ";
    std::cout << '[' << d.severity << "] " << d.message << '\n';
}

}  // namespace

void printCompileProblems(const compiler::CompileReport& report, bool verbose) {
    // Missing modules first, then what libsmi could not read at all, then
    // each module's own errors, then how many warnings there were.
    std::vector<std::string> order;  // files and requests with errors, in the order met
    std::map<std::string, std::vector<std::string>> errors;
    std::map<std::string, std::string> titles;
    const auto add = [&](const std::string& key, const std::string& title, const std::string& line) {
        if (!errors.count(key)) order.push_back(key), titles[key] = title;
        errors[key].push_back(line);
    };
    std::map<std::string, std::string> moduleOfFile;
    for (const auto& r : report.modules) {
        if (r.ok) moduleOfFile[r.module.file] = r.module.name + " (" + r.module.file + ")";
    }
    std::set<std::string> skippedReasons;
    for (const auto& s : report.skippedModules) skippedReasons.insert(s.reason);
    for (const auto& r : report.modules) {
        const std::string title = r.ok ? moduleOfFile[r.module.file] : r.request;
        const std::string key = r.ok ? r.module.file : r.request;
        if (!r.ok && !skippedReasons.count(r.error)) add(key, title, r.error);
        for (const auto& name : r.skipped) add(key, title, "not an XML element name, left out: " + name);
        for (const auto& u : r.unresolved) {
            add(key, title, u.name + " left out: its OID needs " + u.missing + ", which is defined nowhere");
        }
    }
    int warnings = 0;
    for (const auto& d : report.diagnostics) {
        if (d.severity > kWorstError) {
            ++warnings;
            continue;
        }
        const auto known = moduleOfFile.find(d.file);
        std::ostringstream line;
        if (!d.file.empty()) line << "line " << d.line << ": ";
        line << '[' << d.severity << "] " << d.message;
        add(d.file, known != moduleOfFile.end() ? known->second : d.file.empty() ? "libsmi" : d.file, line.str());
    }
    if (report.missingModules.empty() && report.skippedModules.empty() && order.empty() && warnings == 0) return;

    std::cout << "\nProblems:\n";
    if (!report.missingModules.empty()) {
        std::cout << "Missing modules:\n";
        for (const auto& m : report.missingModules) {
            std::cout << "  " << m.name << " not found; imported by " << joined(m.importers) << ": "
                      << joined(m.names) << '\n';
        }
    }
    if (!report.skippedModules.empty()) {
        std::cout << "Modules libsmi could not read:\n";
        for (const auto& s : report.skippedModules) std::cout << "  " << s.reason << '\n';
    }
    if (!order.empty()) {
        std::cout << "Errors:\n";
        for (const auto& key : order) {
            std::cout << "  " << titles[key] << ":\n";
            for (const auto& line : errors[key]) std::cout << "    " << line << '\n';
        }
    }
    if (warnings > 0) {
        std::cout << "Warnings: " << warnings << (verbose ? "" : " (--verbose lists them)") << '\n';
    }
    if (verbose && !report.diagnostics.empty()) {
        std::cout << "libsmi messages (severity " << kWorstWarning << " or worse):\n";
        for (const auto& d : report.diagnostics) printDiagnostic(d);
    }
}

}  // namespace qlmib::cli
