#include "Globals.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <system_error>
#include <utility>

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"

namespace qlmib {
namespace {

struct ModuleState {
    std::unique_ptr<Database> db;
    int opens = 0;
    std::string overridePath;
    // Hooks belong to the toolkit of this thread, which shows their windows.
    MessageHook messageHook;
    DetailsHook detailsHook;
};

ModuleState& state() {
    thread_local ModuleState s;
    return s;
}

// The host's help file is one for the process.
std::mutex helpFileMutex;
std::string helpFile;

}  // namespace

std::string InstallFolder() {
    if (const char* home = std::getenv("QLMIB_HOME"); home && *home) return home;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

std::string DatabasePath() {
    const auto& s = state();
    return s.overridePath.empty() ? InstallFolder() + "/MIBs.cfg" : s.overridePath;
}

DatabaseFileOverride::DatabaseFileOverride(std::string path) : previous_(state().overridePath) {
    CloseSharedDatabase();
    state().overridePath = std::move(path);
}

DatabaseFileOverride::~DatabaseFileOverride() {
    CloseSharedDatabase();
    state().overridePath = previous_;
}

std::string HelpFilePath() { return InstallFolder() + "/Help/Quellon.chm"; }

namespace {

void setHostHelpFile() {
    auto path = HelpFilePath();
    std::lock_guard lock(helpFileMutex);
    helpFile = std::move(path);
}

// The library's start-up: a host has its help file before it creates anything.
[[maybe_unused]] const bool helpFileSetAtStartUp = (setHostHelpFile(), true);

}  // namespace

std::string HostHelpFile() {
    std::lock_guard lock(helpFileMutex);
    return helpFile;
}

void OpenDatabase() {
    auto& s = state();
    if (s.db) return;
    // Set again with each connection, not with every object: finding the
    // install folder costs a system call.
    setHostHelpFile();
    const std::string path = DatabasePath();
    ++s.opens;
    try {
        s.db = Database::open(path);
    } catch (const Error& e) {
        s.db = Database::unopened(path, e.what());
        ShowMessage("Cannot open MIB Database (" + path + ")\r\r" + e.what());
    }
}

Database& SharedDatabase() {
    auto& s = state();
    if (!s.db) OpenDatabase();
    return *s.db;
}

void CloseSharedDatabase() { state().db.reset(); }

int DatabaseOpenCount() { return state().opens; }

MessageHook SetMessageHook(MessageHook hook) { return std::exchange(state().messageHook, std::move(hook)); }

void ShowMessage(const std::string& text) {
    // A copy: the hook may replace itself while it runs.
    if (const auto hook = state().messageHook) {
        hook(text);
        return;
    }
    std::string line = text;
    for (auto& c : line)
        if (c == '\r') c = '\n';
    std::cerr << line << '\n';
}

DetailsHook SetDetailsHook(DetailsHook hook) { return std::exchange(state().detailsHook, std::move(hook)); }

void ShowDetailsWindow(const std::string& oid) {
    if (const auto hook = state().detailsHook) hook(oid);
}

}  // namespace qlmib
