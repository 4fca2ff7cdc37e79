#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibx/ImportMIBX.h>

#include "CommandLine.h"

namespace qlmib::cli {
namespace {

// A count of the objects stored, redrawn in place on a terminal at most ten
// times a second. Anything else written to the terminal clears it first.
class Progress {
public:
    explicit Progress(bool enabled) : enabled_(enabled) {}

    // A file that imports within the first interval shows no count at all.
    void start(const std::string& file) {
        file_ = file;
        count_ = 0;
        drawn_ = std::chrono::steady_clock::now();
    }

    void count() {
        ++count_;
        if (!enabled_) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - drawn_ < std::chrono::milliseconds(100)) return;
        drawn_ = now;
        std::cerr << "\r\033[K" << file_ << ": " << count_ << " objects" << std::flush;
        shown_ = true;
    }

    void clear() {
        if (!shown_) return;
        std::cerr << "\r\033[K" << std::flush;
        shown_ = false;
    }

private:
    bool enabled_;
    bool shown_ = false;
    std::string file_;
    long count_ = 0;
    std::chrono::steady_clock::time_point drawn_;
};

struct Args {
    std::vector<std::string> files;
    bool verbose = false;
};

int run(const Args& args) {
    const std::string path = DatabasePath();
    if (!std::filesystem::exists(path)) {
        Database::create(path);
        std::cout << "Created a new MIB database " << path << '\n';
    }
    ImportMIBX importer;
    Progress progress(!args.verbose && isatty(STDERR_FILENO));
    const auto say = [&](std::ostream& out, const std::string& text) {
        progress.clear();
        writeText(out, text);
        out << '\n';
    };
    const auto onLog = importer.Log.subscribe([&](const std::string& m) { say(std::cout, m); });
    const auto onError = importer.Error.subscribe([&](const std::string& m) { say(std::cerr, m); });
    const auto onOID = importer.OID.subscribe([&](const std::string& name, const std::string& oid, bool duplicate) {
        if (args.verbose) say(std::cout, "    " + name + " " + oid + (duplicate ? " (duplicate)" : ""));
        progress.count();
    });

    bool failed = false;
    try {
        for (const auto& file : args.files) {
            progress.start(file);
            importer.ImportMIBXFile(file);
        }
    } catch (const Error& e) {
        // The database failed: what was stored stays, the rest is not tried.
        say(std::cerr, std::string("qlmib: ") + e.what());
        failed = true;
    }
    progress.clear();
    std::cout << "OIDCount " << importer.getOIDCount() << ", Duplicates " << importer.getDuplicates()
              << ", Errors " << importer.getErrors() << ", Warnings " << importer.getWarnings() << '\n';
    return failed || importer.getErrors() > 0 ? 1 : 0;
}

}  // namespace

const CommandRegistrar registrar("import", [](CLI::App& app, Action& selected) {
    auto args = std::make_shared<Args>();
    auto* cmd = addCommand(app, "import", "Import MIB-X files into the MIB database", selected,
                           [args] { return run(*args); });
    cmd->add_option("files", args->files, "MIB-X files, imported in the order given")->required();
    cmd->add_flag("-v,--verbose", args->verbose, "Print every object stored");
});

}  // namespace qlmib::cli
