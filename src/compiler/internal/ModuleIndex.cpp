#include "internal/ModuleIndex.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace qlmib::compiler {
namespace fs = std::filesystem;
namespace {

// Larger files are no MIB modules; reading them would only cost time.
constexpr std::uintmax_t kLargestModuleFile = 16u << 20;

std::vector<ScannedModule> scanFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > kLargestModuleFile || ec) return {};
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return ScanModules(text.str());
}

}  // namespace

const std::vector<ScannedModule>& ModuleIndex::scan(const fs::path& file) {
    auto it = scans_.find(file);
    if (it == scans_.end()) it = scans_.emplace(file, scanFile(file)).first;
    return it->second;
}

void ModuleIndex::add(const fs::path& file, const ScannedModule& module) {
    modules_.try_emplace(module.name, Entry{file, module});
}

std::vector<std::string> ModuleIndex::addFile(const fs::path& file) {
    std::vector<std::string> names;
    const auto absolute = fs::absolute(file).lexically_normal();
    for (const auto& module : scan(absolute)) {
        names.push_back(module.name);
        add(absolute, module);
    }
    return names;
}

void ModuleIndex::addFolder(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        files.push_back(fs::absolute(it->path()).lexically_normal());
    }
    std::sort(files.begin(), files.end());
    const auto namedAfter = [](const fs::path& file, const ScannedModule& module) {
        return file.stem() == module.name || file.filename() == module.name;
    };
    for (const auto& file : files) {
        for (const auto& module : scan(file)) {
            if (namedAfter(file, module)) add(file, module);
        }
    }
    for (const auto& file : files) {
        for (const auto& module : scan(file)) add(file, module);
    }
}

fs::path ModuleIndex::fileOf(const std::string& module) const {
    const auto it = modules_.find(module);
    return it == modules_.end() ? fs::path() : it->second.file;
}

std::vector<std::pair<std::string, fs::path>> ModuleIndex::files() const {
    std::vector<std::pair<std::string, fs::path>> all;
    all.reserve(modules_.size());
    for (const auto& [name, entry] : modules_) all.emplace_back(name, entry.file);
    return all;
}

const ScannedModule* ModuleIndex::scanned(const std::string& module) const {
    const auto it = modules_.find(module);
    return it == modules_.end() ? nullptr : &it->second.module;
}

}  // namespace qlmib::compiler
