#include <iostream>
#include <memory>

#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/SingleMIBTree.h>

#include "CommandLine.h"
#include "ExportOption.h"
#include "HeadlessHost.h"
#include "TreeOutput.h"

namespace qlmib::cli {
namespace {

struct TreeArgs {
    std::string module, root;
    int depth = 0;
    int format = MIBSelection_MIBTree;
    ExportOption output;
};

// Opens every node of the subtree at `top` down to `depth` levels below it,
// as a user clicking each one would (which loads its children).
void openLevels(ui::GridModel& grid, std::int32_t top, int depth) {
    const auto base = grid.getRowOutlineLevel(top);
    auto end = grid.SubtreeEnd(top);
    for (auto row = top; row < end; ++row) {
        if (grid.getRowOutlineLevel(row) - base >= depth || !grid.getIsCollapsed(row) || !grid.HasChildren(row))
            continue;
        const auto before = grid.getRows();
        grid.ToggleNode(row);
        end += grid.getRows() - before;  // loading adds rows inside the subtree only
    }
}

std::string wholeTree(ui::Toolkit& toolkit, const TreeArgs& args) {
    MIBTree tree(toolkit);
    tree.Refresh();
    std::vector<std::string> tops;
    if (args.root.empty()) {
        tops = {"0", "1"};
    } else {
        const auto root = std::string(withoutLeadingDot(args.root));
        tree.SelectOID(root);
        if (tree.Tree.FindRow("O:" + root) < 0) throw UsageError(root + " is not in the MIB database");
        tops = {root};
    }
    for (const auto& top : tops) openLevels(tree.Tree, tree.Tree.FindRow("O:" + top), args.depth);
    SelectNodeRows(tree.Tree);
    return tree.getSelection(static_cast<MIBSelectionType>(args.format));
}

std::string moduleTree(ui::Toolkit& toolkit, const TreeArgs& args) {
    SingleMIBTree tree(toolkit);
    tree.setMIB(args.module);
    SelectNodeRows(tree.Tree);
    return tree.getSelection(static_cast<MIBSelectionType>(args.format));
}

int run(const TreeArgs& args) {
    HeadlessHost host;
    auto& toolkit = host.toolkit;
    const std::string text = args.module.empty() ? wholeTree(toolkit, args) : moduleTree(toolkit, args);
    if (args.output.requested())
        args.output.text(toolkit, text, args.module.empty() ? "MIB tree" : args.module);
    else
        writeText(std::cout, text);
    // A message (the database could not be opened) means the tree is not whole.
    return toolkit.Messages().empty() ? 0 : 1;
}

}  // namespace

const CommandRegistrar registrar("tree", [](CLI::App& app, Action& selected) {
    auto args = std::make_shared<TreeArgs>();
    auto* cmd = addCommand(app, "tree", "Print the MIB tree, or one module's tree, as text", selected,
                           [args] { return run(*args); });
    auto* module = cmd->add_option("--module", args->module, "Print the tree of this module only");
    cmd->add_option("--root", args->root, "Select this OID, loading the levels above it")->excludes(module);
    cmd->add_option("--depth", args->depth, "Open every node down to N levels below the root (default 0)")
        ->check(CLI::NonNegativeNumber)
        ->excludes(module);
    cmd->add_option("--format", args->format,
                    "Selection format: 0 text, 1 OIDs, 2 names and OIDs, 3 OIDs and names, 4 tree (default), "
                    "5 full names, 6 full names and OIDs, 7 OIDs and full names, 8 long names, 9 C defines, "
                    "10 VB constants")
        ->check(CLI::Range(0, 10));
    addExportOption(*cmd, args->output, false);
});

}  // namespace qlmib::cli
