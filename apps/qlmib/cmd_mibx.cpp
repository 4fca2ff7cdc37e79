#include <iostream>
#include <memory>

#include <qlmib/mibx/MIBXTree.h>

#include "CommandLine.h"
#include "HeadlessHost.h"
#include "TreeOutput.h"

namespace qlmib::cli {
namespace {

struct MibxArgs {
    std::string file, details;
    int format = MIBSelection_MIBTree;
};

// The row of the file's object named `descriptor`, or -1.
std::int32_t objectRow(const ui::GridModel& tree, const std::string& descriptor) {
    for (std::int32_t row = tree.getFixedRows(); row < tree.getRows(); ++row)
        if (tree.getRowKey(row).starts_with("F:") && tree.getTextMatrix(row, 0).starts_with(descriptor + " ("))
            return row;
    return -1;
}

int run(const MibxArgs& args) {
    HeadlessHost host;
    auto& toolkit = host.toolkit;
    MIBXTree tree(toolkit);
    tree.setMIBXFilename(args.file);
    const bool complete = toolkit.Messages().empty();
    if (args.details.empty()) {
        SelectNodeRows(tree.Tree);
        writeText(std::cout, tree.getSelection(static_cast<MIBSelectionType>(args.format)));
        return complete ? 0 : 1;
    }
    const auto row = objectRow(tree.Tree, args.details);
    if (row < 0) throw UsageError(args.details + " is not an object of " + args.file);
    tree.Tree.setRow(row);
    writeText(std::cout, tree.Details.getText());
    return complete ? 0 : 1;
}

}  // namespace

const CommandRegistrar registrar("mibx", [](CLI::App& app, Action& selected) {
    auto args = std::make_shared<MibxArgs>();
    auto* cmd = addCommand(app, "mibx", "Print the tree of a MIB-X file, or an object's details, without importing it",
                           selected, [args] { return run(*args); });
    cmd->add_option("file", args->file, "The MIB-X file")->required();
    auto* format = cmd->add_option("--format", args->format, "Selection format 0-10 (default 4, the tree)")
                       ->check(CLI::Range(0, 10));
    cmd->add_option("--details", args->details, "Print the details of this object of the file")->excludes(format);
});

}  // namespace qlmib::cli
