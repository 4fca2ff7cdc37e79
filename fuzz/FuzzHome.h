#pragma once
// A temporary install and settings folder for one fuzzing process, removed at
// exit, with an empty MIB database in it.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>

namespace fuzz {

inline std::filesystem::path& HomeFolder() {
    static std::filesystem::path folder;
    return folder;
}

inline void RemoveHome() {
    std::error_code ignored;
    std::filesystem::remove_all(HomeFolder(), ignored);
}

// Sets $QLMIB_HOME and $QLMIB_CONFIG_HOME to a new folder and creates the
// database there; statements run without waiting for the disk.
inline qlmib::Database& MakeHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qlmib-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    HomeFolder() = pattern;
    std::atexit(RemoveHome);
    setenv("QLMIB_HOME", pattern.c_str(), 1);
    setenv("QLMIB_CONFIG_HOME", pattern.c_str(), 1);
    qlmib::Database::create(qlmib::DatabasePath());
    auto& db = qlmib::SharedDatabase();
    db.exec("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY;");
    return db;
}

inline void WriteFile(const std::filesystem::path& path, const std::uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

inline void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace fuzz
