#include <iostream>
#include <memory>

#include <qlmib/snmp/MIBTable.h>

#include "CommandLine.h"
#include "ExportOption.h"
#include "LiveCommand.h"

namespace qlmib::cli {
namespace {

struct TableOptions : AgentOptions {
    std::string table;
    std::string list;
    std::int32_t sortColumn = 0;
    bool pivot = false;
    ExportOption output;
};

}  // namespace

const CommandRegistrar registrar("table", [](CLI::App& app, Action& selected) {
    auto options = std::make_shared<TableOptions>();
    auto* cmd = addCommand(app, "table", "Download a table (or a list of objects) and print one line per index",
                           selected, [options] {
        if (options->table.empty() == options->list.empty())
            throw UsageError("table: give either a TABLE or --list OID,OID,...");
        requireBulkSize(*options);
        auto& host = LiveHost::ForProcess();
        auto& table = host.make<MIBTable>();
        host.configure(table, *options);
        const bool started = host.run(table, [&] {
            if (options->list.empty()) table.GetTable(objectArgument(options->table));
            else table.GetOIDList(options->list);
        });
        if (!started || table.getUnSupported()) {
            writeText(std::cerr, table.Message.getCaption());
            std::cerr << '\n';
            host.reportFailure(*options);
            return 1;
        }
        if (options->sortColumn > 0) table.Sort(options->sortColumn);
        if (options->pivot) table.setOrientation(TABLE_ORIENTATION_PIVOTED);
        if (options->output.requested())
            options->output.table(host.toolkit(), table.getTableObject(), options->agent + " " + options->table);
        else
            writeGrid(std::cout, table.getTableObject());
        return host.reportFailure(*options);
    });
    addAgentOptions(*cmd, *options);
    addExportOption(*cmd, options->output, true);
    cmd->add_option("table", options->table, "Table: NAME, MODULE:NAME or OID");
    cmd->add_option("--list", options->list, "Objects to download instead of a table, comma-separated");
    cmd->add_option("--sort", options->sortColumn, "Sort by this column (1: the first after the index)")
        ->check(CLI::PositiveNumber);
    cmd->add_flag("--pivot", options->pivot, "Print the objects as rows and the indexes as columns");
});

}  // namespace qlmib::cli
