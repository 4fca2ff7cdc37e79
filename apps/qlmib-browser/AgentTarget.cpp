#include "AgentTarget.h"

#include <qlmib/snmp/LiveControl.h>
#include <qlmib/snmp/Settings.h>

namespace qlmib::browser {

void AgentTarget::aim(LiveControl& control) const {
    control.setIP(agent);
    control.setTarget(agent);
    control.setCommunity(readCommunity);
    // Version 3 sends its requests as v2c does, under the user's security.
    control.setSNMPVersion(version == 1 ? 1 : 2);
    auto& engine = control.SNMP();
    engine.setSecurity(version == 3 ? security : snmp::UsmSecurity{});
    const auto settings = Settings::Shared();
    engine.setTimeout(timeout.value_or(settings->getSNMPTimeout()));
    engine.setRetries(retries.value_or(settings->getSNMPRetries()));
    control.setRequestSize(requestSize.value_or(0));
}

}  // namespace qlmib::browser
