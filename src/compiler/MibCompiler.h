#pragma once
// Compiles MIB text modules (SMIv1/SMIv2) with libsmi into CompiledModule
// values, with a per-module result and a report of the problems met.

#include <filesystem>
#include <string>
#include <vector>

#include <qlmib/compiler/CompiledModule.h>

namespace qlmib::compiler {

// A problem libsmi reported while it read a file.
struct Diagnostic {
    std::string file;
    int line = 0;
    int severity = 0;        // libsmi's scale: 0 fatal ... 3 minor
    std::string message;
};

// A module that other modules import from but that is nowhere on the path.
struct MissingModule {
    std::string name;
    std::vector<std::string> importers;  // modules that import from it
    std::vector<std::string> names;      // descriptors they import from it
};

struct ModuleResult {
    std::string request;     // the FILE or MODULE argument as given
    bool ok = false;
    std::string error;       // why it failed, when !ok
    CompiledModule module;   // when ok
    std::vector<std::string> skipped;  // names left out because they cannot be XML element names
};

struct CompileReport {
    std::vector<ModuleResult> modules;        // one per request, in request order
    std::vector<MissingModule> missingModules;
    std::vector<Diagnostic> diagnostics;      // severity 3 or worse, each once, in the order met

    bool allSucceeded() const;
    // The modules that compiled, imports before importers.
    std::vector<const CompiledModule*> dependencyOrder() const;
};

struct CompileOptions {
    // Folders searched for imported modules, before libsmi's configured path.
    // A module is found there by the name its file defines, whatever the file
    // is called.
    std::vector<std::filesystem::path> searchPath;
    // Append libsmi's own path (smi.conf, $SMIPATH) after searchPath.
    bool useDefaultPath = true;
};

// libsmi keeps its state in process globals, so one compile runs at a time in
// the whole process: compile() takes that state for its duration and throws
// Error(ERR_INVALID_CALL) when another compile is running on any thread. Use
// it from one thread at a time; nothing of libsmi outlives the call.
class MibCompiler {
public:
    explicit MibCompiler(CompileOptions options = {});

    // Each request is a MIB text file (when such a file exists) or a module
    // name looked up on the path. Bad input never throws: it fails its result.
    CompileReport compile(const std::vector<std::string>& requests) const;

private:
    CompileOptions options_;
};

}  // namespace qlmib::compiler
