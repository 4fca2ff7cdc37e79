#pragma once
// What the tree commands print: the selection text of a tree's node rows.

#include <qlmib/ui/GridModel.h>

namespace qlmib::cli {

// Selects every node row of a tree grid (not the header row), both columns.
inline void SelectNodeRows(ui::GridModel& tree) {
    if (tree.getRows() > tree.getFixedRows()) tree.Select(tree.getFixedRows(), 0, tree.getRows() - 1, 1);
}

}  // namespace qlmib::cli
