#pragma once
// The four events that every tree control raises (MIBTree, SingleMIBTree
// and the MIB-X tree), with the same arguments.

#include <cstdint>

#include "qlmib/common/Event.h"

namespace qlmib {

class OID;

struct MIBTreeEvents {
    // A node without children was double-clicked; the control's SelectedOID.
    Event<OID& /*OID*/> OIDDoubleClick;
    // Every mouse-button press on the tree, after the control's own right-click handling.
    Event<std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/> MouseDown;
    // The current row moved to a row of an OID; SelectedOID already holds it.
    Event<OID& /*OID*/> SelectionChanged;
    // Every key press, before the control handles it; 0 swallows the key.
    Event<std::int16_t& /*KeyAscii*/> KeyPress;
};

}  // namespace qlmib
