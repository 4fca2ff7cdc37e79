#include <iostream>
#include <memory>
#include <string>

#include <qlmib/mibdata/TextNumbers.h>
#include <qlmib/mibx/ManageMIBs.h>

#include "CommandLine.h"
#include "HeadlessHost.h"

namespace qlmib::cli {
namespace {

struct ModulesOptions {
    bool byDate = false;
    std::string details;
};

// The details pane as the control shows it when the user picks the module's row.
int printDetails(ManageMIBs& modules, const std::string& module) {
    const auto& list = modules.getTableObject();
    for (std::int32_t row = list.getFixedRows(); row < list.getRows(); ++row) {
        if (!EqualsNoCase(list.getTextMatrix(row, 0), module)) continue;
        modules.setRow(row);
        writeText(std::cout, modules.MIBDetails.getText());
        return 0;
    }
    std::cerr << "qlmib: " << module << " is not in the MIB database\n";
    return 1;
}

int run(const ModulesOptions& options) {
    HeadlessHost host;
    ManageMIBs modules(host.toolkit);
    modules.Refresh();
    if (!options.details.empty()) return printDetails(modules, options.details);
    auto& list = modules.getTableObject();
    // As a click on the date column's header sorts it: the first click puts the oldest first.
    if (options.byDate) list.UserSortByHeader(1);
    for (std::int32_t row = list.getFixedRows(); row < list.getRows(); ++row) {
        writeText(std::cout, list.getTextMatrix(row, 0) + '\t' + list.getTextMatrix(row, 1));
        std::cout << '\n';
    }
    std::cout << "MIBCount " << modules.getMIBCount() << ", OIDCount " << modules.getOIDCount() << '\n';
    return 0;
}

}  // namespace

const CommandRegistrar registrar("modules", [](CLI::App& app, Action& selected) {
    auto options = std::make_shared<ModulesOptions>();
    auto* cmd = addCommand(app, "modules",
                           "List the MIB modules in the database (name, TAB, import time) and count the objects",
                           selected, [options] { return run(*options); });
    auto* byDate = cmd->add_flag("--by-date", options->byDate, "Oldest import first instead of by name");
    cmd->add_option("--details", options->details, "Print the details pane of this module instead of the list")
        ->excludes(byDate);
});

}  // namespace qlmib::cli
