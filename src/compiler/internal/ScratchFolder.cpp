#include "internal/ScratchFolder.h"

#include <stdlib.h>

#include <qlmib/common/Error.h>

namespace qlmib::compiler {
namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        throw Error(ERR_FILE, "Cannot create a scratch folder in " + fs::temp_directory_path().string());
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

}  // namespace qlmib::compiler
