#pragma once
// A light reading of MIB text, enough to know which modules a file defines
// and what they import before libsmi parses anything, and to recover what
// libsmi drops.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qlmib::compiler {

struct ScannedModule {
    std::string name;
    // Source module and the descriptors taken from it, in IMPORTS order.
    std::vector<std::pair<std::string, std::vector<std::string>>> imports;
};

// Every module that the text defines ("NAME DEFINITIONS ::= BEGIN"), in order.
std::vector<ScannedModule> ScanModules(std::string_view text);

// The descriptor of the definition (NAME OBJECT-TYPE, NAME TRAP-TYPE, ...)
// that holds `line` (from 1); "" when the line is in none.
std::string DefinitionNameAt(std::string_view text, int line);

// The type named by the SYNTAX clause of the definition that starts on
// `line` (from 1), with base types hyphenated; "" when there is none.
std::string SyntaxNameAt(std::string_view text, int line);

}  // namespace qlmib::compiler
