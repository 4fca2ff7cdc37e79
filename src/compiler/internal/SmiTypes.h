#pragma once
// How libsmi's types read in a MIB-X file and in the type catalogue.

#include <string>
#include <vector>

#include <qlmib/compiler/CompiledModule.h>

#include "internal/Smi.h"

namespace qlmib::compiler {

// The SYNTAX text of a scalar or column: the nearest named type, base types
// spelt as MIB-X spells them; "" when libsmi could not resolve the type.
std::string SyntaxName(SmiType* type, SmiLanguage language);

// The named numbers of a syntax, from the nearest type in its chain that has any.
std::vector<NamedNumber> NamedNumbers(SmiType* type);

// A type the module defines, with its base type and BER tag.
TextualConvention TypeEntry(SmiType* type);

}  // namespace qlmib::compiler
