#include "MibCompiler.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>

#include "internal/DependencyOrder.h"
#include "internal/ModuleIndex.h"
#include "internal/ModuleReader.h"
#include "internal/SmiSession.h"

namespace qlmib::compiler {
namespace fs = std::filesystem;
namespace {

bool isFile(const std::string& request) {
    std::error_code ec;
    return fs::is_regular_file(request, ec);
}

// libsmi parses as much of a broken module as it can; a module that did not
// parse cleanly is a failure even though libsmi loaded part of it.
bool brokenFile(const std::vector<Diagnostic>& diagnostics, const std::string& file) {
    return std::any_of(diagnostics.begin(), diagnostics.end(), [&](const Diagnostic& d) {
        return d.file == file && (d.severity == 0 || std::string_view(d.message).starts_with("syntax error"));
    });
}

template <class T>
void addOnce(std::vector<T>& list, const T& value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
}

// Everything one compile() call works with.
class Compilation {
public:
    Compilation(const CompileOptions& options, const std::vector<std::string>& requests) : requests_(requests) {
        // Named files first, then the search path, then the files' own
        // folders: a module is taken from the first place that defines it.
        std::vector<fs::path> fileFolders;
        for (const auto& request : requests_) {
            if (!isFile(request)) continue;
            fileModules_[request] = index_.addFile(request);
            addOnce(fileFolders, fs::absolute(request).parent_path());
        }
        for (const auto& folder : options.searchPath) index_.addFolder(folder);
        for (const auto& folder : fileFolders) index_.addFolder(folder);
        for (const auto& folder : options.searchPath) {
            path_ += (path_.empty() ? "" : ":") + fs::absolute(folder).string();
        }
    }

    CompileReport run(bool useDefaultPath) {
        CompileReport report;
        SmiSession session(path_, useDefaultPath);
        // Every module the index knows is loaded from its file before any
        // module that imports it: libsmi then finds imports already loaded,
        // whatever their files are called, and checks each module fully,
        // which it does only for modules loaded themselves, not as imports.
        std::vector<std::string> targets;
        for (const auto& request : requests_) {
            targets.push_back(loadTarget(request));
            preload(targets.back(), session);
        }
        std::vector<std::string> loaded;
        for (const auto& target : targets) loaded.push_back(session.load(target));

        report.diagnostics = session.diagnostics();
        for (size_t i = 0; i < requests_.size(); ++i) {
            report.modules.push_back(result(requests_[i], loaded[i], report.diagnostics));
        }
        report.missingModules = missingModules(report.modules);
        return report;
    }

private:
    std::string loadTarget(const std::string& request) const {
        if (!isFile(request)) return request;
        const auto& names = fileModules_.at(request);
        // A file whose module the scan did not recognise is left to libsmi to read.
        return names.empty() ? fs::absolute(request).lexically_normal().string() : names.front();
    }

    // Loads `module` after everything it imports, depth first; an import
    // cycle is cut where it closes and left to libsmi's own lookup.
    void preload(const std::string& module, SmiSession& session) {
        const auto file = index_.fileOf(module);
        if (file.empty() || !preloaded_.insert(module).second) return;
        for (const auto& [source, names] : index_.scanned(module)->imports) preload(source, session);
        session.load(file.string());
    }

    ModuleResult result(const std::string& request, const std::string& name,
                        const std::vector<Diagnostic>& diagnostics) const {
        ModuleResult r;
        r.request = request;
        SmiModule* module = name.empty() ? nullptr : smiGetModule(name.c_str());
        if (!module) {
            r.error = isFile(request) ? "no MIB module could be read from " + request
                                      : "no file or module named " + request + " was found";
            return r;
        }
        const std::string file = module->path ? module->path : "";
        if (brokenFile(diagnostics, file)) {
            r.error = name + " has syntax errors in " + file;
            return r;
        }
        auto read = ReadModule(module, file, index_.scanned(name));
        r.module = std::move(read.module);
        r.skipped = std::move(read.skipped);
        r.ok = true;
        return r;
    }

    // Modules imported from that libsmi could not find, with who wanted what.
    std::vector<MissingModule> missingModules(const std::vector<ModuleResult>& results) const {
        std::vector<MissingModule> missing;
        std::set<std::string> seenImporters;
        for (const auto& r : results) {
            if (!r.ok || !seenImporters.insert(r.module.name).second) continue;
            const ScannedModule* scanned = index_.scanned(r.module.name);
            if (!scanned) continue;
            for (const auto& [source, names] : scanned->imports) {
                if (smiGetModule(source.c_str())) continue;
                auto it = std::find_if(missing.begin(), missing.end(),
                                       [&](const MissingModule& m) { return m.name == source; });
                if (it == missing.end()) it = missing.insert(missing.end(), MissingModule{source, {}, {}});
                addOnce(it->importers, r.module.name);
                for (const auto& descriptor : names) addOnce(it->names, descriptor);
            }
        }
        return missing;
    }

    const std::vector<std::string>& requests_;
    ModuleIndex index_;
    std::map<std::string, std::vector<std::string>> fileModules_;
    std::set<std::string> preloaded_;
    std::string path_;
};

}  // namespace

bool CompileReport::allSucceeded() const {
    return std::all_of(modules.begin(), modules.end(), [](const ModuleResult& r) { return r.ok; });
}

std::vector<const CompiledModule*> CompileReport::dependencyOrder() const {
    std::vector<const CompiledModule*> compiled;
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> imports;
    for (const auto& r : modules) {
        if (!r.ok || std::find(names.begin(), names.end(), r.module.name) != names.end()) continue;
        compiled.push_back(&r.module);
        names.push_back(r.module.name);
        imports.push_back(r.module.imports);
    }
    std::vector<const CompiledModule*> ordered;
    for (std::size_t i : DependencyOrder(names, imports)) ordered.push_back(compiled[i]);
    return ordered;
}

MibCompiler::MibCompiler(CompileOptions options) : options_(std::move(options)) {}

CompileReport MibCompiler::compile(const std::vector<std::string>& requests) const {
    Compilation compilation(options_, requests);
    return compilation.run(options_.useDefaultPath);
}

}  // namespace qlmib::compiler
