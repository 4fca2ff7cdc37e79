#pragma once
// Turns a module that libsmi has loaded into a CompiledModule.

#include <filesystem>
#include <string>
#include <vector>

#include <qlmib/compiler/MibCompiler.h>

#include "internal/MibScanner.h"
#include "internal/Smi.h"

namespace qlmib::compiler {

struct ReadResult {
    CompiledModule module;
    std::vector<std::string> skipped;  // names that cannot be XML element names, with what they name
    std::vector<UnresolvedObject> unresolved;  // objects left out because their OID is not known
};

// `file` is the module's real file; `scanned` what the scan read of the
// module, or null. Must run inside the SmiSession that loaded the module.
ReadResult ReadModule(SmiModule* module, const std::filesystem::path& file, const ScannedModule* scanned);

}  // namespace qlmib::compiler
