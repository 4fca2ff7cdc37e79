#pragma once
// Which file defines which module, read from the files themselves, so that a
// module is found whatever its file is called.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "internal/MibScanner.h"

namespace qlmib::compiler {

class ModuleIndex {
public:
    // The modules a file defines; the file's modules take precedence over
    // those of files added later. Returns the names, in file order.
    std::vector<std::string> addFile(const std::filesystem::path& file);
    // Every regular file directly in the folder. Within a folder a file named
    // after its module wins over other files that define the same module.
    void addFolder(const std::filesystem::path& folder);

    // The file defining `module`, empty when none is known.
    std::filesystem::path fileOf(const std::string& module) const;
    // Every module known, with its file.
    std::vector<std::pair<std::string, std::filesystem::path>> files() const;
    // What the scan read of `module`, null when it is unknown.
    const ScannedModule* scanned(const std::string& module) const;

private:
    struct Entry {
        std::filesystem::path file;
        ScannedModule module;
    };
    // Each file is read once, however often it is named or its folder searched.
    const std::vector<ScannedModule>& scan(const std::filesystem::path& file);
    void add(const std::filesystem::path& file, const ScannedModule& module);

    std::map<std::string, Entry> modules_;
    std::map<std::filesystem::path, std::vector<ScannedModule>> scans_;
};

}  // namespace qlmib::compiler
