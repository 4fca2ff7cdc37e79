#pragma once
// What the parent asks of a libsmi worker (a job: modules to read in one
// fresh libsmi session) and what the worker answers, module by module.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <qlmib/compiler/MibCompiler.h>

#include "internal/MibScanner.h"

namespace qlmib::compiler {

struct PreloadEntry {
    std::string module;
    std::string file;
};

struct WorkerTarget {
    std::string request;                 // as the caller gave it
    std::string loadTarget;              // module name, or a file path libsmi reads itself
    std::vector<PreloadEntry> preload;   // what it imports, in load order, before it
    std::optional<ScannedModule> scanned;
};

struct WorkerJob {
    std::string path;                    // libsmi's module path, ':'-separated
    bool useDefaultPath = true;
    std::string linksFolder;             // where the path's links to module files live
    std::vector<WorkerTarget> targets;
};

// Sent before each module libsmi is asked to load, so that the parent knows
// whom to blame when the worker dies.
struct LoadingMessage {
    std::string module;
    std::string file;
};

struct TargetMessage {
    ModuleResult result;
    // Modules the target imports from that libsmi could not find, with the names wanted.
    std::vector<std::pair<std::string, std::vector<std::string>>> missing;
    std::vector<Diagnostic> diagnostics;  // reported since the previous target
};

// A request names a file when one is there, else a module.
bool IsFileRequest(const std::string& request);

std::string EncodeJob(const WorkerJob& job);
WorkerJob DecodeJob(const std::string& bytes);

std::string EncodeLoading(const LoadingMessage& message);
std::string EncodeTarget(const TargetMessage& message);

// One decoded message of a worker: exactly one of the two is set.
struct WorkerMessage {
    std::optional<LoadingMessage> loading;
    std::optional<TargetMessage> target;
};
WorkerMessage DecodeWorkerMessage(const std::string& bytes);

}  // namespace qlmib::compiler
