#include <iostream>
#include <memory>

#include <qlmib/snmp/MIBBrowser.h>

#include "CommandLine.h"
#include "LiveCommand.h"

namespace qlmib::cli {
namespace {

struct NextOptions : AgentOptions {
    std::string oid;
    std::int16_t count = 1;
    std::string cols = "1,10";
};

}  // namespace

const CommandRegistrar registrar("next", [](CLI::App& app, Action& selected) {
    auto options = std::make_shared<NextOptions>();
    auto* cmd = addCommand(app, "next", "Print the instance after an OID and COUNT more", selected, [options] {
        const std::string from = numericOID(options->oid);
        auto& host = LiveHost::ForProcess();
        auto& browser = host.make<MIBBrowser>();
        browser.setCols(options->cols);
        host.configure(browser, *options);
        host.run(browser, [&] { browser.GetNextOID(options->count, from); });
        writeGrid(std::cout, browser.getTableObject());
        return host.reportFailure(*options);
    });
    addAgentOptions(*cmd, *options);
    cmd->add_option("oid", options->oid, "OID, NAME or MODULE:NAME to start after")->required();
    cmd->add_option("count", options->count, "How many instances after the first (default 1)")
        ->check(CLI::Range(0, 32767));
    cmd->add_option("--cols", options->cols, "Fields to print, as for walk (default 1,10)");
});

}  // namespace qlmib::cli
