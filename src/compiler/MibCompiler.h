#pragma once
// Compiles MIB text modules (SMIv1/SMIv2) with libsmi into CompiledModule
// values, with a per-module result and a report of the problems met.

#include <filesystem>
#include <string>
#include <vector>

#include <qlmib/common/Event.h>
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

// A module libsmi could not read without failing itself: it crashed, did not
// finish in time, or ran out of memory. Modules importing it are compiled
// without it.
struct SkippedModule {
    std::string name;
    std::string file;
    std::string reason;      // "libsmi crashed reading MODULE (FILE): signal 11; skipped", ...
};

// An object left out because its OID does not resolve: libsmi would place it
// under a made-up arc.
struct UnresolvedObject {
    std::string name;
    std::string missing;     // the name in its OID that nothing defines
    bool operator==(const UnresolvedObject&) const = default;
};

struct ModuleResult {
    std::string request;     // the FILE or MODULE argument as given
    bool ok = false;
    std::string error;       // why it failed, when !ok
    CompiledModule module;   // when ok
    std::vector<std::string> skipped;  // names left out because they cannot be XML element names
    std::vector<UnresolvedObject> unresolved;  // objects left out because their OID does not resolve
};

struct CompileReport {
    std::vector<ModuleResult> modules;        // one per request, in request order
    std::vector<MissingModule> missingModules;
    std::vector<SkippedModule> skippedModules;  // in the order met
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
    // Worker processes at a time; 0 for one per core.
    int workers = 0;
    // A module that libsmi has not read within this time is skipped.
    int moduleTimeLimitSeconds = 60;
    // Address space of one worker; 0 for no limit.
    long workerMemoryMegabytes = 2048;
    // The worker executable; empty for the default (see DefaultWorkerProgram
    // in the source: $QLMIB_SMI_WORKER, else qlmib-smi-worker beside the
    // running program, else the one this library was built or installed with).
    std::filesystem::path workerProgram;
};

// How far a compile or build has come; raised at least every tenth of a
// second while it runs.
struct CompileProgress {
    int done = 0;      // requests answered
    int total = 0;
    int failed = 0;    // requests that failed so far, skipped ones included
};

// libsmi never runs in the calling process: each compile runs it in worker
// processes (qlmib-smi-worker), several at a time, each with a fresh libsmi
// state, a time limit per module and a memory limit. A crash, a hang or
// runaway memory costs only the module being read (see SkippedModule).
//
// Thread affinity: compile() runs entirely on the calling thread and starts
// no thread; Progress is raised on that thread, from compile()'s own wait
// loop, so a handler may run the host's pending window events (a progress
// dialog's processEvents) and set `cancel`. A cancelled compile stops its
// workers and throws Error(ERR_CANCELLED). A handler must not start another
// compile on the same MibCompiler.
class MibCompiler {
public:
    explicit MibCompiler(CompileOptions options = {});

    // Each request is a MIB text file (when such a file exists) or a module
    // name looked up on the path. Bad input never throws: it fails its result.
    // Throws Error(ERR_FILE) when the worker cannot be started.
    CompileReport compile(const std::vector<std::string>& requests);

    Event<const CompileProgress&, bool& /*cancel*/> Progress;

private:
    CompileOptions options_;
};

}  // namespace qlmib::compiler
