#pragma once
// Builds a new MIB database from MIB text: compiles the modules, registers the
// types they define in the type catalogue, and imports them in dependency
// order (imports before importers) under the roots ccitt, iso and
// joint-iso-ccitt (module "ASN.1"). The new file is written beside the target
// and moved into place only when it is complete. Same thread affinity as
// MibCompiler.

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

    // After each module's import, for progress reports.
    Event<const ModuleImport&> ModuleImported;

private:
    BuildOptions options_;
};

}  // namespace qlmib::compiler
