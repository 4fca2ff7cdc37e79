#pragma once
// A new folder in the temporary directory, removed with all it holds when
// the owner goes, unless kept.

#include <filesystem>
#include <string>

namespace qlmib::compiler {

class ScratchFolder {
public:
    // Throws Error(ERR_FILE) when the folder cannot be made.
    explicit ScratchFolder(const std::string& prefix);
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace qlmib::compiler
