#include "DatabaseBuilder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include <qlmib/common/Error.h>
#include <qlmib/compiler/MibxWriter.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibx/ImportMIBX.h>

#include "internal/ScratchFolder.h"

namespace qlmib::compiler {
namespace fs = std::filesystem;

namespace {

// Removes a file when the build is abandoned.
class RemoveOnExit {
public:
    explicit RemoveOnExit(fs::path path) : path_(std::move(path)) {}
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;
    ~RemoveOnExit() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove(path_, ignored);
    }
    void keep() { path_.clear(); }

private:
    fs::path path_;
};

// The first module to define a type name wins, as in the catalogue itself.
std::int32_t addTextualConventions(Database& db, const std::vector<const CompiledModule*>& modules) {
    std::int32_t added = 0;
    Transaction tx(db);
    for (const auto* module : modules) {
        for (const auto& tc : module->textualConventions) {
            auto known = db.query(Query::TypeByName);
            known.bind(1, tc.name);
            if (known.step()) continue;
            db.query(Query::TypeInsert).bind(1, tc.name).bind(2, tc.baseType).bind(3, tc.code).run();
            ++added;
        }
    }
    tx.commit();
    return added;
}

// The three roots of the OID tree belong to ASN.1, not to any MIB module, so
// no module brings them; without them long names would start with a number.
void addTreeRoots(Database& db) {
    struct Root {
        const char* oid;
        const char* name;
    };
    static constexpr Root kRoots[] = {{"0", "ccitt"}, {"1", "iso"}, {"2", "joint-iso-ccitt"}};
    for (const auto& root : kRoots) {
        auto insert = db.query(Query::TreeInsert);
        insert.bind(TW_OID, root.oid).bind(TW_MIB, "ASN.1").bind(TW_PARENTOID, "").bind(TW_NAME, root.name);
        insert.bind(TW_TYPEI, 0).bind(TW_TYPES, "").bind(TW_DESCRIPTION, "").bind(TW_STATUS, 0).bind(TW_ACCESS, 0);
        insert.bind(TW_ENUM, "").bind(TW_PARSE, "").bind(TW_UNITS, "");
        insert.bind(TW_INSERT_INDEX, std::atoi(root.oid)).bind(TW_INSERT_PRIMARY, kPrimaryTrue).run();
    }
}

void syncFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (!synced) throw Error(ERR_FILE, "Cannot write " + path.string() + " to disk");
}

}  // namespace

DatabaseBuilder::DatabaseBuilder(BuildOptions options) : options_(std::move(options)) {}

BuildReport DatabaseBuilder::build(const std::vector<std::string>& requests) {
    const fs::path& output = options_.output;
    if (fs::exists(output) && !options_.force)
        throw Error(ERR_FILE, output.string() + " exists already; it is replaced only when forced");

    BuildReport report;
    {
        MibCompiler compiler(options_.compile);
        auto forward = compiler.Progress.subscribe([this](const CompileProgress& p, bool& cancel) {
            Progress(BuildProgress{BuildPhase::compiling, p.done, p.total, p.failed}, cancel);
        });
        report.compile = compiler.compile(requests);
    }
    const auto modules = report.compile.dependencyOrder();
    if (modules.empty()) throw Error(ERR_FILE, "No module compiled; " + output.string() + " was not written");
    const int failed = static_cast<int>(report.compile.modules.size() - modules.size());

    const ScratchFolder scratch("qlmib-build");
    fs::path building = output;
    building += ".building-" + std::to_string(getpid());
    fs::remove(building);
    RemoveOnExit removeBuilding(building);
    Database::create(building.string());
    {
        DatabaseFileOverride use(building.string());
        // Nobody else sees this file until it is complete and synced (below),
        // so each module's commit need not wait for the disk.
        SharedDatabase().exec("PRAGMA synchronous=OFF");
        addTreeRoots(SharedDatabase());
        report.typesAdded = addTextualConventions(SharedDatabase(), modules);

        ImportMIBX importer;
        ModuleImport* current = nullptr;
        auto onError = importer.Error.subscribe([&](const std::string& text) {
            if (current) current->errors.push_back(text);
        });
        const std::time_t now = std::time(nullptr);
        report.imports.reserve(modules.size());
        // One transaction for the whole import: the file is new, and a
        // cancelled or failed build throws it away anyway.
        Transaction all(SharedDatabase());
        for (const auto* module : modules) {
            report.imports.push_back({module->name, 0, {}});
            current = &report.imports.back();
            const auto before = importer.getOIDCount();
            const auto file = WriteMibxFile(*module, scratch.path(), now);
            importer.ImportMIBXFile(file.string());
            fs::remove(file);
            current->objects = importer.getOIDCount() - before;
            ModuleImported(*current);
            bool cancel = false;
            Progress(BuildProgress{BuildPhase::importing, static_cast<int>(report.imports.size()),
                                   static_cast<int>(modules.size()), failed},
                     cancel);
            if (cancel) throw Error(ERR_CANCELLED, "The build was cancelled; " + output.string() + " is unchanged");
        }
        all.commit();
        report.oidCount = importer.getOIDCount();
        report.duplicates = importer.getDuplicates();
        report.errors = importer.getErrors();
        report.warnings = importer.getWarnings();
    }
    syncFile(building);
    fs::rename(building, output);
    removeBuilding.keep();
    return report;
}

}  // namespace qlmib::compiler
