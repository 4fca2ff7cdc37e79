#pragma once
// The SNMPv3 security of a saved agent for the next request: its saved keys,
// or, for a profile that keeps no secrets, the passphrases asked now.

#include <optional>
#include <string>

#include <qlmib/snmp/AgentProfiles.h>

class QWidget;

namespace qlmib::browser {

// Asks (masked) for each passphrase the profile's level needs and it does not
// hold as a key; nullopt when the user cancels.
std::optional<snmp::UsmSecurity> SecurityForRequest(const snmp::AgentProfile& profile, QWidget* parent);

}  // namespace qlmib::browser
