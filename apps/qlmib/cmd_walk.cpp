#include <iostream>
#include <memory>

#include <qlmib/snmp/MIBBrowser.h>

#include "CommandLine.h"
#include "ExportOption.h"
#include "LiveCommand.h"

namespace qlmib::cli {
namespace {

struct WalkOptions : AgentOptions {
    std::string oid = "1.3.6.1.2.1";
    std::string cols = "1,10";
    ExportOption output;
};

}  // namespace

const CommandRegistrar registrar("walk", [](CLI::App& app, Action& selected) {
    auto options = std::make_shared<WalkOptions>();
    const char* description = "Walk a subtree of an agent and print one line per instance";
    auto* cmd = addCommand(app, "walk", description, selected, [options] {
        const std::string root = numericOID(options->oid);
        requireBulkSize(*options);
        auto& host = LiveHost::ForProcess();
        auto& browser = host.make<MIBBrowser>();
        browser.setCols(options->cols);
        host.configure(browser, *options);
        host.run(browser, [&] { browser.GetOID(root); });
        if (options->output.requested())
            options->output.table(host.toolkit(), browser.getTableObject(), options->agent + " " + root);
        else
            writeGrid(std::cout, browser.getTableObject());
        return host.reportFailure(*options);
    });
    addAgentOptions(*cmd, *options);
    addExportOption(*cmd, options->output, true);
    cmd->add_option("oid", options->oid, "Root of the walk: OID, NAME or MODULE:NAME (default 1.3.6.1.2.1)");
    cmd->add_option("--cols", options->cols,
                    "Fields to print, comma-separated: 0 OID, 1 name, 2 full name, 3 module, 4 index, 5 access, "
                    "6 status, 7 type, 8 raw type, 9 raw value, 10 value, 11 description (default 1,10)");
});

}  // namespace qlmib::cli
