#include <iostream>
#include <memory>

#include <qlmib/mibdata/OID.h>
#include <qlmib/mibdata/TextNumbers.h>
#include <qlmib/snmp/MIBTable.h>

#include "CommandLine.h"
#include "LiveCommand.h"

namespace qlmib::cli {
namespace {

struct SetOptions : AgentOptions {
    std::string oid, value;
};

// The entry of an enumeration's list that VALUE names: its number, its label or label(number).
std::int32_t chooseEntry(const ui::GridModel& grid, const std::string& value) {
    const auto& items = grid.ComboItems();
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& text = items[i].text;
        const auto label = std::string_view(text).substr(0, text.find('('));
        if (items[i].data == value || EqualsNoCase(text, value) || EqualsNoCase(label, value))
            return static_cast<std::int32_t>(i);
    }
    std::string known;
    for (const auto& item : items) known += (known.empty() ? "" : ", ") + item.text;
    throw UsageError("\"" + value + "\" is none of " + known);
}

// The row of the table whose index is `index`, or -1.
std::int32_t rowOf(const ui::GridModel& grid, const std::string& index) {
    for (std::int32_t r = 1; r < grid.getRows(); ++r)
        if (grid.getRowData(r).toString() == index) return r;
    return -1;
}

}  // namespace

const CommandRegistrar registrar("set", [](CLI::App& app, Action& selected) {
    auto options = std::make_shared<SetOptions>();
    auto* cmd = addCommand(app, "set", "Set an object instance on an agent and print the value read back", selected,
                           [options] {
        OID object;
        if (!lookUpInstance(object, options->oid))
            throw UsageError(options->oid + " is not in the MIB database");
        if (object.getAccess() != ACCESS_RW)
            throw UsageError(object.getName() + " is " + object.getAccessString() +
                             ", not read-write: nothing was sent");
        if (object.getIndex().empty())
            throw UsageError(options->oid + " names no instance (such as " + object.getName() + ".0)");

        auto& host = LiveHost::ForProcess();
        auto& table = host.make<MIBTable>();
        host.configure(table, *options);
        host.run(table, [&] { table.GetOIDList(object.getBaseOID()); });
        auto& grid = table.getTableObject();
        const auto row = rowOf(grid, object.getIndex());
        if (row < 0) {
            if (host.reportFailure(*options) == 0)
                std::cerr << "qlmib: " << options->agent << " has no instance " << object.getName() << '\n';
            return 1;
        }
        grid.Select(row, 1);
        if (!grid.EditCell(row, 1)) throw UsageError(object.getName() + " cannot be edited");
        if (grid.ComboItems().empty()) grid.setEditText(options->value);
        else grid.setComboIndex(chooseEntry(grid, options->value));

        const auto warnings = host.toolkit().Messages().size();
        host.run(table, [&] { grid.CommitEdit(); });
        writeText(std::cout, grid.getTextMatrix(row, 1));
        std::cout << '\n';
        if (host.reportFailure(*options) != 0) return 1;
        if (!table.getSetRefusal().empty())
            std::cerr << "qlmib: " << options->agent << " refused the value: " << table.getSetRefusal() << '\n';
        return host.toolkit().Messages().size() > warnings || !table.getSetRefusal().empty() ? 1 : 0;
    });
    addAgentOptions(*cmd, *options, true);
    cmd->add_option("oid", options->oid, "The instance: OID, NAME.INDEX or MODULE:NAME.INDEX")->required();
    cmd->add_option("value", options->value, "The new value; for an enumeration its label or number")->required();
});

}  // namespace qlmib::cli
