#pragma once
// A tree control over the MIB database that hosts also reach through
// MIBTreeCommon: what MIBTree and SingleMIBTree answer alike. They differ in
// how they fill the tree (Refresh) and load the path to an OID (loadPath).

#include <cstdint>
#include <memory>
#include <string>

#include "qlmib/tree/MIBTreeCommon.h"
#include "qlmib/tree/TreeControl.h"

namespace qlmib {

class CommonTreeControl : public TreeControl, public MIBTreeCommon {
public:
    void Clear() override { TreeControl::Clear(); }
    std::string getSelection() override { return getSelection(MIBSelection_Text); }
    std::string getSelection(MIBSelectionType SelectionType) { return selectionText(SelectionType); }
    std::shared_ptr<OID> getSelectedOID() override { return TreeControl::getSelectedOID(); }
    // Loads every missing level of the path to the OID, opens its ancestors
    // and makes its row current. An OID not in the database changes nothing.
    void SelectOID(const std::string& oid) override;
    ui::GridModel& getTable() override { return Tree; }
    void setDragMethod(MIBSelectionType NewDragMethod) override { dragMethod_ = NewDragMethod; }
    MIBSelectionType getDragMethod() const override { return dragMethod_; }
    // The full tree details as rich text.
    std::string GetOIDDetailsRTF(const OID& oid) override;
    bool getOIDsVisible() const override { return TreeControl::getOIDsVisible(); }
    void setOIDsVisible(bool Setting) override { TreeControl::setOIDsVisible(Setting); }
    void PopupOIDDetails(const std::string& oid) override { TreeControl::PopupOIDDetails(oid); }
    // Opens the search window with this control as its tree.
    void SearchMIBTree(bool Modal = false) override { openSearchWindow(this, Modal); }
    std::string getCurrentOIDDetailsRTF() override { return TreeControl::getCurrentOIDDetailsRTF(); }
    void setDetailsVisible(bool State) override { TreeControl::setDetailsVisible(State); }

protected:
    CommonTreeControl(ui::Toolkit& toolkit, std::string name, Style style)
        : TreeControl(toolkit, std::move(name), std::move(style)) {}

    std::string CommonOIDDetails(const OID& oid) override;
    // Loads the nodes on the way to the OID that are not in the grid yet.
    virtual void loadPath(const std::string& oid) = 0;
    // Loads the children of the OID's node (only the child numbered `index`
    // when it is above 0) and opens it. A node not in the grid yet is reached
    // through its ancestors, each loading all its children (`wholeLevels`) or
    // only the one on the way.
    void expandNode(const std::string& oid, std::int32_t index, bool wholeLevels);

private:
    void expandLevel(const std::string& oid, std::int32_t index, bool wholeLevels);
};

}  // namespace qlmib
