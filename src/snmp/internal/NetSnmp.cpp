#include "NetSnmp.h"

#include <mutex>

namespace qlmib::snmp::internal {

// init_snmp is left out here. The community-based single-session API needs
// only what snmp_sess_init sets up itself (transports, request ids, default
// ports); init_snmp would add the USM security module, whose start-up seeds
// OpenSSL's random generator and reads its configuration. That alone cost
// about a millisecond, a fifth of a whole table download, so it waits for the
// first SNMPv3 session (Usm.cpp). Without it no MIB file, configuration file
// or persistent state is read either.
void InitNetSnmp() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Every failure reaches the caller as an answer. With no handler at all
        // net-snmp would fall back to printing on the host's standard output.
        netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_EMERG);
    });
}

}  // namespace qlmib::snmp::internal
