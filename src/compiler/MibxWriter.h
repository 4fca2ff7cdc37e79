#pragma once
// Writes a compiled module as a MIB-X document. Objects and named numbers
// whose names cannot be element names are left out (the compiler has
// reported them already), so a document is never written broken.

#include <ctime>
#include <filesystem>
#include <string>

#include <qlmib/compiler/CompiledModule.h>

namespace qlmib::compiler {

// The document as UTF-8 text; `compiled` becomes COMPILED (as UTC).
std::string MibxText(const CompiledModule& module, std::time_t compiled);

// Writes folder/NAME.mibx and returns its path; throws Error(ERR_FILE) when
// the file cannot be written.
std::filesystem::path WriteMibxFile(const CompiledModule& module, const std::filesystem::path& folder,
                                    std::time_t compiled);

// "YYYY-MM-DD HH:MM:SS" of a moment, in UTC.
std::string DateTimeText(std::time_t moment);

// Whether a name can stand as an XML element name in a MIB-X file: an ASCII
// XML name without a colon that does not begin with the reserved "xml".
bool IsMibxElementName(const std::string& name);

}  // namespace qlmib::compiler
