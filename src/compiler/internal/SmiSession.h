#pragma once
// The one owner of libsmi's process-global state.

#include <string>
#include <set>
#include <tuple>
#include <vector>

#include <qlmib/compiler/MibCompiler.h>

namespace qlmib::compiler {

// Initialises libsmi with a module path and releases all it loaded when
// destroyed. libsmi is neither re-entrant nor thread-safe: at most one session
// exists in the process at a time (a second one throws Error(ERR_INVALID_CALL)),
// and all libsmi calls happen on the thread that created it, while it lives.
class SmiSession {
public:
    // `path` is a ":"-separated list of folders; libsmi's configured path
    // follows it when appendDefaultPath is set.
    SmiSession(const std::string& path, bool appendDefaultPath);
    SmiSession(const SmiSession&) = delete;
    SmiSession& operator=(const SmiSession&) = delete;
    ~SmiSession();

    // Loads a module by name, or a file by a path holding "/" or ".";
    // returns the name of the module loaded, "" when none was.
    std::string load(const std::string& moduleOrPath);

    // libsmi's reports of severity 3 or worse so far, each once.
    const std::vector<Diagnostic>& diagnostics() const { return diagnostics_; }

private:
    static void onError(char* path, int line, int severity, char* message, char* tag);

    std::vector<Diagnostic> diagnostics_;
    std::set<std::tuple<std::string, int, std::string>> seen_;
};

}  // namespace qlmib::compiler
