#pragma once
// SNMPv3 user-based security on net-snmp: its lazy start-up, a session's
// security fields, localized keys and failures in words.

#include <string>

#include "NetSnmp.h"
#include "qlmib/snmp/UsmSecurity.h"

namespace qlmib::snmp::internal {

// The security fields of a session about to be opened. They point into
// `security`, which must outlive the open; passphrases become keys here.
// Returns "" or why the security cannot be used.
std::string ApplySecurity(netsnmp_session& session, const UsmSecurity& security);

// A failure reported by net-snmp's SNMPv3 layer (an SNMPERR_ code) in words,
// or "" when the code is not one of security.
std::string SecurityFailureText(int snmpError);

}  // namespace qlmib::snmp::internal
