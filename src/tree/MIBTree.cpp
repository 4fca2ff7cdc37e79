#include "MIBTree.h"

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/snmp/Settings.h"

namespace qlmib {
namespace {

TreeControl::Style treeStyle() {
    TreeControl::Style style;
    style.pictures = {"table", "trap", "folder-closed", "key", "leaf", "folder-open", "arrow"};
    style.rootPicture = "folder-closed";
    return style;
}

std::string parentOf(const std::string& oid) {
    const auto dot = oid.rfind('.');
    return dot == std::string::npos ? std::string() : oid.substr(0, dot);
}

}  // namespace

MIBTree::MIBTree(ui::Toolkit& toolkit) : CommonTreeControl(toolkit, "MIBTree", treeStyle()) {}

std::shared_ptr<Settings> MIBTree::getSettings() { return Settings::Shared(); }

std::string MIBTree::getMIBName() { return getSelectedOID()->getMIB(); }

void MIBTree::ShowOIDDetails(const OID& oid) { showDetails(oid, DetailsLayout::Tree); }

void MIBTree::Refresh() {
    Details.Clear();
    OpenDatabase();
    IgnoringErrors([&] {
        ReadBatch batch(SharedDatabase());
        loadRootNodes();
        for (const char* oid : {"1", "1.3", "1.3.6", "1.3.6.1"}) ExpandOID(oid);
        Tree.Outline(4);
        // The outline opens every node above level 4; one whose children are
        // not loaded yet stays closed, so that opening it loads them.
        for (std::int32_t row = 1; row < Tree.getRows(); ++row)
            if (Tree.getRowKey(row).starts_with("X:")) Tree.setIsCollapsed(row - 1, true);
        for (const char* oid : {"1.2", "1.3.6.1", "0.0"}) ExpandOID(oid);
    });
}

void MIBTree::ExpandOID(const std::string& oid) { expandNode(oid, 0, true); }

bool MIBTree::parentIsTable(const std::string& parentOID) {
    if (parentOID != parentOID_) {
        parentOID_ = parentOID;
        parent_.setOID(parentOID);
    }
    return EqualsNoCase(parent_.getTypeString(), "SEQUENCE");
}

void MIBTree::dressNode(std::int32_t row, const TreeNodeRecord& record) {
    std::string picture = LookupIcon(record.oid);
    const bool customIcon = picture != kNoIcon;
    if (!customIcon) picture = KindPicture(record.type, parentIsTable(parentOf(record.oid)), true, "folder-closed");
    Tree.setCellPicture(row, 0, picture);
    if (!customIcon && (picture == "leaf" || picture == "trap")) return;
    // A node that may have children shows as closed with one placeholder child.
    addNode(row, picture == "folder-closed" ? "Loading ..." : "", "X:O:" + record.oid, "");
    Tree.setIsCollapsed(row, true);
}

void MIBTree::loadChildren(std::int32_t row) {
    const auto child = Tree.FirstChildRow(row);
    if (child < 0 || !Tree.getRowKey(child).starts_with("X")) return;
    Tree.RemoveItem(child);
    ExpandOID(Tree.getRowKey(row).substr(2));
}

void MIBTree::showCurrentRow(const std::string& key) {
    if (!key.starts_with("O:")) return;  // a placeholder
    const auto selected = getSelectedOID();
    selected->setOID(key.substr(2));
    markCurrentCell();
    ShowOIDDetails(*selected);
    SelectionChanged(*selected);
}

}  // namespace qlmib
