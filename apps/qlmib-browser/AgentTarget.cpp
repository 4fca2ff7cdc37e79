#include "AgentTarget.h"

#include <qlmib/snmp/LiveControl.h>

namespace qlmib::browser {

void AgentTarget::aim(LiveControl& control) const {
    control.setIP(agent);
    control.setTarget(agent);
    control.setCommunity(readCommunity);
    // Version 3 sends its requests as v2c does, under the user's security.
    control.setSNMPVersion(version == 1 ? 1 : 2);
    control.SNMP().setSecurity(version == 3 ? security : snmp::UsmSecurity{});
}

}  // namespace qlmib::browser
