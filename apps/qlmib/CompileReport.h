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

// Unresolved imports grouped by missing module, skipped names, libsmi's errors.
void printCompileProblems(const compiler::CompileReport& report);

}  // namespace qlmib::cli
