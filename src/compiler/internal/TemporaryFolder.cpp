#include "internal/TemporaryFolder.h"

#include <cstdlib>
#include <string>

#include <qlmib/common/Error.h>

namespace qlmib::compiler {

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qlmib-smi-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw Error(ERR_FILE, "Could not create a temporary folder in " + pattern);
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace qlmib::compiler
