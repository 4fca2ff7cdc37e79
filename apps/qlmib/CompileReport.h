#pragma once
// What `compile` and `build-db` share: the search path options and the
// report of the problems met while compiling.

#include <filesystem>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include <qlmib/compiler/MibCompiler.h>

namespace qlmib::cli {

// -p,--path FOLDER, repeatable; each takes one argument so that the files after it stay files.
void addSearchPathOption(CLI::App& command, std::vector<std::string>& arguments);
// -p takes a folder or a ":"-separated list of them, as SMIPATH does; each must exist.
std::vector<std::filesystem::path> searchFolders(const std::vector<std::string>& arguments);

// The problems grouped so that a person can act on them: missing modules with
// their importers, modules libsmi could not read (crashes, time-outs), each
// module's errors, and a count of warnings; `verbose` adds every libsmi message.
void printCompileProblems(const compiler::CompileReport& report, bool verbose);
// One line on standard error, redrawn in place, when standard error is a
// terminal; nothing otherwise.
class ProgressLine {
public:
    ProgressLine();
    void show(const std::string& text);
    // Removes the line so that other output starts on a clean one.
    void clear();

private:
    bool terminal_;
    std::string shown_;
};

// -v,--verbose: list every libsmi message.
void addVerboseOption(CLI::App& command, bool& verbose);

}  // namespace qlmib::cli
