#pragma once
// Builds a new MIB database from MIB text: compiles the modules, registers the
// types they define in the type catalogue, and imports them in dependency
// order (imports before importers) under the roots ccitt, iso and
// joint-iso-ccitt (module "ASN.1"). The new file is written beside the target
// and moved into place only when it is complete, so a failed, cancelled or
// killed build leaves the previous file byte for byte as it was. Same thread
// affinity and progress contract as MibCompiler: Progress is raised on the
// calling thread, at least every tenth of a second while modules compile and
// after each module imported; setting `cancel` ends the build with
// Error(ERR_CANCELLED).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <qlmib/common/Event.h>
#include <qlmib/compiler/MibCompiler.h>

namespace qlmib::compiler {

struct BuildOptions {
    std::filesystem::path output;  // the database file to write
    bool force = false;            // whether an existing output may be replaced
    CompileOptions compile;
};

struct ModuleImport {
    std::string module;
    std::int32_t objects = 0;          // rows stored for it
    std::vector<std::string> errors;   // the importer's Error texts for it
};

enum class BuildPhase { compiling, importing };

struct BuildProgress {
    BuildPhase phase = BuildPhase::compiling;
    int done = 0;      // modules compiled, or imported
    int total = 0;
    int failed = 0;    // modules that failed to compile so far
};

struct BuildReport {
    CompileReport compile;
    std::vector<ModuleImport> imports;  // in the order imported
    std::int32_t typesAdded = 0;        // textual conventions added to the built-in catalogue
    std::int32_t oidCount = 0, duplicates = 0, errors = 0, warnings = 0;
};

class DatabaseBuilder {
public:
    explicit DatabaseBuilder(BuildOptions options);

    // Throws Error when the output exists and may not be replaced, when no
    // module compiles, or when the database cannot be written; the output is
    // then left as it was.
    BuildReport build(const std::vector<std::string>& requests);

    // After each module's import.
    Event<const ModuleImport&> ModuleImported;
    Event<const BuildProgress&, bool& /*cancel*/> Progress;

private:
    BuildOptions options_;
};

}  // namespace qlmib::compiler
