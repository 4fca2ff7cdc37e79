#include "internal/SmiSession.h"

#include <atomic>
#include <cstdlib>

#include <qlmib/common/Error.h>

#include "internal/Smi.h"

namespace qlmib::compiler {
namespace {

// libsmi's error handler takes no context pointer; the single live session
// is where its reports go.
std::atomic<SmiSession*> live{nullptr};

// Reports at this level and below (lower is worse) reach the handler.
constexpr int kReportedSeverity = 3;

}  // namespace

SmiSession::SmiSession(const std::string& path, bool appendDefaultPath) {
    SmiSession* none = nullptr;
    if (!live.compare_exchange_strong(none, this)) {
        throw Error(ERR_INVALID_CALL, "Another MIB compile is running; libsmi runs one at a time");
    }
    smiInit("qlmib");
    std::string fullPath = path;
    if (appendDefaultPath) {
        if (char* configured = smiGetPath()) {
            if (*configured) fullPath += ":" + std::string(configured);
            std::free(configured);
        }
    }
    smiSetPath(fullPath.c_str());
    // Recursive: errors in imported modules are reported too, whichever
    // request happened to load them first.
    smiSetFlags(smiGetFlags() | SMI_FLAG_ERRORS | SMI_FLAG_RECURSIVE);
    smiSetErrorLevel(kReportedSeverity);
    smiSetErrorHandler(&SmiSession::onError);
}

SmiSession::~SmiSession() {
    smiExit();
    live.store(nullptr);
}

std::string SmiSession::load(const std::string& moduleOrPath) {
    const char* name = smiLoadModule(moduleOrPath.c_str());
    return name ? name : "";
}

void SmiSession::onError(char* path, int line, int severity, char* message, char*) {
    SmiSession* session = live.load();
    if (!session || severity > kReportedSeverity) return;
    Diagnostic d{path ? path : "", line, severity, message ? message : ""};
    if (session->seen_.emplace(d.file, d.line, d.message).second) session->diagnostics_.push_back(std::move(d));
}

}  // namespace qlmib::compiler
