#include "AgentTarget.h"

#include <qlmib/snmp/LiveControl.h>

namespace qlmib::browser {

void AgentTarget::aim(LiveControl& control) const {
    control.setIP(agent);
    control.setTarget(agent);
    control.setCommunity(readCommunity);
    control.setSNMPVersion(version);
}

}  // namespace qlmib::browser
