#pragma once
// The interface of the database-backed tree controls (MIBTree,
// SingleMIBTree): a host that may hold either talks to it through this, and
// the search window drives its tree through it. It carries no behaviour;
// each control forwards every member to its own member of the same name.
// Its Selection takes no format: a control implements getSelection() as its
// own getSelection(MIBSelection_Text), beside that overload with the format.
// The events are virtual bases so that a control deriving from this and from
// its own tree machinery has one set of them.

#include <memory>
#include <string>

#include "qlmib/tree/MIBSelectionType.h"
#include "qlmib/tree/MIBTreeEvents.h"

namespace qlmib {

class OID;
namespace ui {
class GridModel;
}

class MIBTreeCommon : public virtual MIBTreeEvents {
public:
    virtual ~MIBTreeCommon() = default;
    MIBTreeCommon(const MIBTreeCommon&) = delete;
    MIBTreeCommon& operator=(const MIBTreeCommon&) = delete;

    virtual void Clear() = 0;
    virtual void Refresh() = 0;
    // The selection in the MIBSelection_Text format.
    virtual std::string getSelection() = 0;
    // Never empty: the object is created on first use.
    virtual std::shared_ptr<OID> getSelectedOID() = 0;
    virtual void SelectOID(const std::string& oid) = 0;
    // The control's grid.
    virtual ui::GridModel& getTable() = 0;
    virtual void setDragMethod(MIBSelectionType NewDragMethod) = 0;
    virtual MIBSelectionType getDragMethod() const = 0;
    // Plain-text and rich-text details of an object. GetOIDDetails is not
    // virtual: SingleMIBTree's own member of that name composes a shorter
    // layout than the one it hands out through this interface.
    std::string GetOIDDetails(const OID& oid) { return CommonOIDDetails(oid); }
    virtual std::string GetOIDDetailsRTF(const OID& oid) = 0;
    // Whether the OID column is shown.
    virtual bool getOIDsVisible() const = 0;
    virtual void setOIDsVisible(bool Setting) = 0;
    // Opens a details window for the OID.
    virtual void PopupOIDDetails(const std::string& oid) = 0;
    // Opens the search window on this tree.
    virtual void SearchMIBTree(bool Modal = false) = 0;
    // The rich text the details pane shows now.
    virtual std::string getCurrentOIDDetailsRTF() = 0;
    // Opens or collapses the details pane.
    virtual void setDetailsVisible(bool State) = 0;

protected:
    MIBTreeCommon() = default;

    virtual std::string CommonOIDDetails(const OID& oid) = 0;
};

}  // namespace qlmib
