#include "internal/ModuleIndex.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include <qlmib/common/Error.h>

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

void ModuleIndex::add(const fs::path& file, ScannedModule module) {
    auto name = module.name;
    modules_.try_emplace(std::move(name), Entry{file, std::move(module)});
}

std::vector<std::string> ModuleIndex::addFile(const fs::path& file) {
    std::vector<std::string> names;
    const auto absolute = fs::absolute(file).lexically_normal();
    for (auto& module : scanFile(absolute)) {
        names.push_back(module.name);
        add(absolute, std::move(module));
    }
    return names;
}

std::vector<std::pair<fs::path, std::vector<ScannedModule>>> ModuleIndex::scanFolder(const fs::path& folder) const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        files.push_back(fs::absolute(it->path()).lexically_normal());
    }
    std::sort(files.begin(), files.end());
    std::vector<std::pair<fs::path, std::vector<ScannedModule>>> scanned;
    for (auto& file : files) scanned.emplace_back(file, scanFile(file));
    return scanned;
}

void ModuleIndex::addFolder(const fs::path& folder) {
    auto scanned = scanFolder(folder);
    const auto namedAfter = [](const fs::path& file, const ScannedModule& module) {
        return file.stem() == module.name || file.filename() == module.name;
    };
    for (auto& [file, modules] : scanned) {
        for (auto& module : modules) {
            if (namedAfter(file, module)) add(file, module);
        }
    }
    for (auto& [file, modules] : scanned) {
        for (auto& module : modules) add(file, std::move(module));
    }
}

fs::path ModuleIndex::fileOf(const std::string& module) const {
    const auto it = modules_.find(module);
    return it == modules_.end() ? fs::path() : it->second.file;
}

const ScannedModule* ModuleIndex::scanned(const std::string& module) const {
    const auto it = modules_.find(module);
    return it == modules_.end() ? nullptr : &it->second.module;
}

void ModuleIndex::linkInto(const fs::path& folder) const {
    for (const auto& [name, entry] : modules_) {
        std::error_code ec;
        fs::create_symlink(entry.file, folder / name, ec);
        if (ec) throw Error(ERR_FILE, "Could not link " + (folder / name).string() + ": " + ec.message());
    }
}

}  // namespace qlmib::compiler
