#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>

#include <qlmib/common/Error.h>
#include <qlmib/compiler/MibCompiler.h>
#include <qlmib/compiler/MibxWriter.h>

#include "CommandLine.h"
#include "CompileReport.h"

namespace qlmib::cli {
namespace {

namespace fs = std::filesystem;
using namespace qlmib::compiler;

struct CompileArguments {
    std::vector<std::string> searchPath;
    std::string outputFolder = ".";
    bool verbose = false;
    std::vector<std::string> requests;
};

// One line per request: written with its object count, or failed and why.
bool writeModules(const CompileReport& report, const fs::path& folder, std::time_t now) {
    bool allWritten = true;
    for (const auto& r : report.modules) {
        if (!r.ok) {
            std::cout << r.request << ": failed: " << r.error << '\n';
            allWritten = false;
            continue;
        }
        try {
            const auto path = WriteMibxFile(r.module, folder, now);
            std::cout << r.module.name << ": written " << path.string() << " (" << r.module.objects.size()
                      << " objects)\n";
        } catch (const Error& e) {
            std::cout << r.module.name << ": failed: " << e.what() << '\n';
            allWritten = false;
        }
    }
    return allWritten;
}

int runCompile(const CompileArguments& args) {
    const fs::path folder = args.outputFolder;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw UsageError("cannot create " + folder.string() + ": " + ec.message());

    CompileOptions options;
    options.searchPath = searchFolders(args.searchPath);
    MibCompiler compiler(options);
    ProgressLine line;
    auto progress = compiler.Progress.subscribe([&](const CompileProgress& p, bool&) {
        line.show("compiling " + std::to_string(p.done) + "/" + std::to_string(p.total) + " modules, " +
                  std::to_string(p.failed) + " failed");
    });
    const auto report = compiler.compile(args.requests);
    line.clear();
    const bool written = writeModules(report, folder, std::time(nullptr));
    printCompileProblems(report, args.verbose);
    return written ? 0 : 1;
}

}  // namespace

const CommandRegistrar registrar("compile", [](CLI::App& app, Action& selected) {
    auto args = std::make_shared<CompileArguments>();
    auto* cmd = addCommand(app, "compile", "Compile MIB text modules into MIB-X files", selected,
                           [args] { return runCompile(*args); });
    addSearchPathOption(*cmd, args->searchPath);
    addVerboseOption(*cmd, args->verbose);
    cmd->add_option("-o,--output", args->outputFolder, "Folder for the MODULE.mibx files (default: .)");
    cmd->add_option("modules", args->requests, "MIB text FILE or MODULE name")->required();
});

}  // namespace qlmib::cli
