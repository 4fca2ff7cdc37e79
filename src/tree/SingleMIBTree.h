#pragma once
// The single-module tree control: the objects of one MIB module with only
// the branches that lead to them, loaded at once and shown open; ancestors
// from other modules are grey folders. Besides the tree it reads rows and
// OIDs back and deletes objects of its module from the database. Its own
// details are the short tree layout; through MIBTreeCommon it hands out the
// full one. Thread affinity: the thread of its toolkit.

#include <cstdint>
#include <memory>
#include <string>

#include "qlmib/tree/CommonTreeControl.h"
#include "qlmib/ui/Panel.h"

namespace qlmib {

class SingleMIBTree : public CommonTreeControl {
public:
    explicit SingleMIBTree(ui::Toolkit& toolkit);

    const std::string& getMIB() const { return module_; }
    // Stores the module name and loads its tree.
    void setMIB(const std::string& Name);
    const std::string& getMIBName() const { return module_; }
    const std::string& getModuleName() const { return module_; }

    // The grid's current row and column; setting clamps to the grid.
    std::int32_t getRow() const { return Tree.getRow(); }
    void setRow(std::int32_t Index);
    std::int32_t getCol() const { return Tree.getCol(); }
    void setCol(std::int32_t Index);
    // Selects every cell, the header row included.
    void SelectAll();

    // The short tree details (no units, no values list).
    std::string GetOIDDetails(const OID& oid);
    std::string GetOIDDetails_RTF(const OID& oid);
    // Empties the composition box and returns "": no MIB-X document is
    // attached to this control.
    std::string GetOIDDetails_MIBX(const std::string& oid);

    // Loads the module: the roots, then the path to each of its objects.
    void Refresh() override;
    // Loads the children of the OID's node (only the child numbered `Index`
    // when it is above 0), loading the branch to the node first.
    void ExpandOID(const std::string& oid, std::int32_t Index);
    // Whether the module defines the OID.
    bool OIDinMIB(const std::string& oid);
    // A new object looked up by the OID of the row.
    std::shared_ptr<OID> LookupOID(std::int32_t Row);
    // The OID of the row: its key without the "O:".
    std::string GetOIDbyRow(std::int32_t Row);
    // Deletes the module's row of the OID from the database.
    void DeleteOID(const std::string& oid);
    // Deletes the module's rows of every selected row's OID, all or none;
    // the grid stays as it is until the next Refresh.
    void DeleteSelectedMIBs();
    // Shows the shared search window without a tree.
    void SearchMIBTree();
    // Through MIBTreeCommon: the search window on this tree.
    void SearchMIBTree(bool Modal) override { CommonTreeControl::SearchMIBTree(Modal); }

    // Shown over the control while a module loads, with the rows loaded so far.
    ui::Panel StatusMessage{"StatusMessage"};

private:
    void loadPath(const std::string& oid) override { ExpandOID(oid, 0); }
    void showCurrentRow(const std::string& key) override;
    void dressNode(std::int32_t row, const TreeNodeRecord& record) override;
    std::string loadingCaption() const;

    std::string module_;
    Subscription resized_;
};

}  // namespace qlmib
