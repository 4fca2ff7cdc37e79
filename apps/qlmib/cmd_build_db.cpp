#include <unistd.h>

#include <iostream>
#include <memory>

#include <qlmib/compiler/DatabaseBuilder.h>
#include <qlmib/mibdata/Globals.h>

#include "CommandLine.h"
#include "CompileReport.h"

namespace qlmib::cli {
namespace {

struct BuildArguments {
    std::string output;
    bool force = false;
    bool verbose = false;
    std::vector<std::string> searchPath;
    std::vector<std::string> requests;
};

int runBuild(const BuildArguments& args) {
    compiler::BuildOptions options;
    options.output = args.output.empty() ? DatabasePath() : args.output;
    options.force = args.force;
    options.compile.searchPath = searchFolders(args.searchPath);

    compiler::DatabaseBuilder builder(options);
    ProgressLine line;
    auto progress = builder.Progress.subscribe([&](const compiler::BuildProgress& p, bool&) {
        line.show((p.phase == compiler::BuildPhase::compiling ? "compiling " : "importing ") + std::to_string(p.done) +
                  "/" + std::to_string(p.total) + " modules, " + std::to_string(p.failed) + " failed");
    });
    auto imported = builder.ModuleImported.subscribe([&](const compiler::ModuleImport& m) {
        if (!args.verbose && m.errors.empty()) return;
        line.clear();
        std::cout << m.module << ": imported " << m.objects << " objects\n";
        for (const auto& error : m.errors) {
            std::cout << "  ";
            writeText(std::cout, error);
            std::cout << '\n';
        }
    });
    const auto report = builder.build(args.requests);
    line.clear();
    for (const auto& r : report.compile.modules)
        if (!r.ok) std::cout << r.request << ": failed: " << r.error << '\n';
    printCompileProblems(report.compile, args.verbose);
    std::cout << "Types added: " << report.typesAdded << '\n';
    std::cout << "OIDCount " << report.oidCount << ", Duplicates " << report.duplicates << ", Errors "
              << report.errors << ", Warnings " << report.warnings << '\n';
    std::cout << "Wrote " << options.output.string() << '\n';
    return report.compile.allSucceeded() && report.errors == 0 ? 0 : 1;
}

}  // namespace

const CommandRegistrar registrar("build-db", [](CLI::App& app, Action& selected) {
    auto args = std::make_shared<BuildArguments>();
    auto* cmd = addCommand(app, "build-db", "Compile MIB text modules and import them into a new MIB database",
                           selected, [args] { return runBuild(*args); });
    cmd->add_option("-o,--output", args->output, "Database file to write (default: MIBs.cfg in the install folder)");
    cmd->add_flag("--force", args->force, "Replace an existing database file (atomically)");
    addVerboseOption(*cmd, args->verbose);
    addSearchPathOption(*cmd, args->searchPath);
    cmd->add_option("modules", args->requests, "MIB text FILE or MODULE name")->required();
});

}  // namespace qlmib::cli
