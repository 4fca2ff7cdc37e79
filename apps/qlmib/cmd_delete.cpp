#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <qlmib/mibdata/TextNumbers.h>
#include <qlmib/mibx/ManageMIBs.h>

#include "CommandLine.h"
#include "HeadlessHost.h"

namespace qlmib::cli {
namespace {

// The module's name as the list shows it, or "" when it is not listed.
std::string listedName(ManageMIBs& modules, const std::string& module) {
    const auto& list = modules.getTableObject();
    for (std::int32_t row = list.getFixedRows(); row < list.getRows(); ++row)
        if (EqualsNoCase(list.getTextMatrix(row, 0), module)) return list.getTextMatrix(row, 0);
    return {};
}

int run(const std::vector<std::string>& names) {
    HeadlessHost host;
    ManageMIBs modules(host.toolkit);
    modules.Refresh();
    bool missing = false;
    for (const auto& module : names) {
        const auto listed = listedName(modules, module);
        const auto before = modules.getOIDCount();
        modules.DeleteMIB(module);
        const auto removed = before - modules.getOIDCount();
        // Objects without a module row are deleted too, though no list shows them.
        if (listed.empty() && removed == 0) {
            std::cerr << "qlmib: " << module << " is not in the MIB database\n";
            missing = true;
            continue;
        }
        const auto& name = listed.empty() ? module : listed;
        writeText(std::cout, "Deleted " + name + " (" + std::to_string(removed) + " OIDs)\n");
        modules.Refresh();
    }
    return missing ? 1 : 0;
}

}  // namespace

const CommandRegistrar registrar("delete", [](CLI::App& app, Action& selected) {
    auto names = std::make_shared<std::vector<std::string>>();
    auto* cmd = addCommand(app, "delete", "Delete MIB modules and their objects from the database", selected,
                           [names] { return run(*names); });
    cmd->add_option("modules", *names, "Module names; their enumerations stay")->required();
});

}  // namespace qlmib::cli
