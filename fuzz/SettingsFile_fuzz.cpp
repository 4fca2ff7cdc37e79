// The per-user settings file as it may be found on disk. A file that parses
// takes a new value without losing its others; one that does not is refused
// with qlmib::Error and left as it was.

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include <qlmib/common/Error.h>

#include "FuzzHome.h"
#include "internal/SettingsFile.h"

namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::MakeHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const auto path = fuzz::HomeFolder() / "settings.ini";
    fuzz::WriteFile(path, data, size);
    const qlmib::snmp::internal::SettingsFile file(path);
    qlmib::snmp::internal::SettingsFile::Snapshot before;
    try {
        before = file.load();
    } catch (const qlmib::Error&) {
        const std::string original(reinterpret_cast<const char*>(data), size);
        try {
            file.write("Fuzz", "Key", "value");
        } catch (const qlmib::Error&) {
        }
        fuzz::Check(contents(path) == original, "a file that does not parse is never rewritten");
        return 0;
    }
    const auto kept = before.find("SNMP", "Timeout");
    file.write("Fuzz", "Key", "new=value\n%");
    const auto after = file.load();
    fuzz::Check(after.find("Fuzz", "Key") == std::optional<std::string>("new=value\n%"), "a written value reads back");
    fuzz::Check(after.find("SNMP", "Timeout") == kept, "other values stay");
    return 0;
}
