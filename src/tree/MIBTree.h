#pragma once
// The MIB tree control: the whole MIB database as one OID tree, loaded one
// level at a time as nodes open, above a details pane describing the
// current OID. A node that may have children carries one placeholder row
// (keyed "X:" + its key) until it is first opened. The tree is empty until
// Refresh. Thread affinity: the thread of its toolkit.

#include <memory>
#include <string>

#include "qlmib/mibdata/OID.h"
#include "qlmib/tree/CommonTreeControl.h"

namespace qlmib {

class Settings;

class MIBTree : public CommonTreeControl {
public:
    explicit MIBTree(ui::Toolkit& toolkit);

    // The SNMP settings every control of this thread shares.
    std::shared_ptr<Settings> getSettings();
    // The module that defines the selected OID.
    std::string getMIBName();
    // Shows the object's details in the details pane.
    void ShowOIDDetails(const OID& oid);
    // Empties the details, opens the database if need be and rebuilds the tree
    // from the roots, with iso, org, dod and internet open.
    void Refresh() override;
    // Loads the children of the OID's node and opens it, loading the node's
    // ancestors first when it is not in the grid yet.
    void ExpandOID(const std::string& oid);

private:
    void loadPath(const std::string& oid) override { ExpandOID(oid); }
    void showCurrentRow(const std::string& key) override;
    void dressNode(std::int32_t row, const TreeNodeRecord& record) override;
    void loadChildren(std::int32_t row) override;
    bool parentIsTable(const std::string& parentOID);

    OID parent_;  // the parent of the nodes being added, loaded once per run of siblings
    std::string parentOID_;
};

}  // namespace qlmib
